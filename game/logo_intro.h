// The logo intro: two pictures, one after the other, each a spinning stack of 24 zoomed
// copies that fades in, holds and fades out; then a pause, and the show begins.
#pragma once

#include "game/show_shared.h"

namespace zan3 {

struct LogoIntroState {
    bool started = false;
    double phase = 1;
    double alpha1 = -0.015, alpha2 = -0.015;
    double timer = 0;
    double spin1 = 0, spin2 = 0;
    double logo1Width = 0, logo1Height = 0, logo2Width = 0, logo2Height = 0;
};

inline constexpr double kLogoCopies = 23;  // last copy index: 24 copies
inline constexpr double kLogoZoomBase = 2.0;
inline constexpr double kLogoZoomStep = 0.1;

// One frame's phase step; sets GameState to 1 when the intro is over.
void LogoIntroStep(LogoIntroState& logo, ShowShared& shared);

// The sub-program: first call loads the pictures, then step and draw.
double LogoIntro(LogoIntroState& logo, ShowShared& shared);

}  // namespace zan3
