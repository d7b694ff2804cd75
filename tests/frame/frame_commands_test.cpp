// Timing commands and the bounded pieces of start-up, without a window.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "corvane.h"
#include "frame/frame_pacing.h"
#include "frame/startup.h"
#include "gfx/gl_ext.h"
#include "gfx/renderer.h"
#include "runtime/runtime_state.h"
#include "runtime/timer.h"

namespace {

double WallMs(void (*fn)(double), double arg) {
    auto a = std::chrono::steady_clock::now();
    fn(arg);
    auto b = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(b - a).count();
}

TEST(FrameRate, DurationsForOrdinaryAndBadRates) {
    auto* r = new Renderer();
    runtimeState.renderer = r;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double fps, duration;
    };
    for (const Case& c :
         {Case{60, 1000.0 / 60}, Case{30, 1000.0 / 30}, Case{0, 2.0}, Case{-5, 2.0}, Case{nan, 2.0},
          Case{30.9, 1000.0 / 30}, Case{-std::numeric_limits<double>::infinity(), 2.0},
          Case{1e300, 1000.0 / 2147483647.0}}) {
        FrameRateSet(c.fps);
        EXPECT_DOUBLE_EQ(FramePacing().frameDuration, c.duration) << "fps " << c.fps;
    }
    runtimeState.renderer = nullptr;
    delete r;
}

TEST(FrameTime, OneWhenBothFrameStartsAreEqualOrReversed) {
    runtimeState.frameStartTime = runtimeState.previousFrameStartTime = 500.0;
    EXPECT_EQ(FrameTimeGet(), 1.0);
    runtimeState.previousFrameStartTime = 600.0;
    EXPECT_EQ(FrameTimeGet(), 1.0);
    runtimeState.previousFrameStartTime = 483.25;
    EXPECT_DOUBLE_EQ(FrameTimeGet(), 16.75);
}

TEST(ProgramSleep, NothingForZeroNegativeOrNaNAndWholeMsOtherwise) {
    EXPECT_LT(WallMs(ProgramSleep, -5), 20.0);
    EXPECT_LT(WallMs(ProgramSleep, -1e300), 20.0);
    EXPECT_LT(WallMs(ProgramSleep, -std::numeric_limits<double>::infinity()), 20.0);
    EXPECT_LT(WallMs(ProgramSleep, std::numeric_limits<double>::quiet_NaN()), 20.0);
    EXPECT_LT(WallMs(ProgramSleep, 0.9), 20.0);
    runtimeState.programStartTime = FrameTimer();
    double before = TimerGet();
    EXPECT_GE(WallMs(ProgramSleep, 2.9), 2.0);
    EXPECT_GE(TimerGet() - before, 2.0);
}

TEST(Timer, CountsFromProgramStartInMilliseconds) {
    runtimeState.programStartTime = FrameTimer();
    double a = TimerGet();
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 50.0);
    ProgramSleep(20);
    EXPECT_GE(TimerGet() - a, 19.5);
}

TEST(Flags, EscapeQuitAndAutoPause) {
    EscapeQuitSet(0);
    EXPECT_FALSE(runtimeState.escapeQuits);
    EscapeQuitSet(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(runtimeState.escapeQuits);
    EscapeQuitSet(0.25);
    EXPECT_TRUE(runtimeState.escapeQuits);
    AutoPauseSet(0);
    EXPECT_FALSE(runtimeState.autoPause);
    AutoPauseSet(1);
    EXPECT_TRUE(runtimeState.autoPause);
}

TEST(CommandLine, TailAfterTheProgramName) {
    const char* none[] = {"/path with blanks/zan3"};
    EXPECT_EQ(CommandLineTail(1, none), "");
    const char* one[] = {"/path with blanks/zan3", "-x"};
    EXPECT_EQ(CommandLineTail(2, one), "-x");
    const char* some[] = {"zan3", "-a", "two words", "", "q\"t"};
    EXPECT_EQ(CommandLineTail(5, some), "-a \"two words\" \"\" \"q\\\"t\"");
}

TEST(ExtLogLine, FixedLayoutAndBoundedForLongNames) {
    char line[128];
    GlExtLogLine(line, sizeof line, "glActiveTextureARB", true);
    EXPECT_STREQ(line, "ext: glActiveTextureARB                    [  OK]");
    GlExtLogLine(line, sizeof line, "glBindFramebufferEXT", false);
    EXPECT_STREQ(line, "ext: glBindFramebufferEXT                  [FAIL]");

    std::string longName(400, 'n');
    char small[72];
    std::memset(small, 'Z', sizeof small);
    GlExtLogLine(small, 64, longName.c_str(), true);
    EXPECT_EQ(std::strlen(small), 63u);
    for (size_t i = 64; i < sizeof small; ++i) EXPECT_EQ(small[i], 'Z') << i;
}

TEST(ExtensionString, PlainSubstringSearch) {
    EXPECT_TRUE(GlExtensionListed("GL_ARB_multitexture GL_EXT_x", "GL_ARB_multitexture"));
    EXPECT_TRUE(GlExtensionListed("GL_ARB_multitexture_x", "GL_ARB_multitexture"));
    EXPECT_FALSE(GlExtensionListed("GL_EXT_x", "GL_ARB_multitexture"));
    EXPECT_FALSE(GlExtensionListed(nullptr, "GL_ARB_multitexture"));
}

TEST(Renderer, DefaultsWithoutAWindow) {
    Renderer r;
    EXPECT_EQ(r.currentTextureSprite, -1);
    EXPECT_EQ(r.currentOffscreenTarget, -1);
    EXPECT_EQ(r.spriteTransparentColour, 0x8000ff);
    EXPECT_EQ(r.smoothing, 1);
    r.Smoothing(7);
    EXPECT_EQ(r.smoothing, 1);
    r.Smoothing(0);
    EXPECT_EQ(r.smoothing, 0);
    EXPECT_EQ(r.initialised, 0);
    EXPECT_FLOAT_EQ(r.currentAlpha, 1.0f);
    EXPECT_NEAR(FramePacing().nextFrameTime, FrameTimer(), 1000.0);
}

}  // namespace
