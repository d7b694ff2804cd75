// A test that needs a tool no machine has: skipped on a developer's machine, failed under CI.
#include <gtest/gtest.h>

#include "support/test_support.h"

TEST(SkipProbe, NeedsAToolThatIsNeverThere) {
    SKIP_WHEN_MISSING(true, "needs the no-such-tool command");
    ADD_FAILURE() << "went on past a missing tool";
}
