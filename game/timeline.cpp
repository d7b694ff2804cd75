#include "game/timeline.h"

#include "game/fade.h"

namespace zan3 {

namespace {

constexpr double kMusicStep = 0.0005;

struct StageEntry {
    double frame;
    double ShowShared::*flag;
    const char* name;
};

constexpr StageEntry kStages[] = {
    {100, &ShowShared::stageMapOn, "StageMapOn"},
    {400, &ShowShared::stageItemsOn, "StageItemsOn"},
    {600, &ShowShared::stageBlinkersOn, "StageBlinkersOn"},
    {800, &ShowShared::stageLettersOn, "StageLettersOn"},
    {1000, &ShowShared::stagePortalsOn, "StagePortalsOn"},
    {1200, &ShowShared::stageQuakeOn, "StageQuakeOn"},
    {1400, &ShowShared::stageEffectsOn, "StageEffectsOn"},
    {4500, &ShowShared::stageEnd, "StageEnd"},
};

}  // namespace

bool TimelineIntroStep(ShowShared& s) {
    if (s.gameState == 0 && s.musicVolume < 1) s.musicVolume += kMusicStep;
    if (s.introDelay < kIntroDelayFrames) {
        s.introDelay += 1;
        return false;
    }
    return s.gameState == 0;
}

void TimelineShowStep(ShowShared& s) {
    s.showFrame += 1;
    for (const StageEntry& e : kStages) {
        if (s.showFrame == e.frame) {
            s.*e.flag = 1;
            TraceEvent(s, e.name);
        }
    }
}

void LabelFadeStep(ShowShared& s) {
    FadeIn(s.labelAlpha);
}

bool CurtainStep(ShowShared& s) {
    if (s.stageEnd != 1) return false;
    if (FadeIn(s.curtainAlpha) && s.stageEffectsOn != 2) {
        s.stageEffectsOn = 2;
        TraceEvent(s, "CurtainClosed");
    }
    return true;
}

void MusicFadeOutStep(ShowShared& s) {
    if (s.musicVolume > 0) s.musicVolume -= kMusicStep;
}

}  // namespace zan3
