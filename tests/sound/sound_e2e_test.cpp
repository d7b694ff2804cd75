// A whole program plays a sound through start-up's audio output: with SDL's dummy driver,
// with the disk driver (whose file must hold the sound), and with no usable device at all.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_support.h"
#include "tests/sound/sound_fixture.h"

namespace {

struct ProgramRun {
    testsupport::RunResult result;
    std::string wav;
};

ProgramRun PlayWith(const std::string& name, const std::vector<std::string>& env) {
    const std::string dir = testsupport::MakeSubDir(name);
    ProgramRun run;
    run.wav = dir + "/beep.wav";
    EXPECT_TRUE(testsupport::WriteFile(run.wav, wavtest::Wav16(soundtest::Cosine(4410), 1, 22050)));
    run.result = testsupport::RunProgram(testsupport::ProgramPath("sound", "sound_play"), {run.wav},
                                         env, dir, 60000);
    return run;
}

bool HaveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

}  // namespace

TEST(SoundProgram, PlaysThroughTheRuntimesOutput) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const ProgramRun run = PlayWith("dummy", {"SDL_AUDIODRIVER=dummy"});
    EXPECT_EQ(run.result.exitCode, 0) << run.result.output;
    EXPECT_NE(run.result.output.find("loaded=1 first=1280 second=1281 playing=1 ended=1"),
              std::string::npos)
        << run.result.output;
}

TEST(SoundProgram, TheDiskDriverReceivesBothPlays) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const std::string raw = testsupport::MakeSubDir("diskout") + "/out.raw";
    const ProgramRun run = PlayWith("disk", {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + raw});
    ASSERT_EQ(run.result.exitCode, 0) << run.result.output;
    ASSERT_NE(run.result.output.find("loaded=1 first=1280 second=1281 playing=1 ended=1"),
              std::string::npos)
        << run.result.output;
    // Left: the full play plus the half-volume one; right: only the full play (the second is
    // panned hard left). The first full-scale right sample is the sound's first.
    const std::string bytes = testsupport::ReadFile(raw);
    const auto* s = reinterpret_cast<const int16_t*>(bytes.data());
    const size_t frames = bytes.size() / 4;
    size_t at = 0;
    while (at < frames && s[2 * at + 1] == 0) ++at;
    ASSERT_LT(at + 4410, frames);
    const auto cosine = soundtest::Cosine(4410);
    for (size_t i = 0; i < 4410; ++i) ASSERT_EQ(s[2 * (at + i) + 1], cosine[i]) << i;
}

TEST(SoundProgram, WithoutADeviceTheProgramRunsSilently) {
    SKIP_WHEN_MISSING(!HaveDisplay(), "needs a display");
    const ProgramRun run = PlayWith("none", {"SDL_AUDIODRIVER=no-such-driver"});
    EXPECT_EQ(run.result.exitCode, 0) << run.result.output;
    EXPECT_NE(run.result.output.find("loaded=0 first=-1 second=-1 playing=0 ended=1"),
              std::string::npos)
        << run.result.output;
}
