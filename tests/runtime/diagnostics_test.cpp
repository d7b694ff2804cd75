// The diagnostics channel: the level filter, once-per-key reports, and the OS layer's reports
// joining the channel after start-up.
#include "runtime/diagnostics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/report.h"

namespace {

std::vector<std::string> heard;

class DiagnosticsTest : public ::testing::Test {
protected:
    void SetUp() override {
        heard.clear();
        DiagSinkSet([](DiagLevel, const std::string& line) { heard.push_back(line); });
    }
    void TearDown() override {
        DiagSinkSet(nullptr);
        DiagLevelSet(DiagLevel::Warning);
    }
};

TEST_F(DiagnosticsTest, TheLevelKeepsWhatIsAtOrAboveIt) {
    struct Case {
        const char* word;
        size_t lines;  // of one error, one warning, one info and one debug line
    } cases[] = {{"quiet", 0}, {"error", 1}, {"warning", 2}, {"info", 3}, {"debug", 4}};
    for (const Case& c : cases) {
        heard.clear();
        DiagStart(c.word);
        DiagError("A", "e");
        DiagWarning("B", "w");
        DiagInfo("C", "i");
        DiagDebug("D", "d");
        EXPECT_EQ(heard.size(), c.lines) << c.word;
    }
    DiagStart("loud");  // an unknown word keeps the level and says so
    EXPECT_EQ(DiagLevelGet(), DiagLevel::Debug);
    EXPECT_EQ(
        heard.back(),
        "warning: CORVANE_LOG: unknown level \"loud\" (quiet, error, warning, info or debug)");
}

TEST_F(DiagnosticsTest, OnceReportsAreSaidOncePerCommandAndKey) {
    for (int frame = 0; frame < 3; ++frame) {
        DiagReportOnce(DiagLevel::Warning, "40", "SpriteDraw", "slot 40 is empty");
        DiagReportOnce(DiagLevel::Warning, "41", "SpriteDraw", "slot 41 is empty");
        DiagReportOnce(DiagLevel::Warning, "40", "AnimDraw", "slot 40 is empty");
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"warning: SpriteDraw: slot 40 is empty",
                                               "warning: SpriteDraw: slot 41 is empty",
                                               "warning: AnimDraw: slot 40 is empty"}));
}

TEST_F(DiagnosticsTest, PlatformReportsGoThroughTheChannelAndItsLevel) {
    DiagStart("error");
    platform::Report(platform::ReportLevel::Warning, "FFmpeg", "off");
    platform::Report(platform::ReportLevel::Error, "window", "none");
    EXPECT_EQ(heard, (std::vector<std::string>{"error: window: none"}));
}

}  // namespace
