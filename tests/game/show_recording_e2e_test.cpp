// The whole show recorded once for the checks that read its frames and trace (ctest runs this
// first: a fixture the picture and timeline checks require).
#include <gtest/gtest.h>

#include <string>

#include "tests/game/whole_show.h"

TEST(ShowRecording, TheWholeShowOnceWithEveryFrameTheChecksRead) {
    SKIP_WHEN_MISSING(!testsupport::HaveDisplay(), "needs a display");
    const testsupport::RunResult r = showtest::RecordWholeShow();
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.output.substr(r.output.size() > 2000 ? r.output.size() - 2000
                                                                       : 0);
    EXPECT_TRUE(testsupport::FileExists(testsupport::ShotPath(showtest::WholeShowDir(), 5550)));
}
