// A test whose tool is missing is skipped on a developer's machine and fails under CI, where
// bootstrap installs every tool: the probe's one test needs a tool no machine has.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

TEST(SkipWhenMissing, SkipsOnADevelopersMachineAndFailsUnderCi) {
    const std::string probe = std::string(CORVANE_TEST_BIN_DIR) + "/programs/skip_probe";
    const struct {
        const char* ci;
        int exitCode;
        const char* says;
    } cases[] = {{"CI=", 0, "[  SKIPPED ] SkipProbe.NeedsAToolThatIsNeverThere"},
                 {"CI=false", 0, "[  SKIPPED ] SkipProbe.NeedsAToolThatIsNeverThere"},
                 {"CI=true", 1, "needs the no-such-tool command (CI=true: bootstrap installs it)"}};
    for (const auto& c : cases) {
        const testsupport::RunResult r = testsupport::RunProgram(probe, {}, {c.ci});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.ci << "\n" << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << c.ci << "\n" << r.output;
        EXPECT_EQ(r.output.find("went on past"), std::string::npos) << c.ci;
    }
}
