// The file requester's filter text: pairs of description and pattern list, all separated
// by '|' ("Pictures|*.png;*.bmp|All files|*.*").
#pragma once

#include <string>
#include <vector>

#include "platform/file_chooser.h"

// The longest filter text taken: the rest of a 1,024-byte list after its two terminators.
constexpr size_t kRequesterFilterMax = 1022;

// The pairs of the filter (cut at kRequesterFilterMax bytes); a description without its
// pattern is dropped. Patterns are split at ';', and "*.*" (every file, dot or not) becomes
// "*".
std::vector<platform::FileFilter> RequesterFilterParse(const std::string& filter);
