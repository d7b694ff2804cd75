// What the sub-programs of the show share: screen geometry, the media folder, font cells,
// the timeline's state and stage flags.
#pragma once

#include "corvane.h"

namespace zan3 {

struct ShowShared {
    double screenWidth = 640, screenHeight = 480;
    double centreX = 320, centreY = 240;
    RtString mediaPath;
    double fontCellWidth = 0, fontCellHeight = 0;
    double bannerCellWidth = 0, bannerCellHeight = 0;

    double introDelay = 0;
    double gameState = 0;  // 0 intro, 1 show
    double showFrame = 0;
    double stageMapOn = 0, stageItemsOn = 0, stageBlinkersOn = 0, stageLettersOn = 0;
    double stagePortalsOn = 0, stageQuakeOn = 0, stageEffectsOn = 0, stageEnd = 0;
    double musicVolume = 0;
    double labelAlpha = -0.015, curtainAlpha = -0.015;
    double bannerDone = 0;

    // Master-loop passes so far (the pass being run, counting from 1); only the trace uses it.
    long pass = 0;
};

// One trace line ("frame <pass> <event>") on stdout when ZAN3_TRACE is set, so a test can
// follow the timeline of a run; nothing otherwise.
void TraceEvent(const ShowShared& shared, const char* event);

}  // namespace zan3
