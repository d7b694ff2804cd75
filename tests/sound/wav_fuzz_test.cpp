// Thousands of damaged WAV files: each is refused or read within its bytes, and what is read
// converts without trouble (run under the sanitizer preset to see reads out of bounds).
#include <gtest/gtest.h>

#include <random>

#include "platform/audio_mixer.h"
#include "platform/pcm_convert.h"
#include "sound/wav_reader.h"
#include "tests/sound/wav_builder.h"

using namespace wavtest;

namespace {

std::vector<std::string> Seeds() {
    std::string ramp;
    for (int i = 0; i < 96; ++i) ramp += char(i * 37);
    return {
        Riff(Chunk("fmt ", FmtBody(1, 1, 22050, 16)) + Chunk("data", ramp)),
        Riff(Chunk("fmt ", FmtBody(1, 2, 11025, 8, std::string(2, '\0'))) +
             Chunk("LIST", "INFOabc") + Chunk("data", ramp.substr(0, 31))),
        Riff(Chunk("JUNK", "12345") +
             Chunk("fmt ", FmtBody(0xFFFE, 2, 48000, 24, ExtensibleExtra(1, 24))) +
             Chunk("data", ramp)),
        Riff(Chunk("fmt ", FmtBody(0xFFFE, 1, 1000, 32, ExtensibleExtra(3, 32))) +
             Chunk("fact", "\x10\0\0\0") + Chunk("data", ramp)),
        Riff(Chunk("fmt ", FmtBody(3, 2, 192000, 32)) + Chunk("data", ramp)),
    };
}

// One random damage: flipped bits, overwritten bytes, extreme size words, a cut, an insertion
// or a deletion.
std::string Mutate(std::string s, std::mt19937& rng) {
    const int edits = 1 + int(rng() % 6);
    for (int e = 0; e < edits && !s.empty(); ++e) {
        const size_t at = rng() % s.size();
        switch (rng() % 7) {
            case 0:
                s[at] = char(s[at] ^ (1 << (rng() % 8)));
                break;
            case 1:
                s[at] = char(rng());
                break;
            case 2:
                if (at + 4 <= s.size()) {
                    const uint32_t extremes[] = {0,          1,          0x7fffffff, 0x80000000,
                                                 0xffffffff, 0xfffffff8, 16,         40};
                    std::string w;
                    Put32(w, extremes[rng() % 8]);
                    s.replace(at, 4, w);
                }
                break;
            case 3:
                s.resize(at);
                break;
            case 4:
                s.insert(at, std::string(1 + rng() % 16, char(rng())));
                break;
            case 5:
                s.erase(at, 1 + rng() % 16);
                break;
            default:
                s[at] = char(s[at] + 1);
                break;
        }
    }
    return s;
}

}  // namespace

TEST(WavFuzz, DamagedFilesFailCleanlyOrStayInBounds) {
    std::mt19937 rng(2468);
    const auto seeds = Seeds();
    platform::AudioMixer mixer(22050);
    int accepted = 0, refused = 0;
    for (int i = 0; i < 8000; ++i) {
        const std::string f = Mutate(seeds[size_t(i) % seeds.size()], rng);
        // An exactly sized copy, so a read past the end is a read past the allocation.
        std::vector<uint8_t> bytes(f.begin(), f.end());
        WavSound w;
        if (!WavParse(bytes.data(), bytes.size(), w)) {
            ++refused;
            continue;
        }
        ++accepted;
        ASSERT_TRUE(platform::PcmFormatPlayable(w.format));
        ASSERT_GE(w.data, bytes.data());
        ASSERT_LE(w.data + w.bytes, bytes.data() + bytes.size());
        const int id = mixer.BufferCreate(w.format, w.data, w.bytes);
        ASSERT_EQ(id != 0, w.bytes >= platform::PcmFrameBytes(w.format));
        mixer.BufferRelease(id);
    }
    EXPECT_GT(accepted, 1000);
    EXPECT_GT(refused, 1000);
}
