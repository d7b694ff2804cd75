// Start-up's fonts: without a system font picture, font 0 is the built-in font.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_support.h"

TEST(FontStartupE2E, BuiltinFontIsFontZeroAndPrints) {
    SKIP_WHEN_MISSING(!std::getenv("DISPLAY"), "needs an X display (xvfb-run)");
    auto r = testsupport::RunProgram(testsupport::ProgramPath("gfx", "font_startup"), {},
                                     {"SDL_AUDIODRIVER=dummy"}, "", 60000);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("font=0\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("cell=8x8\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("underscore=16777215,526344\n"), std::string::npos) << r.output;
}
