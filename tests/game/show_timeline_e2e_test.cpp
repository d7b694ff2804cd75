// The whole show under the fixed-step clock: its timeline frame by frame, and the same
// pictures whether its media come as loose files or from the archive alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "gfx/decoded_image.h"
#include "gfx/png_io.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

// A copy of build/zan3 with the named files of media/ beside it.
std::string ShowFolder(const std::string& name, std::initializer_list<const char*> media) {
    const std::string dir = testsupport::MakeSubDir(name);
    fs::copy_file(std::string(CORVANE_TEST_BIN_DIR) + "/zan3", dir + "/zan3");
    fs::create_directory(dir + "/media");
    for (const char* m : media)
        fs::copy_file(std::string(CORVANE_SOURCE_DIR) + "/media/" + m, dir + "/media/" + m);
    return dir;
}

testsupport::RunResult RunShow(const std::string& dir, const std::string& shots, long framesMax) {
    std::vector<std::string> env = {"CORVANE_FIXED_STEP=1", "ZAN3_TRACE=1", "SDL_AUDIODRIVER=dummy",
                                    "CORVANE_SHOTS=" + shots, "CORVANE_SHOT_DIR=" + dir};
    if (framesMax > 0) env.push_back("CORVANE_FRAMES_MAX=" + std::to_string(framesMax));
    return testsupport::RunProgram(dir + "/zan3", {}, env, dir, 280000);
}

DecodedImage Shot(const std::string& dir, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", frame);
    const std::string png = testsupport::ReadFile(dir + name);
    DecodedImage img;
    PngDecode(reinterpret_cast<const uint8_t*>(png.data()), png.size(), name, -1, 4096, img);
    return img;
}

const std::initializer_list<const char*> kAllMedia = {"Lucida Console 112x88.png",
                                                      "Splash 480x240.png",
                                                      "image 1.2.png",
                                                      "image 2.2.png",
                                                      "circle 2.png",
                                                      "circle 3.png",
                                                      "map.png",
                                                      "map.txt",
                                                      "music.mp3"};

}  // namespace

TEST(ShowTimelineE2E, EveryStageLandsOnItsFrameAndTheShowEndsItself) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs a display";
    const std::string dir = ShowFolder("timeline", kAllMedia);
    auto r = RunShow(dir, "2000", 0);
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.output.substr(r.output.size() > 2000 ? r.output.size() - 2000
                                                                       : 0);
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
    std::istringstream lines(r.output);
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
    DecodedImage img = Shot(dir, 2000);
    ASSERT_EQ(img.width, 640);
    int left = img.width, right = -1;
    for (int y = 40; y < 420; ++y)
        for (int x = 0; x < img.width; ++x) {
            const uint8_t* p = &img.pixels[(size_t(y) * img.width + x) * 4];
            if (p[0] + p[1] + p[2] > 60) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    ASSERT_GT(right, left);
    EXPECT_NEAR(left, img.width - 1 - right, 2) << left << ".." << right;
}

TEST(ShowTimelineE2E, TheArchiveAloneGivesTheSamePictures) {
    if (!HaveDisplay()) GTEST_SKIP() << "needs a display";
    const std::string loose = ShowFolder("loose", kAllMedia);
    const std::string packed = ShowFolder("packed", {"shoebox.sbx"});
    for (const std::string& dir : {loose, packed}) {
        auto r = RunShow(dir, "300,1300,2000", 2000);
        ASSERT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, 0) << dir;
    }
    for (int frame : {300, 1300, 2000}) {
        DecodedImage a = Shot(loose, frame), b = Shot(packed, frame);
        ASSERT_EQ(a.width, 640) << frame;
        EXPECT_TRUE(a.pixels == b.pixels) << "frame " << frame;
    }
}
