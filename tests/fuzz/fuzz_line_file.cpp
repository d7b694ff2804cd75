// Line files: any text read into the slots and written back must read back to the same
// lines and tail (a value the reader produced is one the file keeps).
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/line_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LineFileCache first;
    LineFileFill(first, std::string(reinterpret_cast<const char*>(data), size));
    const std::string text = LineFileText(first);
    LineFileCache second;
    LineFileFill(second, text);
    if (second.lastLine != first.lastLine || second.tail != first.tail) __builtin_trap();
    for (int i = 0; i <= first.lastLine; ++i) {
        if (first.lines[static_cast<size_t>(i)] != second.lines[static_cast<size_t>(i)])
            __builtin_trap();
    }
    return 0;
}
