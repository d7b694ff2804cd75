// The show's pictures read back from recorded frames under the fixed-step clock: the ticker
// typing and wiping, the map revealed cell by cell, the breathing ring's three grey circles,
// the quake moving the whole map by one offset, and the banner lines centred.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "corvane.h"
#include "game/map_data.h"
#include "game/map_loader.h"
#include "support/frame_shots.h"
#include "tests/game/show_folder.h"
#include "tests/game/whole_show.h"

namespace {

using testsupport::HaveDisplay;
using zan3::MapData;

constexpr int kRingGrey[3] = {250, 0, 125};
constexpr int kShowStart = 554, kMapOn = 653, kPortalsOn = 1553;

struct Show {
    std::string dir;
    int width = 640;
    testsupport::Picture Shot(int frame) const {
        testsupport::Picture img = testsupport::ShotLoad(dir, frame);
        EXPECT_EQ(img.width, width) << testsupport::ShotPath(dir, frame);
        return img;
    }
};

int Grey(const testsupport::Picture& img, int x, int y) {
    return img.Grey(x, y);
}

Show Record(const char* name, const std::string& shots, int framesMax,
            const std::vector<std::string>& env = {}, int width = 640) {
    Show s{showtest::ShowFolder(name, {"Lucida Console 112x88.png", "Splash 480x240.png",
                                       "image 1.2.png", "image 2.2.png", "circle 2.png",
                                       "circle 3.png", "map.png", "map.txt", "music.mp3"}),
           width};
    auto r = testsupport::RunRecorded(s.dir + "/zan3", s.dir, s.dir, shots, framesMax, env, 280000);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.output;
    return s;
}

// The shared whole-show run: it holds every shot the map, ticker and banner checks read.
const Show& Recorded() {
    static const Show show = [] {
        const showtest::WholeShowRun& run = showtest::WholeShow();
        EXPECT_TRUE(run.endedItself)
            << run.trace.substr(run.trace.size() > 2000 ? run.trace.size() - 2000 : 0);
        return Show{run.dir, 640};
    }();
    return show;
}

MapData ShippedMap() {
    MapData m;
    zan3::MapLoad(m, RtString((std::string(CORVANE_SOURCE_DIR) + "/media/map.txt").c_str()), 320,
                  240);
    return m;
}

}  // namespace

TEST(ShowPicturesE2E, TickerTypesOneCharacterPerFrameHoldsAndWipesFromTheLeft) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const Show& show = Recorded();
    // The lines as the ticker should print them: 25 frames of nothing, then one more
    // character per frame up to the line's last but one (its trailing blank is never typed,
    // so "Ok. " shows at most "Ok."), 151 frames of hold, then one more blank from the left
    // per frame, the next line starting in the frame after the last blank.
    const std::string lines[] = {
        "Hello, people ", "This - my next DEMO ", "Status: ",      "Menu - 75% ", "New Map - 50% ",
        "New AI - 25% ",  "Map Builder - 50% ",   "Effect - 75% ", "Ok. ",        "Enjoy "};
    auto shot = [](int pass) {
        return (pass >= 576 && pass <= 596) || (pass >= 740 && pass <= 760) ||
               (pass >= 1990 && pass <= 1998) || (pass >= 2144 && pass <= 2150);
    };
    std::string text;
    int line = 0, shown = 0, start = 0, hold = 0;
    bool erasing = false;
    for (int pass = kShowStart; pass <= 2150; ++pass) {
        const int len = static_cast<int>(lines[line].size()) - 1;
        if (pass >= kShowStart + 25) {
            if (hold > 0) {
                --hold;
            } else if (!erasing) {
                if (++shown == len) erasing = true, hold = 151;
            } else if (++start == len) {
                erasing = false, start = shown = 0, ++line;
            }
            text = std::string(start, ' ') + lines[line].substr(start, shown - start);
        }
        if (!shot(pass)) continue;
        const testsupport::Picture img = show.Shot(pass);
        // Font 1 has 7 x 11 cells; the line stands at (10, 480 - 10 - 11).
        for (int c = 0; c < 24; ++c) {
            int ink = 0;
            for (int y = 459; y < 470; ++y)
                for (int x = 10 + 7 * c; x < 17 + 7 * c; ++x) ink += Grey(img, x, y) > 60;
            const bool want = c < int(text.size()) && text[c] != ' ';
            EXPECT_EQ(ink > 0, want) << "frame " << pass << " cell " << c << " \"" << text << "\"";
        }
    }
}

