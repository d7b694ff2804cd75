// The show "Zan 3 Map Engine": set-up, then one master-loop pass per frame. The order of the
// calls in a pass is the show's drawing order and must stay as it is.
#include "corvane.h"
#include "game/show.h"
#include "game/timeline.h"

namespace zan3 {

Show& TheShow() {
    static Show show;
    return show;
}

namespace {

void SetUp(Show& show) {
    ShowShared& s = show.shared;
    ScreenSizeGet(s.screenWidth, s.screenHeight);
    s.centreX = s.screenWidth * 0.5;
    s.centreY = s.screenHeight * 0.5;
    s.mediaPath = DirectoryGet();
    s.mediaPath += "media/";
    ShoeboxSet(s.mediaPath + "shoebox.sbx", RtString("shoebox.sbx"));
    FontLoad(s.mediaPath + "Lucida Console 112x88.png", 1);
    FontSizeGet(s.fontCellWidth, s.fontCellHeight);
    FontLoad(s.mediaPath + "Splash 480x240.png", 2);
    FontSizeGet(s.bannerCellWidth, s.bannerCellHeight);
    MusicPlay(s.mediaPath + "music.mp3", 0);
    PointerShow(1);
    s.labelAlpha = s.curtainAlpha = -0.015;
}

void CornerLabels(Show& show) {
    ShowShared& s = show.shared;
    LabelFadeStep(s);
    BlendModeSet(s.labelAlpha);
    TextPrint(show.keyboardLabel,
              s.screenWidth - 10 - StringLength(show.keyboardLabel) * s.fontCellWidth,
              s.screenHeight - 10 - 2 * s.fontCellHeight);
    TextPrint(show.mouseLabel, s.screenWidth - 10 - StringLength(show.mouseLabel) * s.fontCellWidth,
              s.screenHeight - 10 - s.fontCellHeight);
    BlendModeSet(0);
}

void ShowPass(Show& show) {
    ShowShared& s = show.shared;
    TimelineShowStep(s);
    MouseStateGet(show.mouseX, show.mouseY, show.mouseButton1, show.mouseButton2);
    TileSetBuild(show.tiles, s);
    MapPlay(show.map, s);
    if (s.stageEffectsOn == 1) ParticleEffects(show.particles, s);
    CornerLabels(show);
    if (CurtainStep(s)) {
        BlendModeSet(s.curtainAlpha);
        RectDraw(0, 0, static_cast<int>(s.screenWidth), static_cast<int>(s.screenHeight), 0);
        BlendModeSet(0);
    }
    StatusTicker(show.ticker, s);
    if (s.stageEffectsOn == 2) {
        TitleBanner(show.banner, s);
        MusicFadeOutStep(s);
    }
}

}  // namespace

}  // namespace zan3

void GameMain() {
    zan3::Show& show = zan3::TheShow();
    zan3::SetUp(show);
    for (;;) {
        show.shared.pass += 1;
        if (zan3::TimelineIntroStep(show.shared)) zan3::LogoIntro(show.logo, show.shared);
        if (show.shared.gameState == 1) zan3::ShowPass(show);
        MusicVolumeSet(show.shared.musicVolume);
        FramePresent();
    }
}
