// Saying why a load command found no file. The lookup itself only answers found or not; a
// game author needs the name, the reason, and (for a game started in the wrong folder) where
// names were looked for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/diagnostics.h"

// Why the file at name cannot be had straight from disk: "no file name given", "no such
// file", "not a readable file" (a folder, no permission), or "larger than ... bytes" when it
// is bigger than limit; "" when it can be read.
std::string FileProblem(const std::string& name, size_t limit);

// A load command's failure with a file: "<command>: <name>: <why>" (a warning unless told),
// said once per command, name and reason however often the load is repeated.
void LoadFailureReport(std::string_view command, const std::string& name, std::string_view why,
                       DiagLevel level = DiagLevel::Warning);

// The media lookup (MediaRead, MediaResolve; MusicResolve when music) gave nothing for name:
// the failure as above, with the reason read from the disk. The first time in the run that a
// relative name is missing, one more line says which folder and which archive were searched.
void MediaMissingReport(std::string_view command, const std::string& name, bool music = false);

// The same for a file read straight from disk (no archive); relative names get the folder.
void DiskMissingReport(std::string_view command, const std::string& name, size_t limit,
                       DiagLevel level = DiagLevel::Warning);
