// The status ticker: lines at the bottom-left that type in one character per frame, hold,
// and are wiped from the left. Its last line waits for the title banner; the end of that
// line, and 50 frames more, end the program.
#pragma once

#include "corvane.h"
#include "game/show_shared.h"

namespace zan3 {

inline constexpr const char* kTickerText =
    "Hello, people /This - my next DEMO /Status: /Menu - 75% /New Map - 50% /New AI - 25% "
    "/Map Builder - 50% /Effect - 75% /Ok. /Enjoy /Mission Complete ";

struct StatusTickerState {
    bool started = false;
    RtStringArray lines;
    double lineCount = 0;
    double mode = 0, sub = 0;
    double lineIndex = 0, lineLen = 0;
    double shownCount = 0, startPos = 0;
    double erasing = 0, holding = 0;
    double counter = 0;
    RtString text;
};

enum class TickerStep { Running, Finished };

// Splits the lines (first call) and steps one frame. Finished when the program is to end.
TickerStep StatusTickerStep(StatusTickerState& t, const ShowShared& shared);

// The sub-program: step, draw, and ProgramEnd when the ticker has finished.
double StatusTicker(StatusTickerState& t, ShowShared& shared);

}  // namespace zan3
