// Helpers for tests that run a built program under the frame recorder and read its saved
// frames back by pixels.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace testsupport {

// True when a display is set (the programs need a window).
bool HaveDisplay();

struct Rgb {
    int r = 0, g = 0, b = 0;
};

// A picture read back from a PNG file: RGBA, row 0 at the top. Width 0 when it could not be
// read.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    bool Empty() const { return width == 0; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Outside the picture: black with alpha 0.
    Rgb At(int x, int y) const;
    int Alpha(int x, int y) const;
    int Grey(int x, int y) const;
};

Picture PictureLoad(const std::string& path);

// The recorder's name for frame n in folder dir ("dir/frame_000042.png").
std::string ShotPath(const std::string& dir, long frame);
Picture ShotLoad(const std::string& dir, long frame);

// A fresh folder under TempDir() holding a copy of the program and the given files: pairs of
// (source path, path relative to the folder; folders on the way are made). Returns the
// folder.
std::string ProgramFolder(const std::string& name, const std::string& program,
                          const std::vector<std::pair<std::string, std::string>>& files = {});

// Runs program from folder cwd under the fixed-step clock with SDL's dummy audio driver,
// saving the frames in shots ("2,30-32") into shotDir and ending at frame framesMax (0: the
// program ends by itself). extraEnv entries come last, so they win.
RunResult RunRecorded(const std::string& program, const std::string& cwd,
                      const std::string& shotDir, const std::string& shots, long framesMax,
                      const std::vector<std::string>& extraEnv = {}, int timeoutMs = 60000);

}  // namespace testsupport
