// PathFind on runtime arrays: the map is read as map(x, y) and the path written as (n, 2).
#include <gtest/gtest.h>

#include "corvane.h"

namespace {

// 4 x 3, all cost 1 except the blocked column x = 1 in rows 0 and 1.
RtNumberArray WallMap() {
    RtNumberArray map;
    ArrayDim(map, 4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) map(x, y) = 1;
    map(1, 0) = 0;
    map(1, 1) = -2;
    return map;
}

}  // namespace

TEST(PathFindCommand, WritesTheDetourAsPointsFromStartToGoal) {
    RtNumberArray map = WallMap();
    RtNumberArray path;
    ASSERT_EQ(PathFind(map, path, 0.5, 0, 0, 2, 0), 7.0);
    ASSERT_EQ(ArraySize(path, 0), 7.0);
    ASSERT_EQ(ArraySize(path, 1), 2.0);
    const int expect[7][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(path(i, 0), expect[i][0]) << i;
        EXPECT_EQ(path(i, 1), expect[i][1]) << i;
    }
}

TEST(PathFindCommand, FailureLeavesThePathArrayAsItWas) {
    RtNumberArray map = WallMap();
    map(1, 2) = 0;  // the wall now closes the map
    RtNumberArray path;
    ArrayDim(path, 3);
    path(2) = 42;
    EXPECT_EQ(PathFind(map, path, 0.5, 0, 0, 2, 0), 0.0);
    EXPECT_EQ(ArraySize(path, 0), 3.0);
    EXPECT_EQ(path(2), 42.0);
    // Start equal to goal, and a goal outside the map.
    EXPECT_EQ(PathFind(WallMap(), path, 0.5, 0, 0, 0, 0), 0.0);
    EXPECT_EQ(PathFind(WallMap(), path, 0.5, 0, 0, 4, 0), 0.0);
}
