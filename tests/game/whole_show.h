// One run of the whole show under the fixed-step clock, shared by the checks that read its
// frames and its trace: ctest records it once (ShowRecording, a fixture the checks require)
// into the build folder, and the checks read what it left there. A check run on its own
// records the show first when no recording of the current build/zan3 is there.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "support/frame_shots.h"

namespace showtest {

// Every frame a check reads from the whole show.
inline constexpr const char* kWholeShowShots =
    "300,576-596,740-760,850,1300,1600,1650,1700,1850,1900,1950,1990-1998,2000,2144-2150,"
    "5250,5550";

inline const std::initializer_list<const char*> kAllMedia = {"Lucida Console 112x88.png",
                                                             "Splash 480x240.png",
                                                             "image 1.2.png",
                                                             "image 2.2.png",
                                                             "circle 2.png",
                                                             "circle 3.png",
                                                             "map.png",
                                                             "map.txt",
                                                             "music.mp3"};

inline std::string WholeShowDir() {
    return std::string(CORVANE_TEST_BIN_DIR) + "/whole_show";
}

// What the recording was made from: the program's build time and the frames asked for.
inline std::string WholeShowStamp() {
    const auto built =
        std::filesystem::last_write_time(std::string(CORVANE_TEST_BIN_DIR) + "/zan3");
    return std::to_string(built.time_since_epoch().count()) + " " + kWholeShowShots;
}

// Runs the show from a fresh copy of its folder to its own end with its trace on; the trace
// goes to trace.txt, and recorded.txt is written only when the show ended itself with 0.
inline testsupport::RunResult RecordWholeShow() {
    namespace fs = std::filesystem;
    const fs::path dir = WholeShowDir();
    fs::remove_all(dir);
    fs::create_directories(dir / "media");
    fs::copy_file(std::string(CORVANE_TEST_BIN_DIR) + "/zan3", dir / "zan3");
    for (const char* m : kAllMedia)
        fs::copy_file(std::string(CORVANE_SOURCE_DIR) + "/media/" + m, dir / "media" / m);
    const std::string d = dir.string();
    auto r =
        testsupport::RunRecorded(d + "/zan3", d, d, kWholeShowShots, 0, {"ZAN3_TRACE=1"}, 280000);
    testsupport::WriteFile(d + "/trace.txt", r.output);
    if (!r.timedOut && r.exitCode == 0)
        testsupport::WriteFile(d + "/recorded.txt", WholeShowStamp());
    return r;
}

struct WholeShowRun {
    std::string dir;
    std::string trace;         // the show's output: its trace lines
    bool endedItself = false;  // ended with 0 before the deadline
};

inline const WholeShowRun& WholeShow() {
    static const WholeShowRun run = [] {
        WholeShowRun w;
        w.dir = WholeShowDir();
        if (testsupport::ReadFile(w.dir + "/recorded.txt") != WholeShowStamp()) RecordWholeShow();
        w.trace = testsupport::ReadFile(w.dir + "/trace.txt");
        w.endedItself = testsupport::ReadFile(w.dir + "/recorded.txt") == WholeShowStamp();
        return w;
    }();
    return run;
}

}  // namespace showtest
