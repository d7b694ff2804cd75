// The media generator: two runs give the same bytes, and the pictures have the shapes their
// loaders expect (font grids, the tile sheet's pitch, logos that fit the intro).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/test_support.h"

namespace {

using testsupport::ReadFile;
using testsupport::RunProgram;

const std::string kTool = std::string(CORVANE_TEST_BIN_DIR) + "/make_media";

bool PngSize(const std::string& bytes, uint32_t& w, uint32_t& h) {
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return false;
    auto be = [&](size_t o) {
        return (uint32_t(uint8_t(bytes[o])) << 24) | (uint32_t(uint8_t(bytes[o + 1])) << 16) |
               (uint32_t(uint8_t(bytes[o + 2])) << 8) | uint32_t(uint8_t(bytes[o + 3]));
    };
    w = be(16);
    h = be(20);
    return true;
}

TEST(MakeMedia, DeterministicAndShapedForTheLoaders) {
    SKIP_WHEN_MISSING(!testsupport::FileExists(kTool), "built without FreeType");
    const std::string a = testsupport::MakeSubDir("media_a"),
                      b = testsupport::MakeSubDir("media_b");
    for (const std::string& dir : {a, b}) {
        const auto r = RunProgram(kTool, {dir}, {}, "", 120000);
        ASSERT_EQ(r.exitCode, 0) << r.output;
    }
    struct Case {
        const char* file;
        uint32_t w, h;  // 0: any
    };
    const Case cases[] = {
        {"Lucida Console 112x88.png", 112, 88},
        {"Splash 480x240.png", 480, 240},
        {"map.png", 330, 264},  // 15 x 12 tiles on the 22-pixel pitch
        {"image 1.2.png", 0, 0},
        {"image 2.2.png", 0, 0},
        {"circle 2.png", 0, 0},
        {"circle 3.png", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = ReadFile(a + "/" + c.file);
        EXPECT_EQ(bytes, ReadFile(b + "/" + c.file));
        uint32_t w = 0, h = 0;
        ASSERT_TRUE(PngSize(bytes, w, h));
        if (c.w) {
            EXPECT_EQ(w, c.w);
            EXPECT_EQ(h, c.h);
        }
        // The largest logo copy (zoom 4.3, turned by up to 23 degrees) stays in 640 x 480.
        if (std::string(c.file).rfind("image", 0) == 0) {
            EXPECT_LE(4.3 * (w * 0.921 + h * 0.391), 640) << w << "x" << h;
            EXPECT_LE(4.3 * (w * 0.391 + h * 0.921), 480) << w << "x" << h;
        }
    }
    EXPECT_EQ(ReadFile(a + "/map.txt"), ReadFile(b + "/map.txt"));
    const std::string music = ReadFile(a + "/music.mp3");
    EXPECT_EQ(music, ReadFile(b + "/music.mp3"));
    // About the show's length at 112 kbit/s.
    EXPECT_GT(music.size(), 100u * 112000 / 8);
    EXPECT_LT(music.size(), 115u * 112000 / 8);
}

}  // namespace
