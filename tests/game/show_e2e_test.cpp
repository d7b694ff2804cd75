// The built show run from a copy of its folder: a missing map ends it with runtime error 9
// through the end path; missing pictures, fonts and music leave the fall-backs and the show
// goes on.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "tests/game/show_folder.h"

namespace {

// Runs the show with its trace on until its output holds needle, it exits, or the deadline
// passes; a show still running then is killed.
struct TraceRun {
    std::string output;
    bool found = false;
    int exitCode = -1;  // -1 while running when it was stopped
};
TraceRun RunUntil(const std::string& dir, const std::string& needle, int deadlineSeconds) {
    TraceRun r;
    testsupport::ProgramProcess show(dir + "/zan3", {}, {"ZAN3_TRACE=1"});
    testsupport::PollUntil(
        [&] { return show.Output().find(needle) != std::string::npos || !show.Running(); },
        deadlineSeconds * 1000);
    const bool exited = !show.Running();
    r.output = show.Output();
    r.found = r.output.find(needle) != std::string::npos;
    if (exited) r.exitCode = show.ExitCode();
    return r;  // the show, if it still runs, is killed here
}

TEST(ShowRun, MissingMapEndsWithRuntimeErrorNine) {
    const std::string dir =
        showtest::ShowFolder("no_map", {"Lucida Console 112x88.png", "Splash 480x240.png",
                                        "image 1.2.png", "image 2.2.png", "map.png"});
    const TraceRun r = RunUntil(dir, "StageMapOn", 90);
    // The intro plays, the first show frame loads the map and the end path exits with 9.
    EXPECT_NE(r.output.find("ShowStart"), std::string::npos) << r.output;
    EXPECT_FALSE(r.found) << r.output;
    EXPECT_EQ(r.exitCode, 9) << r.output;
}

TEST(ShowRun, MissingPicturesFontsAndMusicLeaveTheFallBacks) {
    const std::string dir = showtest::ShowFolder("map_only", {"map.txt"});
    const TraceRun r = RunUntil(dir, "StageItemsOn", 120);
    EXPECT_TRUE(r.found) << r.output;
    EXPECT_EQ(r.exitCode, -1) << "the show ended early:\n" << r.output;
}

}  // namespace
