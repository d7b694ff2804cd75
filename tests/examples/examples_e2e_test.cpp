// The examples run as a newcomer would run them, under the frame recorder, and one or two of
// their frames read back by pixels: each check is something the example exists to show.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "support/frame_shots.h"
#include "support/test_support.h"

namespace {

using testsupport::Picture;
using testsupport::Rgb;

std::string ExampleDir() {
    return std::string(CORVANE_TEST_BIN_DIR) + "/examples";
}
std::string Example(const std::string& name) {
    return ExampleDir() + "/example_" + name;
}

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}
Rgb Sum(const Rgb& a, const Rgb& b) {
    return {std::min(255, a.r + b.r), std::min(255, a.g + b.g), std::min(255, a.b + b.b)};
}
Rgb Mean(const Rgb& a, const Rgb& b) {
    return {(a.r + b.r) / 2, (a.g + b.g) / 2, (a.b + b.b) / 2};
}
std::string Text(const Rgb& c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

// Pixels in a rectangle that pass a test.
int Count(const Picture& p, int x0, int y0, int w, int h, const std::function<bool(Rgb)>& is) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += is(p.At(x, y));
    return n;
}
bool Bright(Rgb c) {
    return c.r + c.g + c.b > 300;
}

// The columns holding bright ink in a band of rows: first and last, -1 when none.
std::pair<int, int> InkSpan(const Picture& p, int y0, int h) {
    int left = -1, right = -1;
    for (int x = 0; x < p.width; ++x)
        if (Count(p, x, y0, 1, h, Bright) > 0) {
            if (left < 0) left = x;
            right = x;
        }
    return {left, right};
}

// Where the pixels that pass a test lie on average; (-1, -1) when none do.
std::pair<double, double> Centroid(const Picture& p, int x0, int y0, int w, int h,
                                   const std::function<bool(Rgb)>& is) {
    double sx = 0, sy = 0, n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (is(p.At(x, y))) sx += x, sy += y, n += 1;
    return n > 0 ? std::pair{sx / n, sy / n} : std::pair{-1.0, -1.0};
}

// ---- the checks, one per example; shots[i] is the frame asked for in the case's i-th place ----

// The three panels: a square drawn opaque, a disc over its lower right quarter with the
// panel's blend mode (opaque, additive, alpha 0.5).
void SpritesBlend(const std::vector<Picture>& shots) {
    const Picture& p = shots[0];
    const int top = 250;
    auto square = [&](int left) { return p.At(left + 20, top + 20); };
    auto overlap = [&](int left) { return p.At(left + 80, top + 80); };
    auto discOnly = [&](int left) { return p.At(left + 120, top + 120); };
    auto background = [&](int left) { return p.At(left + 150, top + 10); };
    const Rgb disc = discOnly(40);
    EXPECT_TRUE(Near(overlap(40), disc, 2))
        << "opaque: the disc hides the square " << Text(overlap(40)) << " " << Text(disc);
    EXPECT_FALSE(Near(square(40), disc, 30)) << "the square and the disc look alike";
    EXPECT_TRUE(Near(overlap(240), Sum(square(240), disc), 3))
        << "additive overlap " << Text(overlap(240)) << " is not square " << Text(square(240))
        << " + disc " << Text(disc);
    EXPECT_TRUE(Near(discOnly(240), Sum(background(240), disc), 3)) << Text(discOnly(240));
    EXPECT_TRUE(Near(overlap(440), Mean(square(440), disc), 3))
        << "alpha overlap " << Text(overlap(440)) << " is not half square " << Text(square(440))
        << ", half disc " << Text(disc);
    EXPECT_TRUE(Near(discOnly(440), Mean(background(440), disc), 3)) << Text(discOnly(440));
    // The logo turning above the panels.
    EXPECT_GT(Count(p, 280, 90, 80, 80, [](Rgb c) { return c.b > 150; }), 200);
}

