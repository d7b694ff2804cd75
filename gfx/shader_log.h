// A GLSL compiler's or linker's info log turned into diagnostics lines that name the file.
#pragma once

#include <string>
#include <vector>

#include "runtime/diagnostics.h"

struct ShaderLogLine {
    DiagLevel level = DiagLevel::Error;
    std::string text;
    bool operator==(const ShaderLogLine&) const = default;
};

// Every non-empty line of log, about file: a line whose source position can be read
// ("0:2(1): error: syntax error, ..." from Mesa, "ERROR: 0:2: ..." and "0(2) : error C0000:
// ..." from other drivers) becomes "file:2: syntax error, ..." at its own level (error or
// warning); "error: text" becomes "file: text"; any other line is kept whole after "file: ",
// as an error.
std::vector<ShaderLogLine> ShaderLogLines(const std::string& file, const std::string& log);
