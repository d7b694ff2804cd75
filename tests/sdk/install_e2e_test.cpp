// A game built outside the tree, as a game author builds one: the runtime installed to a
// fresh prefix, examples/template built against it with CMake, and a one-file game built
// with g++ and pkg-config; each runs under the recorder and its saved frame is read back.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gfx/decoded_image.h"
#include "gfx/png_io.h"
#include "support/test_support.h"

namespace {

const std::string kBin = CORVANE_TEST_BIN_DIR;
const std::string kSrc = CORVANE_SOURCE_DIR;

testsupport::RunResult Shell(const std::string& command) {
    return testsupport::RunProgram("/bin/sh", {"-c", command}, {}, "", 240000);
}

// Runs a game until frame 20 and returns that frame.
DecodedImage Frame20(const std::string& exe, const std::string& shotDir) {
    auto r = testsupport::RunProgram(
        exe, {},
        {"CORVANE_FIXED_STEP=1", "CORVANE_SHOTS=20", "CORVANE_SHOT_DIR=" + shotDir,
         "CORVANE_FRAMES_MAX=20", "SDL_AUDIODRIVER=dummy"},
        "", 60000);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    const std::string png = testsupport::ReadFile(shotDir + "/frame_000020.png");
    DecodedImage img;
    EXPECT_TRUE(
        PngDecode(reinterpret_cast<const uint8_t*>(png.data()), png.size(), "shot", -1, 4096, img))
        << exe;
    return img;
}

int Rgb(const DecodedImage& img, int x, int y) {
    const uint8_t* p = img.Pixel(x, y);
    return p[0] << 16 | p[1] << 8 | p[2];
}

// The one-file game: its own core/ folder holds a header of the same name as ours, which
// must not be the one corvane.h reaches.
constexpr const char* kOneFileGame = R"(#include "corvane.h"
void GameMain() {
    for (;;) {
        RectDraw(0, 0, 640, 480, 0x000000);
        RectDraw(100, 100, 50, 40, 0x3080F0);
        FramePresent();
    }
}
)";

TEST(SdkE2E, InstalledRuntimeBuildsTheTemplateAndAOneFileGame) {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
    const std::string dir = testsupport::MakeSubDir("sdk");
    const std::string prefix = dir + "/prefix";
    auto install = Shell("cmake --install '" + kBin + "' --prefix '" + prefix + "'");
    ASSERT_EQ(install.exitCode, 0) << install.output;
    for (const char* f :
         {"/include/corvane/corvane.h", "/include/corvane/core/rt_string.h", "/bin/sbxpack"})
        EXPECT_TRUE(testsupport::FileExists(prefix + f)) << f;

    // CMake: find_package(Corvane) from the template's own folder.
    auto cm = Shell("cmake -S '" + kSrc + "/examples/template' -B '" + dir +
                    "/template' -G Ninja -DCMAKE_PREFIX_PATH='" + prefix + "' && cmake --build '" +
                    dir + "/template'");
    ASSERT_EQ(cm.exitCode, 0) << cm.output;
    const DecodedImage t = Frame20(dir + "/template/my_game", testsupport::MakeSubDir("t_shot"));
    ASSERT_EQ(t.width, 640);
    EXPECT_EQ(Rgb(t, 5, 470), 0x302010) << "the border (colours are blue-green-red)";
    EXPECT_EQ(Rgb(t, 30, 450), 0x604020) << "the court";

    // pkg-config: one g++ line.
    testsupport::MakeSubDir("sdk/game");
    testsupport::MakeSubDir("sdk/game/core");
    ASSERT_TRUE(testsupport::WriteFile(dir + "/game/game.cpp", kOneFileGame));
    ASSERT_TRUE(testsupport::WriteFile(dir + "/game/core/rt_string.h", "#error the game's own\n"));
    auto gxx = Shell("cd '" + dir + "/game' && PKG_CONFIG_PATH='" + prefix +
                     "/lib/pkgconfig' g++ -I. game.cpp -o game $(PKG_CONFIG_PATH='" + prefix +
                     "/lib/pkgconfig' pkg-config --cflags --libs corvane)");
    ASSERT_EQ(gxx.exitCode, 0) << gxx.output;
    const DecodedImage g = Frame20(dir + "/game/game", testsupport::MakeSubDir("g_shot"));
    ASSERT_EQ(g.width, 640);
    EXPECT_EQ(Rgb(g, 120, 120), 0xF08030);
    EXPECT_EQ(Rgb(g, 99, 120), 0x000000);
}

}  // namespace