void TextFonts(const std::vector<Picture>& shots) {
    const Picture& p = shots[0];
    // Both banner lines are centred with FontSizeGet.
    for (int y : {40, 380}) {
        const auto [left, right] = InkSpan(p, y, 30);
        ASSERT_GE(left, 0) << "no banner line at " << y;
        EXPECT_NEAR(left + right, 640, 12) << y << ": " << left << ".." << right;
        EXPECT_GT(right - left, 150) << y;
    }
    // The built-in font's line (8 pixels high) and the picture font's (11), with nothing
    // printed between them.
    EXPECT_GT(Count(p, 40, 120, 360, 8, Bright), 150);
    EXPECT_EQ(Count(p, 0, 130, 640, 28, Bright), 0);
    EXPECT_GT(Count(p, 40, 160, 360, 11, Bright), 200);
    // The picture font's cells are 7 pixels wide: "frame" ends before x = 75.
    EXPECT_GT(Count(p, 40, 190, 35, 11, Bright), 20);
    EXPECT_EQ(Count(p, 76, 190, 12, 11, Bright), 0);
    EXPECT_GT(Count(p, 90, 190, 14, 11, Bright), 5) << "the frame number";
}

// With CORVANE_VIRTUAL_JOYSTICK="axes=0.7,-0.4;buttons=0,2".
void JoystickVirtual(const std::vector<Picture>& shots) {
    const Picture& p = shots[1];
    auto green = [](Rgb c) { return c.g > 200 && c.r < 100; };
    for (int b = 0; b < 8; ++b)
        EXPECT_EQ(Count(p, 90 + 24 * b, 436, 16, 16, green) > 200, b == 0 || b == 2)
            << "button " << b;
    // The gauge's dot stands at the stick's place within its 60-pixel circle round
    // (540, 120).
    auto dot = [](Rgb c) { return c.r > 200 && c.g > 200 && c.b < 100; };
    const auto [gx, gy] = Centroid(p, 470, 50, 140, 140, dot);
    EXPECT_NEAR(gx, 540 + 0.7 * 60, 2);
    EXPECT_NEAR(gy, 120 - 0.4 * 60, 2);
    // The ship flies the way the stick points: right and up, 0.7 across for 0.4 up.
    auto ship = [](Rgb c) { return c.b > 200 && c.g > 150 && c.r < 120; };
    const auto [x0, y0] = Centroid(shots[0], 0, 40, 640, 390, ship);
    const auto [x1, y1] = Centroid(p, 0, 40, 640, 390, ship);
    ASSERT_GE(x0, 0);
    ASSERT_GE(x1, 0);
    EXPECT_GT(x1 - x0, 20);
    EXPECT_NEAR((x1 - x0) / (y0 - y1), 0.7 / 0.4, 0.15)
        << x0 << "," << y0 << " " << x1 << "," << y1;
    EXPECT_GT(Count(p, 20, 20, 300, 11, Bright), 50) << "the joystick's name";
}

void JoystickAbsent(const std::vector<Picture>& shots) {
    const Picture& p = shots[0];
    EXPECT_GT(Count(p, 120, 230, 400, 11, Bright), 100) << "the no-joystick line";
    EXPECT_EQ(Count(p, 470, 50, 140, 140, Bright), 0) << "a gauge without a joystick";
    EXPECT_EQ(Count(p, 90, 436, 200, 16, [](Rgb c) { return c.g > 60; }), 0);
}

// Speakers at x = 120, 320, 520 take turns every 45 frames, left first; one glows while its
// play sounds.
bool Glowing(const Picture& p, int x) {
    const Rgb c = p.At(x - 20, 240);
    return c.r > 200 && c.g > 150 && c.b < 100;
}
void SoundTurns(const std::vector<Picture>& shots) {
    EXPECT_TRUE(Glowing(shots[0], 120)) << "frame 2, left";
    EXPECT_FALSE(Glowing(shots[0], 320)) << "frame 2, middle";
    EXPECT_FALSE(Glowing(shots[0], 520)) << "frame 2, right";
    EXPECT_TRUE(Glowing(shots[1], 320)) << "frame 47, middle";
    EXPECT_FALSE(Glowing(shots[1], 520)) << "frame 47, right";
}
void SoundSilent(const std::vector<Picture>& shots) {
    for (const Picture& p : shots)
        for (int x : {120, 320, 520}) EXPECT_FALSE(Glowing(p, x)) << x;
}

