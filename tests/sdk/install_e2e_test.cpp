// A game built outside the tree, as a game author builds one: the runtime installed to a
// fresh prefix, examples/template built against it with CMake, a one-file game built with
// g++ and pkg-config, and a fresh game made from the installed SDK alone (its template, an
// OBJ object converted by its qmdconvert, corvane_add_media); each runs under the recorder
// and its saved frame is read back.
#include <gtest/gtest.h>

#include <cctype>
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

// The runtime installed once for every test here; "" when the install failed.
const std::string& Prefix() {
    static const std::string prefix = [] {
        const std::string p = testsupport::MakeSubDir("sdk_prefix");
        auto install = Shell("cmake --install '" + kBin + "' --prefix '" + p + "'");
        EXPECT_EQ(install.exitCode, 0) << install.output;
        return install.exitCode == 0 ? p : std::string();
    }();
    return prefix;
}

// How many pixels of the picture are exactly rgb.
int Count(const DecodedImage& img, int rgb) {
    int n = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) n += Rgb(img, x, y) == rgb;
    return n;
}

TEST(SdkE2E, InstalledRuntimeBuildsTheTemplateAndAOneFileGame) {
    SKIP_WHEN_MISSING(!getenv("DISPLAY"), "needs a display");
    const std::string dir = testsupport::MakeSubDir("sdk");
    const std::string prefix = Prefix();
    ASSERT_FALSE(prefix.empty());
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
    // The ball is media/ball.png, which corvane_add_media put beside the game.
    EXPECT_GT(Count(t, 0x40C0F0), 200) << "the ball's picture";

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

// A cube of side 2 about the origin, faces counter-clockwise seen from outside.
constexpr const char* kCubeObj = R"(v -1 -1 -1
v 1 -1 -1
v 1 1 -1
v -1 1 -1
v -1 -1 1
v 1 -1 1
v 1 1 1
v -1 1 1
f 5 6 7 8
f 2 1 4 3
f 6 2 3 7
f 1 5 8 4
f 8 7 3 4
f 1 2 6 5
)";

// The fresh game: the cube, lit head on, in the middle, and the template's ball beside it.
constexpr const char* kFreshGame = R"(#include "corvane.h"
void GameMain() {
    const double cube = ObjectLoad("media/cube.qmd", 1);
    SpriteLoad("media/ball.png", 1);
    for (;;) {
        RectDraw(0, 0, 640, 480, 0x000000);
        View3DStart(1, 100, 45);
        CameraSet(0, 0, 6, 0, 0, 0);
        LightSet(0, 0, 0, 1, 0);
        LightColourSet(0, 0xFFFFFF, 0x000000);
        CullModeSet(-1);
        if (cube != 0) ObjectDraw(1, 0);
        View3DEnd();
        SpriteDraw(1, 20, 20);
        FramePresent();
    }
}
)";

