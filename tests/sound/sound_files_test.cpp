// WAV files that other programs wrote load and play at the right length and level: the
// system's sample sounds, and sox's files in every layout the mixer takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "corvane.h"
#include "tests/sound/sound_fixture.h"

using namespace soundtest;

namespace {

double SoxiNumber(const std::string& option, const std::string& path) {
    const auto r = testsupport::RunProgram("/usr/bin/soxi", {option, path});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    return std::atof(r.output.c_str());
}

class SoundFilesTest : public SoundTest {
protected:
    // Plays slot 0 and checks that it sounds for frames (within a few), peaks near peak (or
    // at least sounds, for peak 0) and, when same is set, gives both sides the same samples.
    void ExpectPlaysFor(double frames, double peak, bool same, const std::string& what) {
        ASSERT_EQ(SoundPlay(0, 0, 1), 0) << what;
        const auto out = Advance(size_t(frames) - 3);
        EXPECT_EQ(SoundPlayingGet(0), 1) << what;
        int top = 0;
        for (int16_t v : out) top = std::max(top, std::abs(int(v)));
        if (peak > 0)
            EXPECT_NEAR(top, peak, peak * 0.03) << what;
        else
            EXPECT_GT(top, 1000) << what;
        if (same)
            for (size_t i = 0; i < out.size(); i += 2) ASSERT_EQ(out[i], out[i + 1]) << what;
        Advance(6);
        EXPECT_EQ(SoundPlayingGet(0), 0) << what;
    }
};

}  // namespace

TEST_F(SoundFilesTest, SystemSampleSoundsLoadAndPlay) {
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator("/usr/share/sounds/alsa"))
        if (e.path().extension() == ".wav") files.push_back(e.path().string());
    ASSERT_GE(files.size(), 5u) << "the alsa-utils sample sounds";
    for (const std::string& f : files) {
        const double frames = SoxiNumber("-s", f) * 22050 / SoxiNumber("-r", f);
        const bool mono = SoxiNumber("-c", f) == 1;
        ASSERT_EQ(SoundLoad(RtString(f.c_str()), 0, 1), 1) << f;
        ExpectPlaysFor(frames, 0, mono, f);
    }
}

TEST_F(SoundFilesTest, SoxFilesOfEveryLayoutLoadAtTheirLevel) {
    struct Case {
        const char* what;
        int rate, bits, channels;
        const char* encoding;
        bool addList;  // an odd-sized LIST chunk spliced in before the data
    } cases[] = {
        {"float, 18-byte fmt, fact and LIST", 22050, 32, 1, "floating-point", true},
        {"8-bit unsigned", 11025, 8, 1, "unsigned-integer", false},
        {"24-bit stereo", 22050, 24, 2, "signed-integer", true},
        {"16-bit mono 44.1 kHz", 44100, 16, 1, "signed-integer", false},
        {"32-bit stereo 48 kHz", 48000, 32, 2, "signed-integer", false},
        {"16-bit stereo 8 kHz", 8000, 16, 2, "signed-integer", true},
    };
    for (const Case& c : cases) {
        const std::string path = dir + "/made.wav";
        const auto r = testsupport::RunProgram(
            "/usr/bin/sox", {"-D", "-n", "-r", std::to_string(c.rate), "-b", std::to_string(c.bits),
                             "-e", c.encoding, "-c", std::to_string(c.channels), path, "synth",
                             "0.5", "sine", "440", "vol", "0.5"});
        ASSERT_EQ(r.exitCode, 0) << r.output;
        std::string bytes = testsupport::ReadFile(path);
        if (c.encoding[0] == 'f') ASSERT_EQ(bytes[16], 18) << "sox writes an 18-byte fmt";
        if (c.addList) {
            const size_t data = bytes.find("data", 12);
            ASSERT_NE(data, std::string::npos);
            bytes.insert(data, wavtest::Chunk("LIST", "INFOIART\x01\0\0\0x"));
            const std::string size = [&] {
                std::string s;
                wavtest::Put32(s, uint32_t(bytes.size() - 8));
                return s;
            }();
            bytes.replace(4, 4, size);
            ASSERT_TRUE(testsupport::WriteFile(path, bytes));
        }
        ASSERT_EQ(SoundLoad(RtString(path.c_str()), 0, 1), 1) << c.what;
        ExpectPlaysFor(0.5 * 22050, 16384, true, c.what);  // sox's stereo has equal sides
    }
}