// The lamp, and the volume bar filling over three seconds.
int VolumeFill(const Picture& p) {
    return Count(p, 120, 270, 400, 1, [](Rgb c) { return c.r > 200 && c.b < 100; });
}
bool LampGreen(const Picture& p) {
    return Count(p, 120, 160, 24, 24, [](Rgb c) { return c.g > 150 && c.r < 100; }) > 500;
}
void MusicFadeIn(const std::vector<Picture>& shots) {
    EXPECT_TRUE(LampGreen(shots[0]));
    EXPECT_TRUE(LampGreen(shots[1]));
    const int early = VolumeFill(shots[0]), later = VolumeFill(shots[1]);
    // Frames 30 and 90 are 0.48 and 1.48 s in: a linear fade stands three times as far.
    EXPECT_GT(early, 40);
    EXPECT_NEAR(later, 3.07 * early, 0.35 * early) << early << " " << later;
    EXPECT_LT(later, 400);
}
void MusicSilent(const std::vector<Picture>& shots) {
    EXPECT_FALSE(LampGreen(shots[0]));
    EXPECT_EQ(VolumeFill(shots[0]), 0);
}

// The logo, read from art.sbx, stands at (256, 150) as the source picture has it.
void ArchiveLogo(const std::vector<Picture>& shots) {
    const Picture& p = shots[0];
    const Picture logo =
        testsupport::PictureLoad(std::string(CORVANE_SOURCE_DIR) + "/media/image 1.2.png");
    ASSERT_FALSE(logo.Empty());
    int opaque = 0, same = 0;
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            if (logo.Alpha(x, y) == 255) {
                ++opaque;
                same += Near(p.At(256 + x, 150 + y), logo.At(x, y), 6);
            }
    EXPECT_GT(opaque, 500);
    EXPECT_GE(same, opaque * 98 / 100) << same << " of " << opaque;
    const auto [left, right] = InkSpan(p, 40, 30);
    EXPECT_GT(right - left, 150) << "the banner font from the archive";
    EXPECT_GT(Count(p, 80, 380, 400, 8, Bright), 100) << "the line from credits.txt";
}

// Cells of 22 pixels from (34, 70), 26 x 16. Each cell is read back from the frame: a wall
// (brick red), ground (grass green); on the path when its centre holds the path's dot or
// the walker; the start framed blue, the goal red. The path must be a chain of neighbouring
// ground cells from start to goal, as short as the level allows.
void PathShortest(const std::vector<Picture>& shots) {
    constexpr int kColumns = 26, kRows = 16;
    for (const Picture& p : shots) {
        auto cell = [&](int c, int r, int dx, int dy) {
            return p.At(34 + 22 * c + dx, 70 + 22 * r + dy);
        };
        std::vector<int> wall(kColumns * kRows), onPath(kColumns * kRows);
        int start = -1, goal = -1, walls = 0, marked = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                const int i = r * kColumns + c;
                // Bricks have light mortar lines: average a strip away from the markers.
                int red = 0, green = 0;
                for (int dy = 18; dy < 20; ++dy)
                    for (int dx = 2; dx < 20; ++dx)
                        red += cell(c, r, dx, dy).r, green += cell(c, r, dx, dy).g;
                wall[i] = red > green + 20 * 36;
                walls += wall[i];
                const Rgb centre = cell(c, r, 10, 10);
                onPath[i] = (centre.r > 200 && centre.g > 170 && centre.b < 100) ||
                            (centre.r > 240 && centre.g > 240 && centre.b > 240);
                marked += onPath[i];
                const Rgb edge = cell(c, r, 0, 11);
                if (edge.b > 200 && edge.r < 100) start = i;
                if (edge.r > 200 && edge.g < 100 && edge.b < 100) goal = i;
            }
        ASSERT_GT(walls, 100);
        ASSERT_GE(start, 0);
        ASSERT_GE(goal, 0);
        // Breadth-first steps over the ground: the fewest cells a path can have, and the
        // cells of the marked path reachable along the path itself.
        auto search = [&](const std::vector<int>& allowed) {
            std::vector<int> dist(kColumns * kRows, -1);
            std::deque<int> queue{start};
            dist[start] = 0;
            while (!queue.empty()) {
                const int i = queue.front();
                queue.pop_front();
                const int c = i % kColumns, r = i / kColumns;
                const int next[4][2] = {{c - 1, r}, {c + 1, r}, {c, r - 1}, {c, r + 1}};
                for (const auto& n : next) {
                    if (n[0] < 0 || n[1] < 0 || n[0] >= kColumns || n[1] >= kRows) continue;
                    const int j = n[1] * kColumns + n[0];
                    if (allowed[j] && dist[j] < 0) dist[j] = dist[i] + 1, queue.push_back(j);
                }
            }
            return dist;
        };
        std::vector<int> ground(kColumns * kRows);
        for (size_t i = 0; i < ground.size(); ++i) ground[i] = !wall[i];
        const std::vector<int> shortest = search(ground), along = search(onPath);
        ASSERT_GT(shortest[goal], 0) << "the goal cannot be reached";
        EXPECT_EQ(marked, shortest[goal] + 1) << "cells on the path";
        EXPECT_EQ(along[goal], shortest[goal]) << "the marked cells do not lead to the goal";
        for (size_t i = 0; i < onPath.size(); ++i)
            if (onPath[i]) {
                EXPECT_FALSE(wall[i]) << "the path crosses a wall at cell " << i;
                EXPECT_GE(along[i], 0) << "cell " << i << " is marked but not on the way";
            }
    }
}

