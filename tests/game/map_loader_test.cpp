// The map loader on small INI texts: grid and centring, the reader's and the split's quirks
// kept as the level format has them, and the object lists each code builds.
#include "game/map_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "corvane.h"
#include "support/test_support.h"

namespace {

using namespace zan3;

MapData Load(const std::string& ini, double cx = 320, double cy = 240) {
    static int n = 0;
    const std::string path = testsupport::MakeSubDir("map" + std::to_string(n++)) + "/map.txt";
    EXPECT_TRUE(testsupport::WriteFile(path, ini));
    MapData m;
    MapLoad(m, RtString(path.c_str()), cx, cy);
    return m;
}

std::string Codes(const MapData& m) {
    std::string s;
    for (double i = 0; i < m.cellCount; i += 1) s += "[" + m.codes(i).Str() + "]";
    return s;
}

TEST(MapLoader, GridAndCentring) {
    struct Case {
        const char* name;
        std::string ini;
        std::string codes;
        double firstX, firstY, lastX, lastY;  // cell 0 and the last cell before the final "/"
    };
    const Case cases[] = {
        // Rows closed by "/" and a comma: centred exactly on (320, 240).
        {"closed rows", "[map_1]\n1=a ,b ,c ,/,\n2=d ,e ,f ,/,\n", "[a ][b ][c ][/][d ][e ][f ][/]",
         300, 230, 340, 250},
        // The last row lacks its final "/": centred on its second-to-last cell.
        {"open last row", "[map_1]\n1=a ,b ,c ,/,\n2=d ,e ,f ,\n", "[a ][b ][c ][/][d ][e ][f ]",
         310, 230, 330, 250},
        // No comma after the last code: it is glued to the lookup's NO_DATA and lost.
        {"no final comma", "[map_1]\n1=a ,b ,c ,/,\n2=d ,e ,f\n", "[a ][b ][c ][/][d ][e ]", 320,
         230, 320, 250},
        // A row cannot start with a blank code: the reader drops the blanks, the split the
        // empty piece, and every later cell moves up one place.
        {"blank first", "[map_1]\n1=  ,a ,/,\n2=b ,c ,/,\n", "[a ][/][b ][c ][/]", 310, 230, 330,
         250},
        {"blank letter first", "[map_1]\n1= m,a ,/,\n", "[m][a ][/]", 310, 240, 330, 240},
        // Keys must be consecutive: row 3 is never read.
        {"gap in keys", "[map_1]\n1=a ,/,\n2=b ,/,\n4=c ,/,\n", "[a ][/][b ][/]", 320, 230, 320,
         250},
        // Other sections and keys are not read; key lookups ignore case.
        {"other sections", "[map_2]\n1=x ,/,\n[MAP_1]\n1=a ,b ,/,\nname=x\n", "[a ][b ][/]", 310,
         240, 330, 240},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MapData m = Load(c.ini);
        EXPECT_EQ(Codes(m), c.codes);
        ASSERT_GE(m.cellCount, 2);
        const double last = m.cellCount - 2;
        EXPECT_DOUBLE_EQ(m.cellX(0.0), c.firstX);
        EXPECT_DOUBLE_EQ(m.cellY(0.0), c.firstY);
        EXPECT_DOUBLE_EQ(m.cellX(last), c.lastX);
        EXPECT_DOUBLE_EQ(m.cellY(last), c.lastY);
        for (double i = 0; i < m.cellCount; i += 1) {
            EXPECT_EQ(m.cellBaseX(i), m.cellX(i));
            EXPECT_EQ(m.cellBaseY(i), m.cellY(i));
            EXPECT_EQ(m.cellHalfSize(i), 10);
            EXPECT_EQ(m.cellAlpha(i), -0.015);
            EXPECT_EQ(m.cellDelay(i), 0);
        }
    }
    // The "/" cell keeps the place right of its row's last cell.
    const MapData m = Load("[map_1]\n1=a ,b ,/,\n2=c ,/,\n");
    EXPECT_DOUBLE_EQ(m.cellX(2.0) - m.cellX(0.0), 40);
    EXPECT_DOUBLE_EQ(m.cellX(3.0), m.cellX(0.0));
    EXPECT_DOUBLE_EQ(m.cellY(3.0) - m.cellY(0.0), 20);
}

TEST(MapLoader, CodeTable) {
    struct Case {
        const char* code;
        double sprite;
        bool item, blinker, letter;
    };
    const Case cases[] = {
        {"a ", 10, false, false, false},
        {"z ", 35, false, false, false},
        {"A ", 36, false, false, false},
        {"M ", 48, false, false, false},
        {"N ", 0, false, false, false},
        {"  ", 51, false, false, false},
        {"d1", 51, false, true, false},
        {"d4", 51, false, true, false},
        {"d5", 0, false, false, false},
        {" m", 51, false, false, true},
        {" e", 51, false, false, true},
        {"m?", 0, true, false, true},
        {"e!", 0, true, false, true},
        {"l-", 0, false, false, true},
        {"t+", 0, false, false, true},
        {" ?", 0, true, false, false},
        {" !", 0, true, false, false},
        {"> ", 58, false, false, false},
        {"< ", 58, false, false, false},
        {">1", 59, false, false, false},
        {">4", 62, false, false, false},
        {"/", 0, false, false, false},
        // A different blank count matches nothing.
        {"a", 0, false, false, false},
        {" a", 0, false, false, false},
        {"m", 0, false, false, false},
        {"x?", 0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const RtString code(c.code);
        EXPECT_EQ(GroundSprite(code), c.sprite);
        EXPECT_EQ(IsItemCode(code), c.item);
        EXPECT_EQ(IsBlinkerCode(code), c.blinker);
        EXPECT_EQ(IsLetterCode(code), c.letter);
    }
}

TEST(MapLoader, ObjectListsInMapOrder) {
    RandomSeed(7);
    const MapData m = Load("[map_1]\n1=A ,m?, !,d1,d3,/,\n2=A ,d2,d4, l,e+,/,\n");
    ASSERT_EQ(m.items.size(), 2u);
    EXPECT_EQ(m.items[0].kind.Str(), "?");
    EXPECT_EQ(m.items[1].kind.Str(), "!");
    EXPECT_EQ(m.items[0].x, m.cellX(1.0));
    ASSERT_EQ(m.letters.size(), 3u);
    const char* kinds[] = {"m", "l", "e"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m.letters[i].kind.Str(), kinds[i]);
        EXPECT_EQ(m.letters[i].startLimit, 200);
        EXPECT_GE(m.letters[i].startCounter, 0);
        EXPECT_LE(m.letters[i].startCounter, 200);
        EXPECT_EQ(m.letters[i].alpha, -0.015);
    }
    ASSERT_EQ(m.blinkers.size(), 4u);
    const char* looks[] = {"d1", "d3", "d2", "d4"};
    for (int i = 0; i < 4; ++i) {
        const Blinker& b = m.blinkers[i];
        EXPECT_EQ(b.look.Str(), looks[i]);
        if (looks[i][1] == '1' || looks[i][1] == '2') {
            EXPECT_EQ(b.startLimit, 200);
            EXPECT_EQ(b.alpha, -0.2);
            EXPECT_EQ(b.phase, 0);
        } else {
            // Half of them start fully visible, on their way to faint.
            EXPECT_EQ(b.startLimit, 0);
            EXPECT_EQ(b.alpha, b.startCounter == 1 ? -1.0 : -0.2);
            EXPECT_EQ(b.phase, b.startCounter == 1 ? 4 : 0);
        }
    }
    EXPECT_EQ(m.ringShadowX, 2);
}

}  // namespace