TEST(SdkE2E, AFreshGameFromTheInstalledSdkAloneBuildsAndRuns) {
    SKIP_WHEN_MISSING(!getenv("DISPLAY"), "needs a display");
    const std::string prefix = Prefix();
    ASSERT_FALSE(prefix.empty());
    const std::string share = prefix + "/share/corvane";
    for (const char* f :
         {"/docs/README.md", "/docs/commands.md", "/docs/qmd.md", "/template/CMakeLists.txt",
          "/template/media/ball.png", "/examples/CMakeLists.txt", "/examples/object3d.cpp",
          "/examples/media/crystal.qmd", "/examples/art/credits.txt"})
        EXPECT_TRUE(testsupport::FileExists(share + f)) << f;
    // No path of this build tree in the installed library (its objects name their sources
    // relative to the tree). A sanitized build is no SDK: the address sanitizer names each
    // object's source by the path the compiler was given, which no prefix map reaches.
#ifndef CORVANE_TEST_SANITIZED
    EXPECT_EQ(testsupport::ReadFile(prefix + "/lib/libcorvane.a").find(kSrc), std::string::npos);
#endif

    // The game: the installed template, a cube converted by the installed qmdconvert into its
    // media folder, its game.cpp rewritten; built by the template's own CMakeLists.txt.
    const std::string dir = testsupport::MakeSubDir("sdk_fresh");
    const std::string game = dir + "/my_cube_game";
    ASSERT_TRUE(testsupport::WriteFile(dir + "/cube.obj", kCubeObj));
    auto make = Shell("cp -R '" + share + "/template' '" + game + "' && '" + prefix +
                      "/bin/qmdconvert' -c 40,200,80 -o '" + game + "/media/cube.qmd' '" + dir +
                      "/cube.obj'");
    ASSERT_EQ(make.exitCode, 0) << make.output;
    ASSERT_TRUE(testsupport::WriteFile(game + "/game.cpp", kFreshGame));
    auto cm =
        Shell("cmake -S '" + game + "' -B '" + game + "/build' -G Ninja -DCMAKE_PREFIX_PATH='" +
              prefix + "' && cmake --build '" + game + "/build'");
    ASSERT_EQ(cm.exitCode, 0) << cm.output;
    ASSERT_TRUE(testsupport::FileExists(game + "/build/media/cube.qmd"));
    // Run from elsewhere: the game changes into its own folder and finds media/ there.
    const DecodedImage g = Frame20(game + "/build/my_game", testsupport::MakeSubDir("f_shot"));
    ASSERT_EQ(g.width, 640);
    const uint8_t* mid = g.Pixel(320, 240);
    EXPECT_NEAR(mid[0], 40, 6) << "the cube's front face, lit head on";
    EXPECT_NEAR(mid[1], 200, 6);
    EXPECT_NEAR(mid[2], 80, 6);
    EXPECT_EQ(Rgb(g, 600, 240), 0x000000) << "beside the cube";
    EXPECT_GT(Count(g, 0x40C0F0), 200) << "the ball";

    // A media folder that is not there stops the configure, naming it.
    testsupport::MakeSubDir("sdk_fresh/typo");
    ASSERT_TRUE(testsupport::WriteFile(
        dir + "/typo/CMakeLists.txt",
        "cmake_minimum_required(VERSION 3.20)\nproject(typo CXX)\nfind_package(Corvane "
        "REQUIRED)\nadd_executable(g " +
            game +
            "/game.cpp)\n"
            "target_link_libraries(g PRIVATE Corvane::corvane)\ncorvane_add_media(g medai)\n"));
    auto typo = Shell("cmake -S '" + dir + "/typo' -B '" + dir +
                      "/typo/build' -G Ninja "
                      "-DCMAKE_PREFIX_PATH='" +
                      prefix + "'");
    EXPECT_NE(typo.exitCode, 0);
    // CMake wraps the message onto indented lines: compare with the spacing undone.
    std::string said;
    for (char c : typo.output)
        if (!(isspace(static_cast<unsigned char>(c)) && !said.empty() && said.back() == ' '))
            said += isspace(static_cast<unsigned char>(c)) ? ' ' : c;
    EXPECT_NE(said.find("corvane_add_media: " + dir + "/typo/medai is not a folder"),
              std::string::npos)
        << typo.output;

    // The installed examples build against the installation; the archive example's media is
    // packed by the installed sbxpack (corvane_add_media ... PACK).
    const std::string ex = dir + "/examples";
    auto exb =
        Shell("cmake -S '" + share + "/examples' -B '" + ex + "' -G Ninja -DCMAKE_PREFIX_PATH='" +
              prefix + "' && cmake --build '" + ex + "' --target example_media_archive && '" +
              prefix + "/bin/sbxpack' list '" + ex + "/art.sbx'");
    ASSERT_EQ(exb.exitCode, 0) << exb.output;
    EXPECT_NE(exb.output.find("credits.txt"), std::string::npos) << exb.output;
    EXPECT_TRUE(testsupport::FileExists(ex + "/media/crystal.qmd")) << "example_hello's media";
}

}  // namespace