void HelloDrawn(const std::vector<Picture>& shots) {
    const Picture& p = shots[0];
    EXPECT_TRUE(Near(p.At(5, 5), {8, 16, 32}, 2)) << Text(p.At(5, 5));
    EXPECT_GT(Count(p, 40, 40, 230, 8, Bright), 100) << "the greeting";
    // Eight squares bobbing: every one of the columns holds some of its colour.
    for (int i = 0; i < 8; ++i)
        EXPECT_GT(Count(p, 40 + i * 70, 250, 50, 150, [](Rgb c) { return c.r > 200 && c.b < 200; }),
                  1000)
            << "square " << i;
    // Each is a whole 50 x 50 square of its own colour, at its height on one sine wave:
    // y = 300 + 40 sin(3 frame + 45 i) degrees, for one frame near the 60th.
    std::vector<int> tops;
    for (int i = 0; i < 8; ++i) {
        const Rgb colour{0xF0, 0x60 + 0x10 * i, 0x30 + 0x10 * i};
        auto is = [&](Rgb c) { return Near(c, colour, 2); };
        const int left = 40 + i * 70;
        int top = 250;
        while (top < 400 && !is(p.At(left + 25, top))) ++top;
        EXPECT_EQ(Count(p, left, top, 50, 50, is), 2500) << "square " << i;
        EXPECT_EQ(Count(p, left - 1, top - 1, 52, 52, is), 2500) << "square " << i << " spills";
        tops.push_back(top);
    }
    bool onTheWave = false;
    for (int f = 50; f <= 70 && !onTheWave; ++f) {
        onTheWave = true;
        for (int i = 0; i < 8; ++i)
            onTheWave &= std::abs(tops[size_t(i)] -
                                  (300 + 40 * std::sin((3 * f + 45 * i) * M_PI / 180))) <= 1.0;
    }
    EXPECT_TRUE(onTheWave) << "tops " << testing::PrintToString(tops);
}

// The scene drawn into the target shows in the sprite at its picture size (not the texture's
// 256 x 128), as it is, zoomed and half see-through; the turning bar is part of it.
void OffscreenScene(const std::vector<Picture>& shots) {
    const Picture& p = shots[0];
    const Rgb even{16, 48, 96}, odd{24, 72, 144}, grey{32, 32, 32};
    EXPECT_TRUE(Near(p.At(20 + 150, 20 + 110), even, 2)) << Text(p.At(170, 130));
    EXPECT_TRUE(Near(p.At(20 + 130, 20 + 110), odd, 2)) << Text(p.At(150, 130));
    EXPECT_TRUE(Near(p.At(20 + 165, 60), grey, 2)) << "past the picture: " << Text(p.At(185, 60));
    EXPECT_GT(Count(p, 20, 20, 160, 120, [](Rgb c) { return Near(c, {240, 224, 48}, 8); }), 50);
    // Zoomed about the picture's centre, which stands at (380 + 80, 100 + 60).
    EXPECT_TRUE(Near(p.At(460 + 2 * 70, 160 + 2 * 50), even, 2)) << Text(p.At(600, 260));
    EXPECT_TRUE(Near(p.At(460 + 2 * 50, 160 + 2 * 50), odd, 2)) << Text(p.At(560, 260));
    EXPECT_TRUE(Near(p.At(460 + 150, 300 + 110), Mean(even, grey), 3)) << Text(p.At(610, 410));
}

