// The self-timed screens and the master loop's timeline, driven frame by frame without a
// window: logo intro, status ticker, title banner, stage table, curtain and music fades.
#include <gtest/gtest.h>

#include <string>

#include "game/logo_intro.h"
#include "game/status_ticker.h"
#include "game/timeline.h"
#include "game/title_banner.h"

namespace {

using namespace zan3;

TEST(LogoIntro, PhasesLastTheirFramesAndEndTheIntro) {
    LogoIntroState logo;
    ShowShared shared;
    // Frames spent in phases 1..8: fade in, hold 40, fade out, hold 0, and again, hold 100.
    const int expected[] = {67, 41, 68, 1, 67, 41, 68, 101};
    int frame = 0;
    for (int phase = 1; phase <= 8; ++phase) {
        int spent = 0;
        while (logo.phase == phase && frame < 1000) {
            EXPECT_EQ(shared.gameState, 0) << "frame " << frame;
            LogoIntroStep(logo, shared);
            ++spent;
            ++frame;
        }
        EXPECT_EQ(spent, expected[phase - 1]) << "phase " << phase;
    }
    EXPECT_EQ(frame, 454);
    EXPECT_EQ(logo.phase, 9);
    EXPECT_EQ(shared.gameState, 1);
    // Faded out to about zero, never positive (which would draw additively).
    EXPECT_LE(logo.alpha1, 0);
    EXPECT_GT(logo.alpha1, -0.015);
    LogoIntroStep(logo, shared);
    EXPECT_EQ(logo.phase, 9);
}

TEST(Timeline, IntroDelayMusicRampStagesAndCurtain) {
    ShowShared s;
    LogoIntroState logo;
    int pass = 0, firstLogo = 0;
    while (s.gameState == 0 && pass < 2000) {
        ++pass;
        if (TimelineIntroStep(s)) {
            if (!firstLogo) firstLogo = pass;
            LogoIntroStep(logo, s);
        }
    }
    EXPECT_EQ(firstLogo, 101);
    EXPECT_EQ(pass, 554);
    EXPECT_NEAR(s.musicVolume, 554 * 0.0005, 1e-9);  // the level of the whole show

    struct Stage {
        double ShowShared::*flag;
        int frame;
    };
    const Stage stages[] = {{&ShowShared::stageMapOn, 100},      {&ShowShared::stageItemsOn, 400},
                            {&ShowShared::stageBlinkersOn, 600}, {&ShowShared::stageLettersOn, 800},
                            {&ShowShared::stagePortalsOn, 1000}, {&ShowShared::stageQuakeOn, 1200},
                            {&ShowShared::stageEffectsOn, 1400}, {&ShowShared::stageEnd, 4500}};
    int curtainFrames = 0;
    while (s.stageEffectsOn != 2 && s.showFrame < 6000) {
        TimelineShowStep(s);
        for (const Stage& st : stages)
            EXPECT_EQ(s.*st.flag, s.showFrame >= st.frame ? 1 : 0)
                << "show frame " << s.showFrame << " stage at " << st.frame;
        if (CurtainStep(s)) ++curtainFrames;
        EXPECT_FALSE(TimelineIntroStep(s));  // no logo and no music ramp in the show
    }
    EXPECT_EQ(s.showFrame, 4566);
    EXPECT_EQ(curtainFrames, 67);
    EXPECT_LE(s.curtainAlpha, -1);
    EXPECT_NEAR(s.musicVolume, 554 * 0.0005, 1e-9);
    int fade = 0;
    while (s.musicVolume > 0 && fade < 1000) {
        MusicFadeOutStep(s);
        ++fade;
    }
    EXPECT_EQ(fade, 554);
}

TEST(TitleBanner, ThreeLinesThenDone) {
    TitleBannerState b;
    ShowShared s;
    int frame = 0, lineStart[3] = {0, 0, 0};
    double seenLine = -1;
    while (!s.bannerDone && frame < 2000) {
        TitleBannerStep(b, s);
        ++frame;
        if (b.line != seenLine) {
            seenLine = b.line;
            lineStart[static_cast<int>(b.line)] = frame;
        }
        ASSERT_LE(b.alpha, 0) << "frame " << frame;
    }
    EXPECT_EQ(frame, 860);
    // The first line fades in from -0.015, later ones from about 0.
    EXPECT_EQ(lineStart[1], 67 + 151 + 68);
    EXPECT_EQ(lineStart[2] - lineStart[1], 68 + 151 + 68);
    EXPECT_EQ(b.running, 2);
    const double phase = b.phase;
    TitleBannerStep(b, s);
    EXPECT_EQ(b.phase, phase);
    ASSERT_EQ(b.lines.Count(), 3u);
    EXPECT_STREQ(b.lines(0.0).Text(), "Zan 3 ");
    EXPECT_STREQ(b.lines(2.0).Text(), "Map Engine ");
}

TEST(StatusTicker, TypesHoldsWipesAndWaitsForTheBanner) {
    StatusTickerState t;
    ShowShared s;
    std::string previous;
    int frame = 0, holdRun = 0, longestHold = 0;
    bool sawOk = false;
    while (t.mode != 2 && frame < 5000) {
        ASSERT_EQ(StatusTickerStep(t, s), TickerStep::Running);
        ++frame;
        const std::string text = t.text.Str();
        const bool typing = !text.empty() && text[0] != ' ';
        // Typing adds one character per frame to what was shown.
        if (typing && text != previous && !previous.empty() && previous[0] != ' ') {
            EXPECT_EQ(text.size(), previous.size() + 1) << text;
            EXPECT_EQ(text.compare(0, previous.size(), previous), 0) << text;
        }
        for (double i = 0; typing && i < t.lineCount; i += 1)
            ASSERT_NE(text, t.lines(i).Str()) << "typed the trailing blank";
        if (text == "Ok.") sawOk = true;
        EXPECT_NE(text, "Ok. ");
        holdRun = typing && text == previous ? holdRun + 1 : 0;
        longestHold = std::max(longestHold, holdRun);
        previous = text;
    }
    EXPECT_TRUE(sawOk);
    EXPECT_EQ(longestHold, 151);  // after its last letter a line holds 151 frames
    // Ten lines of typing, holding and wiping after 25 frames of waiting.
    EXPECT_EQ(frame, 25 + 2 * 111 + 10 * 151);
    EXPECT_EQ(t.lineIndex, 10);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(StatusTickerStep(t, s), TickerStep::Running);
    }
    EXPECT_EQ(t.text.Str(), "");
    s.bannerDone = 1;
    int rest = 0;
    while (StatusTickerStep(t, s) == TickerStep::Running && rest < 1000) {
        ++rest;
        if (t.text.Str() == "Mission Complete") {
            EXPECT_EQ(t.shownCount, 16);
        }
    }
    // One frame to notice the banner, 16 + 151 + 16 for the line, then 50 frames.
    EXPECT_EQ(rest + 1, 1 + 16 + 151 + 16 + 50);
}

}  // namespace