namespace {

TEST(MapLoader, ShippedLevelUsesEveryCode) {
    MapData m;
    MapLoad(m, RtString((std::string(CORVANE_SOURCE_DIR) + "/media/map.txt").c_str()), 320, 240);
    std::set<std::string> codes;
    for (double i = 0; i < m.cellCount; i += 1) codes.insert(m.codes(i).Str());
    std::vector<std::string> table = {"  ", "d1", "d2", "d3", "d4", " ?", " !",
                                      "> ", "< ", ">1", ">2", ">3", ">4", "/"};
    for (char c = 'a'; c <= 'z'; ++c) table.push_back(std::string(1, c) + " ");
    for (char c = 'A'; c <= 'M'; ++c) table.push_back(std::string(1, c) + " ");
    for (char l : std::string("mlste")) {
        table.push_back(std::string(" ") + l);
        for (char s : std::string("?!-+")) table.push_back(std::string(1, l) + s);
    }
    for (const std::string& code : table) {
        EXPECT_TRUE(codes.count(code)) << "'" << code << "'";
    }
    for (const std::string& code : codes)
        EXPECT_TRUE(std::find(table.begin(), table.end(), code) != table.end())
            << "'" << code << "'";
    // Every row closed: centred exactly, and inside the window with room for the labels.
    const double last = m.cellCount - 2;
    EXPECT_DOUBLE_EQ(m.cellX(0.0) + m.cellX(last), 640);
    EXPECT_DOUBLE_EQ(m.cellY(0.0) + m.cellY(last), 480);
    EXPECT_GE(m.cellY(0.0) - 10, 0);
    EXPECT_LE(m.cellY(last) + 10, 480 - 10 - 2 * 11);
    EXPECT_GE(m.letters.size(), 25u);  // every letter code at least once
}

}  // namespace