// At frame 120 the uniform is 1: every drawn pixel of the right picture is the inverse of the
// same pixel of the left one.
void ShaderInverts(const std::vector<Picture>& shots) {
    const Picture& p = shots[0];
    const Rgb background{48, 48, 48};
    int drawn = 0, inverted = 0;
    for (int y = 160; y < 320; ++y)
        for (int x = 10; x < 320; ++x) {
            const Rgb a = p.At(x, y);
            if (Near(a, background, 40)) continue;
            ++drawn;
            inverted += Near(p.At(x + 300, y), {255 - a.r, 255 - a.g, 255 - a.b}, 3);
        }
    EXPECT_GT(drawn, 2000) << "no picture on the left";
    EXPECT_GT(inverted, drawn * 95 / 100) << inverted << " of " << drawn;
}

// The crystal turns over the floor, lit by a lamp up on the left: both colours of its striped
// picture on its faces, its underside dark, a shadow on the floor to its lower right darker
// than any lit floor, and (its frames breathe) its tip higher at frame 50 than at 30.
int CrystalTop(const Picture& p) {
    for (int y = 60; y < 260; ++y)
        if (Count(p, 250, y, 140, 1, [](Rgb c) { return std::max({c.r, c.g, c.b}) > 60; }) > 0)
            return y;
    return -1;
}
void CrystalLitAndShadowed(const std::vector<Picture>& shots) {
    auto brightest = [](Rgb c) { return std::max({c.r, c.g, c.b}); };
    for (const Picture& p : shots) {
        EXPECT_GT(Count(p, 250, 80, 140, 140,
                        [](Rgb c) { return c.r > 200 && c.g > 90 && c.g < 150 && c.b < 60; }),
                  300)
            << "orange stripes";
        EXPECT_GT(
            Count(p, 250, 80, 140, 140, [](Rgb c) { return c.r > 230 && c.g > 190 && c.b > 130; }),
            300)
            << "cream stripes";
        EXPECT_GT(Count(p, 305, 212, 30, 15, [&](Rgb c) { return brightest(c) < 60; }), 400)
            << "the underside, away from the lamp";
        EXPECT_EQ(Count(p, 355, 250, 80, 30, [&](Rgb c) { return brightest(c) >= 95; }), 0)
            << "the shadow";
        EXPECT_EQ(Count(p, 190, 245, 110, 40, [&](Rgb c) { return brightest(c) < 100; }), 0)
            << "the floor beside the crystal, towards the lamp";
        EXPECT_EQ(Count(p, 0, 440, 640, 40, [&](Rgb c) { return brightest(c) < 90; }), 0)
            << "the near floor";
    }
    const int top30 = CrystalTop(shots[0]), top50 = CrystalTop(shots[1]);
    ASSERT_GT(top30, 0);
    EXPECT_LT(top50, top30 - 8) << "the tip at frame 50 stands higher than at frame 30";
}

struct Case {
    const char* name;     // the test's name
    const char* example;  // examples/<example>.cpp
    std::vector<long> shots;
    long framesMax;
    std::vector<std::string> env;
    void (*check)(const std::vector<Picture>&);
};

const Case kCases[] = {
    {"SpritesBlendOpaqueAdditiveAndAlpha", "sprites", {30}, 30, {}, SpritesBlend},
    {"TextCentredBannersAndBothFontSizes", "text", {30}, 30, {}, TextFonts},
    {"JoystickVirtualStickFliesTheShip",
     "joystick",
     {5, 40},
     40,
     {"CORVANE_VIRTUAL_JOYSTICK=axes=0.7,-0.4;buttons=0,2"},
     JoystickVirtual},
    {"JoystickNoneSaysSo", "joystick", {5}, 5, {}, JoystickAbsent},
    {"SoundEffectsSpeakersTakeTurns", "sound_effects", {2, 47}, 47, {}, SoundTurns},
    {"SoundEffectsWithoutADeviceNothingGlows",
     "sound_effects",
     {2, 47},
     47,
     {"SDL_AUDIODRIVER=no-such-driver"},
     SoundSilent},
    {"MusicPlaysAndFadesIn", "music", {30, 90}, 90, {}, MusicFadeIn},
    {"MusicWithoutADeviceDoesNotPlay",
     "music",
     {30},
     30,
     {"SDL_AUDIODRIVER=no-such-driver"},
     MusicSilent},
    {"PathFindingShortestPathBeforeAndAfterTheGoalMoves",
     "path_finding",
     {2, 300},
     300,
     {},
     PathShortest},
    {"HelloDrawsItsGreetingAndSquares", "hello", {60}, 60, {}, HelloDrawn},
    {"OffscreenTargetSceneInASprite", "offscreen_target", {30}, 30, {}, OffscreenScene},
    {"ShaderInvertsTheRightPicture", "shader", {120}, 120, {}, ShaderInverts},
    {"Object3DLitTexturedBreathingWithAShadow",
     "object3d",
     {30, 50},
     50,
     {},
     CrystalLitAndShadowed},
};

