#include "game/logo_intro.h"

#include "corvane.h"
#include "game/fade.h"

namespace zan3 {

void LogoIntroStep(LogoIntroState& logo, ShowShared& shared) {
    const int phase = static_cast<int>(logo.phase);
    switch (phase) {
        case 1:
            if (FadeIn(logo.alpha1)) logo.phase = 2;
            break;
        case 2:
            if (Hold(logo.timer, 40)) logo.phase = 3;
            break;
        case 3:
            if (FadeOut(logo.alpha1)) logo.phase = 4;
            break;
        case 4:
            if (Hold(logo.timer, 0)) logo.phase = 5;
            break;
        case 5:
            if (FadeIn(logo.alpha2)) logo.phase = 6;
            break;
        case 6:
            if (Hold(logo.timer, 40)) logo.phase = 7;
            break;
        case 7:
            if (FadeOut(logo.alpha2)) logo.phase = 8;
            break;
        case 8:
            if (Hold(logo.timer, 100)) {
                logo.phase = 9;
                shared.gameState = 1;
                logo.spin1 = logo.spin2 = 0;
                TraceEvent(shared, "ShowStart");
            }
            break;
        default:
            break;
    }
}

namespace {

void DrawStack(double slot, double x, double y, double spin, double sign) {
    for (double d = 0; d <= kLogoCopies; d += 1)
        SpriteDrawRotoZoom(slot, x, y, sign * ((kLogoCopies - d) + spin),
                           kLogoZoomBase + kLogoZoomStep * d);
}

}  // namespace

double LogoIntro(LogoIntroState& logo, ShowShared& shared) {
    if (!logo.started) {
        logo.started = true;
        TraceEvent(shared, "LogoStart");
        SpriteLoad(shared.mediaPath + "image 1.2.png", 1);
        SpriteSizeGet(1, logo.logo1Width, logo.logo1Height);
        SpriteLoad(shared.mediaPath + "image 2.2.png", 2);
        SpriteSizeGet(2, logo.logo2Width, logo.logo2Height);
    }
    LogoIntroStep(logo, shared);
    const double phase = logo.phase;
    BlendModeSet(logo.alpha1);
    if (phase >= 1 && phase <= 3) {
        DrawStack(1, static_cast<int>(shared.centreX - logo.logo1Width * 0.5),
                  static_cast<int>(shared.centreY - logo.logo1Height * 0.5), logo.spin1, 1);
        logo.spin1 -= 0.02;
    }
    BlendModeSet(logo.alpha2);
    if (phase >= 5 && phase <= 7) {
        DrawStack(2, static_cast<int>(shared.centreX - logo.logo2Width * 0.5),
                  static_cast<int>(shared.centreY - logo.logo2Height * 0.5), logo.spin2, -1);
        logo.spin2 -= 0.02;
    }
    BlendModeSet(0);
    return 0;
}

}  // namespace zan3
