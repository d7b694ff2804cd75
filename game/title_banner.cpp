#include "game/title_banner.h"

#include "corvane.h"
#include "game/fade.h"

namespace zan3 {

void TitleBannerStep(TitleBannerState& b, ShowShared& shared) {
    if (!b.started) {
        b.started = true;
        StringSplit(RtString(kBannerText), "/", b.lines);
    }
    if (b.running != 0) return;
    // Three phases per line: fade in, hold, fade out.
    const int phase = static_cast<int>(b.phase);
    switch (phase % 3) {
        case 0:
            if (FadeIn(b.alpha)) b.phase += 1;
            break;
        case 1:
            if (Hold(b.counter, b.hold)) b.phase += 1;
            break;
        default:
            if (FadeOut(b.alpha)) {
                b.phase += 1;
                if (b.phase < 9) {
                    b.line += 1;
                } else {
                    b.running = 2;
                    shared.bannerDone = 1;
                    TraceEvent(shared, "BannerDone");
                }
            }
            break;
    }
}

double TitleBanner(TitleBannerState& b, ShowShared& shared) {
    TitleBannerStep(b, shared);
    const RtString& line = b.lines(b.line);
    const double n = StringLength(line) - 1;
    FontSet(2);
    BlendModeSet(b.alpha);
    TextPrint(line, shared.centreX - n * shared.bannerCellWidth * 0.5,
              shared.centreY - shared.bannerCellHeight * 0.5);
    BlendModeSet(0);
    return 0;
}

}  // namespace zan3