// Shown by gtest (and so in ctest's list) instead of the record's bytes.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.example;
}

class ExampleRun : public testing::TestWithParam<Case> {};

TEST_P(ExampleRun, SavedFramesShowWhatItTeaches) {
    SKIP_WHEN_MISSING(!testsupport::HaveDisplay(), "needs a display");
    const Case& c = GetParam();
    const std::string dir = testsupport::MakeSubDir(c.name);
    std::string shots;
    for (long s : c.shots) shots += (shots.empty() ? "" : ",") + std::to_string(s);
    const auto r =
        testsupport::RunRecorded(Example(c.example), ExampleDir(), dir, shots, c.framesMax, c.env);
    ASSERT_FALSE(r.timedOut) << r.output;
    ASSERT_EQ(r.exitCode, 0) << r.output;
    std::vector<Picture> pictures;
    for (long s : c.shots) {
        pictures.push_back(testsupport::ShotLoad(dir, s));
        ASSERT_EQ(pictures.back().width, 640) << "frame " << s << " was not saved";
    }
    c.check(pictures);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleRun, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

// Run from a folder holding only the program and art.sbx: whatever it shows came out of the
// archive.
TEST(ExampleMediaArchive, PicturesFontAndTextComeFromTheArchiveAlone) {
    SKIP_WHEN_MISSING(!testsupport::HaveDisplay(), "needs a display");
    const std::string dir = testsupport::ProgramFolder("archive_only", Example("media_archive"),
                                                       {{ExampleDir() + "/art.sbx", "art.sbx"}});
    const auto r = testsupport::RunRecorded(dir + "/example_media_archive", dir, dir, "10", 10);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const Picture p = testsupport::ShotLoad(dir, 10);
    ASSERT_EQ(p.width, 640);
    ArchiveLogo({p});
}

// Two starts from the same folder: the second finds what the first saved. The first is cut
// short by the recorder, the second ends by itself after its five seconds; both paths write
// the INI back.
TEST(ExampleSaveGame, TheCountSurvivesASecondStart) {
    SKIP_WHEN_MISSING(!testsupport::HaveDisplay(), "needs a display");
    const std::string font = ExampleDir() + "/media/Lucida Console 112x88.png";
    const std::string dir = testsupport::ProgramFolder("save_game", Example("save_game"),
                                                       {{font, "media/Lucida Console 112x88.png"}});
    auto lit = [](const Picture& p) {
        int n = 0;
        for (int i = 0; i < 16; ++i) {
            const Rgb c = p.At(54 + 36 * i, 164);
            n += std::max({c.r, c.g, c.b}) > 180;
        }
        return n;
    };
    for (int run = 1; run <= 2; ++run) {
        const std::string shots = testsupport::MakeSubDir("save_game_" + std::to_string(run));
        const auto r =
            testsupport::RunRecorded(dir + "/example_save_game", dir, shots, "5", run == 1 ? 5 : 0);
        ASSERT_FALSE(r.timedOut);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const Picture p = testsupport::ShotLoad(shots, 5);
        ASSERT_EQ(p.width, 640);
        EXPECT_EQ(lit(p), run) << "lamps after start " << run;
        const std::string ini = testsupport::ReadFile(dir + "/savegame.ini");
        EXPECT_NE(ini.find("runs=" + std::to_string(run)), std::string::npos) << ini;
    }
}

std::string Shell(const std::string& command) {
    return testsupport::RunProgram("/bin/sh", {"-c", command}, {}, "", 10000).output;
}

// The real window driven by xdotool. The test waits for frames to go by between its moves by
// watching the recorder's pictures (every fifth frame is saved), then checks the last one
// saved before ESC.
TEST(ExampleKeyboardMouse, ArrowsMoveTheBlockTheMousePaintsAndKeysType) {
    SKIP_WHEN_MISSING(
        !testsupport::HaveDisplay() || std::system("command -v xdotool >/dev/null 2>&1") != 0,
        "needs a display and xdotool");
    std::filesystem::remove_all(testsupport::TempDir() + "/keyboard_mouse");
    const std::string dir = testsupport::MakeSubDir("keyboard_mouse");
    std::string shots = "5";
    for (int f = 10; f <= 6000; f += 5) shots += "," + std::to_string(f);
    testsupport::ProgramProcess program(Example("keyboard_mouse"), {},
                                        {"SDL_AUDIODRIVER=dummy", "CORVANE_SHOTS=" + shots,
                                         "CORVANE_SHOT_DIR=" + dir, "CORVANE_FRAMES_MAX=6000"},
                                        ExampleDir());
    long latest = 0;
    auto newest = [&] {
        while (testsupport::FileExists(testsupport::ShotPath(dir, latest + 5))) latest += 5;
        return latest;
    };
    // At least ten more frames shown: whatever the last action did is on screen by then.
    auto settle = [&] {
        const long target = newest() + 10;
        return testsupport::PollUntil([&] { return newest() >= target || !program.Running(); },
                                      30000) &&
               program.Running();
    };
    // Frames are being shown, so the window is mapped: find it and give it the keyboard.
    ASSERT_TRUE(settle()) << program.Output();
    std::string window;
    ASSERT_TRUE(testsupport::PollUntil(
        [&] {
            window =
                Shell("xdotool search --all --onlyvisible --pid " + std::to_string(program.Pid()) +
                      " --name Corvane | head -1 | tr -d '\\n'");
            return !window.empty();
        },
        30000, 100))
        << program.Output();
    ASSERT_TRUE(testsupport::PollUntil(
        [&] {
            return Shell("xdotool windowfocus " + window + "; xdotool getwindowfocus") ==
                   window + "\n";
        },
        30000, 100))
        << "the window " << window << " never got the focus";
    ASSERT_TRUE(settle()) << program.Output();
    const std::vector<std::string> steps = {"mousemove --window " + window + " 300 380",
                                            "mousedown 1",
                                            "mousemove --window " + window + " 400 380",
                                            "mouseup 1",
                                            "keydown Right",
                                            "keyup Right",
                                            "keydown Right",
                                            "keyup Right",
                                            "keydown Down",
                                            "keyup Down",
                                            "keydown h",
                                            "keyup h",
                                            "keydown i",
                                            "keyup i"};
    for (const std::string& step : steps) {
        Shell("xdotool " + step);
        ASSERT_TRUE(settle()) << "after " << step << "\n" << program.Output();
    }
    const long last = newest();
    Shell("xdotool keydown Escape");
    EXPECT_TRUE(program.WaitExit(30000)) << "ESC did not end it";
    Shell("xdotool keyup Escape");
    EXPECT_EQ(program.ExitCode(), 0) << program.Output();

    const Picture p = testsupport::ShotLoad(dir, last);
    ASSERT_EQ(p.width, 640) << last;
    auto paint = [](Rgb c) { return c.r > 200 && c.g > 180 && c.b < 100; };
    // The pointer's cross covers the stroke's last 8 pixels.
    EXPECT_EQ(Count(p, 305, 380, 85, 1, paint), 85) << "the stroke from (300, 380) to (400, 380)";
    EXPECT_EQ(Count(p, 300, 360, 100, 15, paint), 0) << "paint above the stroke";
    EXPECT_EQ(Count(p, 410, 370, 60, 20, paint), 0) << "paint past its end";
    // Two presses right and one down: the block stands in column 2, row 1 of the 48-pixel
    // grid from (80, 60).
    auto block = [](Rgb c) { return c.b > 200 && c.r < 100 && c.g > 120 && c.g < 200; };
    EXPECT_GT(Count(p, 80 + 2 * 48, 60 + 48, 48, 48, block), 1000);
    EXPECT_EQ(Count(p, 80, 60, 48, 48, block), 0);
    // "typed: " and two characters in the 7-pixel font, nothing after them.
    EXPECT_GT(Count(p, 69, 456, 14, 11, Bright), 10);
    EXPECT_EQ(Count(p, 84, 456, 60, 11, Bright), 0);
}

// Two chat programs on loopback: the host, then a guest that joins it and says hello. The
// guest's frame shows both players (its own block green, the host's blue), its own line and
// the host's welcome below it.
TEST(ExampleNetChat, AGuestJoinsTheHostAndIsWelcomed) {
    SKIP_WHEN_MISSING(!testsupport::HaveDisplay(), "needs a display");
    const std::string port = std::to_string(26400 + getpid() % 500);
    testsupport::ProgramProcess host(Example("net_chat"), {"host", port},
                                     {"SDL_AUDIODRIVER=dummy", "CORVANE_FRAMES_MAX=36000"},
                                     ExampleDir());
    // The host listens once its GameMain runs (and has turned pausing off); until then keep
    // its window focused so that its start-up does not pause either.
    const std::string hostFocus = "xdotool search --pid " + std::to_string(host.Pid()) +
                                  " --name Corvane windowfocus >/dev/null 2>&1";
    const std::string listening = "exec 3<>/dev/tcp/127.0.0.1/" + port;
    ASSERT_TRUE(testsupport::PollUntil(
        [&] {
            testsupport::RunProgram("/bin/sh", {"-c", hostFocus}, {}, "", 10000);
            return testsupport::RunProgram("/bin/bash", {"-c", listening}, {}, "", 10000)
                       .exitCode == 0;
        },
        60000, 200))
        << host.Output();
    const std::string dir = testsupport::MakeSubDir("net_chat");
    // Real time, not the fixed step: the host's answers come at the pace of its own frames.
    testsupport::ProgramProcess guest(Example("net_chat"), {"join", "127.0.0.1", port},
                                      {"SDL_AUDIODRIVER=dummy", "CORVANE_SHOTS=600",
                                       "CORVANE_SHOT_DIR=" + dir, "CORVANE_FRAMES_MAX=600"},
                                      ExampleDir());
    // Without a window manager a new window is not given the focus, and an unfocused one
    // pauses (the host turns that off, the guest keeps the default): focus the guest's window
    // until it has run its frames.
    const std::string focus = "xdotool search --pid " + std::to_string(guest.Pid()) +
                              " --name Corvane windowfocus >/dev/null 2>&1";
    EXPECT_TRUE(testsupport::PollUntil(
        [&] {
            if (!guest.Running()) return true;
            testsupport::RunProgram("/bin/sh", {"-c", focus}, {}, "", 10000);
            return false;
        },
        60000, 200))
        << guest.Output();
    ASSERT_EQ(guest.ExitCode(), 0) << guest.Output() << host.Output();
    const Picture p = testsupport::ShotLoad(dir, 600);
    ASSERT_EQ(p.width, 640);
    auto blockAt = [&](int row) { return p.At(458, 48 + row * 24); };
    EXPECT_TRUE(Near(blockAt(0), {240, 160, 64}, 4)) << "the host first " << Text(blockAt(0));
    EXPECT_TRUE(Near(blockAt(1), {64, 192, 64}, 4)) << "then the guest " << Text(blockAt(1));
    EXPECT_GT(Count(p, 10, 40, 200, 12, Bright), 20) << "the guest's hello";
    EXPECT_GT(Count(p, 10, 60, 200, 12, Bright), 20) << "the host's welcome" << guest.Output();
    EXPECT_TRUE(host.Running()) << host.Output();
}

// Every examples/*.cpp is built and run by one of the tests here: a new example comes with
// its case.
TEST(ExamplesCovered, EveryExampleIsBuiltAndHasARun) {
    std::set<std::string> run = {"media_archive", "save_game", "keyboard_mouse", "net_chat"};
    for (const Case& c : kCases) run.insert(c.example);
    int examples = 0;
    for (const auto& e :
         std::filesystem::directory_iterator(std::string(CORVANE_SOURCE_DIR) + "/examples")) {
        if (e.path().extension() != ".cpp") continue;
        const std::string name = e.path().stem().string();
        ++examples;
        EXPECT_TRUE(run.count(name)) << "examples/" << name << ".cpp has no run";
        EXPECT_TRUE(testsupport::FileExists(Example(name))) << Example(name) << " not built";
    }
    EXPECT_GE(examples, 14);
}

}  // namespace
