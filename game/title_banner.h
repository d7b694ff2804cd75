// The title banner after the end curtain: three centred lines in the banner font, each
// fading in, holding 151 frames and fading out.
#pragma once

#include "corvane.h"
#include "game/show_shared.h"

namespace zan3 {

inline constexpr const char* kBannerText = "Zan 3 /Version (3.01) /Map Engine ";

struct TitleBannerState {
    bool started = false;
    RtStringArray lines;
    double phase = 0, line = 0;
    double alpha = -0.015;
    double hold = 150;
    double counter = 0;
    double running = 0;  // 2 when finished
};

// One frame; sets shared.bannerDone when the last line has faded out.
void TitleBannerStep(TitleBannerState& b, ShowShared& shared);

double TitleBanner(TitleBannerState& b, ShowShared& shared);

}  // namespace zan3
