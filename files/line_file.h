// The line file: one text file of up to 256 lines cached by line number, written back when
// another file is named and at shutdown.
#pragma once

#include <string>
#include <vector>

constexpr int kLineFileSlots = 256;
constexpr size_t kLineSlotMax = 1023;

struct LineFileCache {
    std::string fileName;   // as the program named it; empty when none
    std::string writePath;  // the same, pinned to the folder it was named in
    std::vector<std::string> lines = std::vector<std::string>(kLineFileSlots);
    int lastLine = -1;
    bool changed = false;
    std::string tail;  // the file's bytes after line 256, kept so a write-back loses nothing
};

// Splits file text into the cache (lines 0..255, the rest into tail).
void LineFileFill(LineFileCache& cache, const std::string& text);
// The file text of the cache: lines 0..lastLine with CR LF, then the kept tail.
std::string LineFileText(const LineFileCache& cache);

// Makes name the cached file (writing the old one back first); false when it cannot be read.
bool LineFileSelect(const std::string& name);
void LineFileWriteBack();
LineFileCache& LineFileRuntime();
