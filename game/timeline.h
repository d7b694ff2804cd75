// The master loop's own bookkeeping: the intro delay, the music fade, the show's frame
// counter with its stage table, the corner-label fade and the end curtain.
#pragma once

#include "game/show_shared.h"

namespace zan3 {

// Frames of black before the logo intro.
inline constexpr double kIntroDelayFrames = 100;

// Steps 1 and 2 of a pass before anything is drawn: the music fade-in of the intro and the
// intro delay. True when LogoIntro is due this pass.
bool TimelineIntroStep(ShowShared& s);

// ShowFrame += 1 and the stage flag whose frame it is.
void TimelineShowStep(ShowShared& s);

// The corner labels' fade-in (one step per pass).
void LabelFadeStep(ShowShared& s);

// The end curtain once StageEnd is on: true while it is drawn. Sets StageEffectsOn to 2 when
// it is fully closed.
bool CurtainStep(ShowShared& s);

// The music fade-out during the banner.
void MusicFadeOutStep(ShowShared& s);

}  // namespace zan3