TEST(ShowPicturesE2E, CellsAreRevealedInReadingOrderEachWithAFadeOf67Frames) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const Show& show = Recorded();
    const MapData m = ShippedMap();
    const testsupport::Picture during = show.Shot(850), full = show.Shot(1300);
    const int j = 850 - kMapOn;  // the map's 198th frame
    int lit = 0, dark = 0, partial = 0;
    for (int i = 0; i < int(m.cellCount); ++i) {
        const RtString& code = m.codes(i);
        // Markers and blinkers are on by frame 1300; leave their cells and the cells their
        // shadow bars reach (right and below) out.
        auto busy = [&](int k) {
            return k >= 0 && k < int(m.cellCount) &&
                   (zan3::IsItemCode(m.codes(k)) || zan3::IsBlinkerCode(m.codes(k)));
        };
        if (zan3::GroundSprite(code) == 0 || busy(i) || busy(i - 1) || busy(i - 27)) continue;
        const int cx = int(m.cellBaseX(i)), cy = int(m.cellBaseY(i));
        double sumNow = 0, sumFull = 0;
        for (int y = cy - 9; y < cy + 9; ++y)
            for (int x = cx - 9; x < cx + 9; ++x)
                sumNow += Grey(during, x, y), sumFull += Grey(full, x, y);
        sumNow /= 324, sumFull /= 324;
        if (sumFull < 40) continue;
        // Cell i starts its fade in the map's (i + 1)-th frame, from alpha 0.015; the alpha
        // test drops whatever is drawn at 0.05 or less.
        double opacity = std::min(1.0, 0.015 * (1 + std::max(0, j - i + 1)));
        if (opacity <= 0.05) opacity = 0;
        EXPECT_NEAR(sumNow, opacity * sumFull, 1.5 + 0.01 * sumFull) << "cell " << i;
        (opacity >= 1 ? lit : opacity == 0 ? dark : partial) += 1;
    }
    EXPECT_GT(lit, 50);
    EXPECT_GT(dark, 100);
    EXPECT_GT(partial, 20);
}

TEST(ShowPicturesE2E, BreathingRingIsThreeCirclesOfGrey250And0And125) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const Show& show = Recorded();
    const MapData m = ShippedMap();
    int cell = -1;
    for (int i = 0; i < int(m.cellCount); ++i)
        if (std::string(m.codes(i).Text()) == "> ") cell = i;
    ASSERT_GE(cell, 0);
    const double cx = m.cellBaseX(cell), cy = m.cellBaseY(cell);
    double pulse = 0, speed = 0;
    for (int pass = kPortalsOn; pass <= 1700; ++pass) {
        if (pass == 1600 || pass == 1650 || pass == 1700) {
            const testsupport::Picture img = show.Shot(pass);
            // Opaque circles of radius r, r + 1, r + 2, the later drawn over the earlier.
            std::vector<int> want(640 * 480, -1);
            const double r = 20 + pulse;
            for (int k = 0; k < 3; ++k)
                for (double a = 0; a < 360; a += 1)
                    want[int(cy - MathCos(a) * (r + k)) * 640 + int(cx + MathSin(a) * (r + k))] =
                        kRingGrey[k];
            int counted[3] = {0, 0, 0};
            for (int p = 0; p < 640 * 480; ++p) {
                if (want[p] < 0) continue;
                const uint8_t* px = &img.rgba[size_t(p) * 4];
                EXPECT_TRUE(px[0] == want[p] && px[1] == want[p] && px[2] == want[p])
                    << "frame " << pass << " radius " << r << " at " << p % 640 << "," << p / 640
                    << ": " << int(px[0]) << " not " << want[p];
                counted[want[p] == 250 ? 0 : want[p] == 0 ? 1 : 2] += 1;
            }
            EXPECT_GT(counted[0], 30) << pass;
            EXPECT_GT(counted[1], 30) << pass;
            EXPECT_GT(counted[2], 100) << pass;
        }
        pulse += 0.5 + speed;
        speed += pulse > 0 ? -0.05 : pulse < 0 ? 0.05 : 0;
    }
}

