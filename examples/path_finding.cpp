// Path finding on a grid.
//
// Shows PathFind: the level is a cost map (0 for a wall, 1 for open ground), PathFind gives
// the cells from the start to the goal, and a walker follows them one cell at a time. Every
// four seconds the goal moves to the next flag and the path is found again from where the
// walker stands. Moves are straight (no diagonals), so a path is as short as the level
// allows in steps.
//
// Run: build/examples/example_path_finding (ESC ends it). The ground and wall tiles come
// from the show's tile sheet, media/map.png.
#include "corvane.h"

namespace {

constexpr double kColumns = 26, kRows = 16, kCell = 22, kLeft = 34, kTop = 70;
constexpr double kTiles = 1, kGrass = 0, kBrick = 26;  // frames of the 22 x 22 tile sheet
constexpr double kPathColour = 0x30D0F0, kStartColour = 0xF08030, kGoalColour = 0x3030F0;

// '#' is a wall. Rows are written top to bottom, so the level reads as it shows.
const char* const kLevel[16] = {
    "##########################", "#........#.......#.......#", "#........#.......#.......#",
    "#...###..#...#...#..###..#", "#...#....#...#......#....#", "#...#........#......#....#",
    "#...#######..#####..#....#", "#.........#......#...#####", "#.........#......#.......#",
    "#####..#..#..#...#.......#", "#......#.....#...####....#", "#......#.....#..........##",
    "#..#######..###.....#....#", "#.......#....#......#....#", "#.......#...........#....#",
    "##########################"};
// Where the goal goes, in turn.
constexpr double kFlags[4][2] = {{23, 2}, {23, 13}, {2, 13}, {2, 2}};

double CellX(double column) {
    return kLeft + column * kCell;
}
double CellY(double row) {
    return kTop + row * kCell;
}

// The outline of a cell, in the marker's colour.
void Frame(double column, double row, double colour) {
    const double x = CellX(column), y = CellY(row);
    RectDraw(x, y, kCell, 2, colour);
    RectDraw(x, y + kCell - 2, kCell, 2, colour);
    RectDraw(x, y, 2, kCell, colour);
    RectDraw(x + kCell - 2, y, 2, kCell, colour);
}

}  // namespace

void GameMain() {
    FontLoad(RtString("media/Lucida Console 112x88.png"), 1);  // clearer than the built-in font
    // An animation strip is a picture cut into equal frames, numbered left to right, row by row.
    AnimLoad(RtString("media/map.png"), kTiles, kCell, kCell);

    // The cost map is indexed (x, y); a cost of 0 or less is a wall.
    RtNumberArray costs;
    ArrayDim(costs, kColumns, kRows);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            costs(column, row) = kLevel[row][column] == '#' ? 0 : 1;

    // PathFind answers the number of cells on the path, start and goal included, and puts
    // them in path(i, 0) = x, path(i, 1) = y. Weight 0.5 is classic A*: cost so far and
    // distance left count alike.
    RtNumberArray path;
    double walkerX = 1, walkerY = 1, startX = 1, startY = 1, flag = 0, step = 0;
    double goalX = kFlags[0][0], goalY = kFlags[0][1];
    double cells = PathFind(costs, path, 0.5, startX, startY, goalX, goalY);

    for (double frame = 0;; ++frame) {
        if (frame > 0 && MathFmod(frame, 240) == 0) {
            flag = MathFmod(flag + 1, 4);
            goalX = kFlags[static_cast<int>(flag)][0];
            goalY = kFlags[static_cast<int>(flag)][1];
            startX = walkerX;
            startY = walkerY;
            // 0 when the goal cannot be reached; the old path then stays in the array.
            cells = PathFind(costs, path, 0.5, startX, startY, goalX, goalY);
            step = 0;
        }
        // One cell every six frames, ten a second.
        if (frame > 0 && MathFmod(frame, 6) == 0 && step < cells - 1) {
            ++step;
            walkerX = path(step, 0);
            walkerY = path(step, 1);
        }

        RectDraw(0, 0, 640, 480, 0x201410);
        TextPrint(RtString("PathFind: the shortest way to the red flag, walls are bricks"), 34, 30);
        for (double row = 0; row < kRows; ++row)
            for (double column = 0; column < kColumns; ++column)
                AnimDraw(kTiles, costs(column, row) > 0 ? kGrass : kBrick, CellX(column),
                         CellY(row));
        for (double i = 0; i < cells; ++i)
            RectDraw(CellX(path(i, 0)) + 8, CellY(path(i, 1)) + 8, 6, 6, kPathColour);
        Frame(startX, startY, kStartColour);
        Frame(goalX, goalY, kGoalColour);
        RectDraw(CellX(walkerX) + 5, CellY(walkerY) + 5, 12, 12, 0xFFFFFF);
        TextPrint(RtString("cells on the path:"), 34, 440);
        NumberPrint(cells, 190, 440);
        FramePresent();
    }
}
