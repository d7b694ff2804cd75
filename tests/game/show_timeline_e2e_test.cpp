// The whole show under the fixed-step clock: its timeline frame by frame (read from the shared
// whole-show run), and the same pictures whether its media come as loose files or from the
// archive alone.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "support/frame_shots.h"
#include "tests/game/show_folder.h"
#include "tests/game/whole_show.h"

namespace {

using showtest::ShowFolder;
using testsupport::HaveDisplay;

testsupport::RunResult RunShow(const std::string& dir, const std::string& shots, long framesMax) {
    return testsupport::RunRecorded(dir + "/zan3", dir, dir, shots, framesMax, {"ZAN3_TRACE=1"},
                                    280000);
}

testsupport::Picture Shot(const std::string& dir, int frame) {
    return testsupport::ShotLoad(dir, frame);
}

}  // namespace

TEST(ShowTimelineE2E, EveryStageLandsOnItsFrameAndTheShowEndsItself) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const showtest::WholeShowRun& show = showtest::WholeShow();
    const std::string& dir = show.dir;
    EXPECT_TRUE(show.endedItself) << show.trace.substr(
        show.trace.size() > 2000 ? show.trace.size() - 2000 : 0);
    // 100 dark frames, a 454-frame intro, the stages at their ShowFrame (ShowFrame 1 is the
    // intro's last frame, 554), the curtain closed 67 frames after the end stage, the
    // 860-frame banner, the end 50 frames after the ticker's last line.
    const std::map<std::string, long> want = {
        {"LogoStart", 101},       {"ShowStart", 554},        {"StageMapOn", 653},
        {"StageItemsOn", 953},    {"StageBlinkersOn", 1153}, {"StageLettersOn", 1353},
        {"StagePortalsOn", 1553}, {"StageQuakeOn", 1753},    {"StageEffectsOn", 1953},
        {"StageEnd", 5053},       {"CurtainClosed", 5119},   {"BannerDone", 5978},
        {"ProgramEnd", 6212}};
    std::map<std::string, long> got;
    std::istringstream lines(show.trace);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string tag, event;
        long frame = 0;
        if (words >> tag >> frame >> event && tag == "frame") got[event] = frame;
    }
    for (const auto& [event, frame] : want) EXPECT_EQ(got[event], frame) << event;
    std::printf("the show ended at frame %ld\n", got["ProgramEnd"]);

    // The map stands centred: as much black to its left as to its right.
    testsupport::Picture img = Shot(dir, 2000);
    ASSERT_EQ(img.width, 640);
    int left = img.width, right = -1;
    for (int y = 40; y < 420; ++y)
        for (int x = 0; x < img.width; ++x) {
            const testsupport::Rgb p = img.At(x, y);
            if (p.r + p.g + p.b > 60) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    ASSERT_GT(right, left);
    EXPECT_NEAR(left, img.width - 1 - right, 2) << left << ".." << right;
}

TEST(ShowTimelineE2E, TheArchiveAloneGivesTheSamePictures) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    // The loose files: the whole-show run, which saved these frames too.
    const showtest::WholeShowRun& show = showtest::WholeShow();
    ASSERT_TRUE(show.endedItself);
    const std::string& loose = show.dir;
    const std::string packed = ShowFolder("packed", {"shoebox.sbx"});
    auto r = RunShow(packed, "300,1300,2000", 2000);
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << packed;
    for (int frame : {300, 1300, 2000}) {
        testsupport::Picture a = Shot(loose, frame), b = Shot(packed, frame);
        ASSERT_EQ(a.width, 640) << frame;
        EXPECT_TRUE(a.rgba == b.rgba) << "frame " << frame;
    }
}