TEST(ShowPicturesE2E, TheQuakeMovesEveryCellByTheSameOffset) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const Show& show = Recorded();
    const MapData m = ShippedMap();
    const testsupport::Picture before = show.Shot(1700);
    // Plain ground cells away from everything that moves or changes of itself: objects,
    // blinker bars, the rings round the portal cells.
    std::vector<int> still;
    for (int i = 0; i < int(m.cellCount); ++i) {
        auto plain = [&](int k) {
            if (k < 0 || k >= int(m.cellCount)) return true;
            const RtString& c = m.codes(k);
            return zan3::GroundSprite(c) != 0 && !zan3::IsItemCode(c) && !zan3::IsBlinkerCode(c) &&
                   !zan3::IsLetterCode(c);
        };
        const double dx1 = m.cellBaseX(i) - 350, dy1 = m.cellBaseY(i) - 140;
        const double dx2 = m.cellBaseX(i) - 330, dy2 = m.cellBaseY(i) - 240;
        if (plain(i) && plain(i - 1) && plain(i + 1) && plain(i - 27) && plain(i + 27) &&
            std::hypot(dx1, dy1) > 95 && std::hypot(dx2, dy2) > 65)
            still.push_back(i);
    }
    ASSERT_GT(still.size(), 150u);
    int moved = 0;
    for (int frame : {1850, 1900, 1950}) {
        const testsupport::Picture now = show.Shot(frame);
        int matches = 0, foundX = -1, foundY = -1;
        for (int sy = 0; sy <= 9; ++sy)
            for (int sx = 0; sx <= 9; ++sx) {
                bool same = true;
                for (size_t n = 0; same && n < still.size(); ++n) {
                    const int cx = int(m.cellBaseX(still[n])), cy = int(m.cellBaseY(still[n]));
                    for (int y = cy - 7; same && y < cy + 7; ++y)
                        for (int x = cx - 7; same && x < cx + 7; ++x)
                            same = Grey(now, x + sx, y + sy) == Grey(before, x, y);
                }
                if (same) ++matches, foundX = sx, foundY = sy;
            }
        EXPECT_EQ(matches, 1) << "frame " << frame;
        moved += foundX > 0 || foundY > 0;
        std::printf("frame %d: the map stands moved by (%d, %d)\n", frame, foundX, foundY);
    }
    EXPECT_GT(moved, 0) << "the quake never moved the map";
}

TEST(ShowPicturesE2E, BannerLinesStandCentredOnTheScreen) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    // The curtain is closed at frame 5119; the first line is held from 5186, the second
    // from 5473.
    const Show& show = Recorded();
    for (int frame : {5250, 5550}) {
        const testsupport::Picture img = show.Shot(frame);
        // Font 2 has 30 x 30 cells; the line's top is at 240 - 15.
        int left = img.width, right = -1;
        for (int y = 225; y < 255; ++y)
            for (int x = 0; x < img.width; ++x)
                if (Grey(img, x, y) > 60) left = std::min(left, x), right = std::max(right, x);
        ASSERT_GT(right, left) << "frame " << frame << ": no banner line";
        // The ink of the line without its trailing blank, centred on x = 320.
        EXPECT_NEAR(left + right, 2 * 320, 12)
            << "frame " << frame << ": " << left << ".." << right;
        EXPECT_GT(right - left, 100) << frame;
        for (int y : {223, 256})  // just above and below the line
            for (int x = 0; x < img.width; ++x) EXPECT_LE(Grey(img, x, y), 60) << frame << " " << x;
    }
}

TEST(ShowPicturesE2E, TheMapStandsCentredOnTheWindowAt640x480AndAt800x600) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    // Frame 1300: every cell revealed, no letters, rings or particles yet. The lit area above
    // the ticker and the device lines is the map; a larger window moves it by half the growth.
    auto litBox = [](const testsupport::Picture& img) {
        int box[4] = {img.width, img.height, -1, -1};
        for (int y = 0; y < img.height - 40; ++y)
            for (int x = 0; x < img.width; ++x)
                if (img.Grey(x, y) > 40) {
                    box[0] = std::min(box[0], x), box[1] = std::min(box[1], y);
                    box[2] = std::max(box[2], x), box[3] = std::max(box[3], y);
                }
        return std::vector<int>(box, box + 4);
    };
    const std::vector<int> small = litBox(Recorded().Shot(1300));
    ASSERT_GT(small[2], small[0]);
    EXPECT_NEAR(small[0] + small[2], 640, 2);
    EXPECT_NEAR(small[1] + small[3], 480, 2);
    const Show large = Record("large", "1300", 1300, {"CORVANE_SCREEN=800x600"}, 800);
    const std::vector<int> big = litBox(large.Shot(1300));
    EXPECT_EQ(big, (std::vector<int>{small[0] + 80, small[1] + 60, small[2] + 80, small[3] + 60}));
}
