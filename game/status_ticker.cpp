#include "game/status_ticker.h"

#include "corvane.h"
#include "game/fade.h"

namespace zan3 {

namespace {

void LineFinished(StatusTickerState& t) {
    if (t.sub == 0) {
        // Every line but the last runs straight on; the last waits for the banner.
        t.lineIndex += 1;
        if (t.lineIndex >= t.lineCount - 1) {
            t.mode = 2;
            t.sub = 1;
        }
    } else if (t.lineIndex < t.lineCount - 1) {
        t.lineIndex += 1;
    } else {
        t.lineIndex = 0;
        t.mode = 2;
        t.sub = 2;
    }
}

void TypeOrWipe(StatusTickerState& t) {
    if (t.holding) {
        if (Hold(t.counter, 150)) t.holding = 0;
        return;
    }
    const RtString& line = t.lines(t.lineIndex);
    t.lineLen = StringLength(line) - 1;  // the trailing blank is never typed
    if (!t.erasing) {
        t.shownCount += 1;
        if (t.shownCount == t.lineLen) t.erasing = t.holding = 1;
    } else {
        t.startPos += 1;
        if (t.startPos == t.lineLen) {
            t.erasing = 0;
            t.startPos = t.shownCount = 0;
            LineFinished(t);
        }
    }
    RtString text;
    for (double i = 0; i < t.startPos; i += 1) text += " ";
    t.text = text + StringMid(line, t.startPos, t.shownCount);
}

}  // namespace

TickerStep StatusTickerStep(StatusTickerState& t, const ShowShared& shared) {
    if (!t.started) {
        t.started = true;
        t.lineCount = StringSplit(RtString(kTickerText), "/", t.lines);
    }
    if (t.mode == 0) {
        if (Hold(t.counter, 24)) t.mode = 1;  // 25 frames
    } else if (t.mode == 1) {
        TypeOrWipe(t);
    } else if (t.sub == 1) {
        if (shared.bannerDone == 1) t.mode = 1;
    } else if (Hold(t.counter, 49)) {  // 50 frames
        return TickerStep::Finished;
    }
    return TickerStep::Running;
}

double StatusTicker(StatusTickerState& t, ShowShared& shared) {
    const TickerStep step = StatusTickerStep(t, shared);
    FontSet(1);
    TextPrint(t.text, 10, shared.screenHeight - 10 - shared.fontCellHeight);
    if (step == TickerStep::Finished) {
        TraceEvent(shared, "ProgramEnd");
        ProgramEnd();
    }
    return 0;
}

}  // namespace zan3
