// A command line split into a program and its arguments the way a POSIX shell splits words
// and quotes, without running a shell (so nothing in the text is ever executed).
#pragma once

#include <string>
#include <vector>

// Blanks separate words; '...' keeps everything literally; "..." keeps everything but
// \" \\ \$ \` (whose backslash goes); a backslash outside quotes keeps the next character.
// False for an unterminated quote or a trailing backslash.
bool CommandWordsSplit(const std::string& line, std::vector<std::string>& words);
