// Test entry: every test process gets its own TMPDIR before any runtime code runs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_support.h"

// Test binaries are not game programs, but the runtime library names the game's entry.
void GameMain() {}

int main(int argc, char** argv) {
    setenv("TMPDIR", testsupport::TempDir().c_str(), 1);
    if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
