// The chunk walk of the WAV reader over hand-built files: what it accepts, where it finds the
// samples, and what it refuses.
#include "sound/wav_reader.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "tests/sound/wav_builder.h"

using namespace wavtest;

namespace {

const std::string kPcm16 = FmtBody(1, 2, 22050, 16);
const std::string kData = "\x01\x02\x03\x04\x05\x06\x07\x08";

struct Accepted {
    const char* what;
    std::string file;
    platform::PcmFormat format;
    size_t offset, bytes;  // where the samples are
};

struct Refused {
    const char* what;
    std::string file;
};

}  // namespace

TEST(WavReader, FindsFormatAndSamplesPastOtherChunks) {
    const std::string ext24 = FmtBody(0xFFFE, 2, 48000, 24, ExtensibleExtra(1, 24));
    const std::string extFloat = FmtBody(0xFFFE, 1, 44100, 32, ExtensibleExtra(3, 32));
    const Accepted cases[] = {
        {"plain", Riff(Chunk("fmt ", kPcm16) + Chunk("data", kData)), {22050, 2, 16, false}, 44, 8},
        {"18-byte fmt and an odd LIST before data",
         Riff(Chunk("fmt ", FmtBody(1, 1, 11025, 8, std::string(2, '\0'))) +
              Chunk("LIST", "INFOabc") + Chunk("data", kData)),
         {11025, 1, 8, false},
         46 + 16,
         8},
        {"chunks before fmt",
         Riff(Chunk("JUNK", "xyz") + Chunk("fmt ", kPcm16) + Chunk("data", kData)),
         {22050, 2, 16, false},
         56,
         8},
        {"extensible 24-bit",
         Riff(Chunk("fmt ", ext24) + Chunk("data", "abcdef")),
         {48000, 2, 24, false},
         68,
         6},
        {"extensible float",
         Riff(Chunk("fmt ", extFloat) + Chunk("data", "abcd")),
         {44100, 1, 32, true},
         68,
         4},
        {"float tag 3",
         Riff(Chunk("fmt ", FmtBody(3, 2, 1000, 32)) + Chunk("data", kData)),
         {1000, 2, 32, true},
         44,
         8},
        {"32-bit at 192 kHz",
         Riff(Chunk("fmt ", FmtBody(1, 1, 192000, 32)) + Chunk("data", "")),
         {192000, 1, 32, false},
         44,
         0},
        {"data longer than the file is cut",
         Riff(Chunk("fmt ", kPcm16)) + Chunk("data", "", 1000) + kData,
         {22050, 2, 16, false},
         44,
         8},
        {"data size near 4 GiB",
         Riff(Chunk("fmt ", kPcm16)) + Chunk("data", "", 0xFFFFFFFF) + kData,
         {22050, 2, 16, false},
         44,
         8},
    };
    for (const Accepted& c : cases) {
        const auto* b = reinterpret_cast<const uint8_t*>(c.file.data());
        WavSound w;
        ASSERT_TRUE(WavParse(b, c.file.size(), w)) << c.what;
        EXPECT_EQ(w.format.rate, c.format.rate) << c.what;
        EXPECT_EQ(w.format.channels, c.format.channels) << c.what;
        EXPECT_EQ(w.format.bitsPerSample, c.format.bitsPerSample) << c.what;
        EXPECT_EQ(w.format.isFloat, c.format.isFloat) << c.what;
        EXPECT_EQ(w.data - b, ptrdiff_t(c.offset)) << c.what;
        EXPECT_EQ(w.bytes, c.bytes) << c.what;
    }
}

TEST(WavReader, RefusesDamageAndWhatTheMixerCannotPlay) {
    const std::string fmt = Chunk("fmt ", kPcm16);
    const std::string data = Chunk("data", kData);
    const Refused cases[] = {
        {"not RIFF", "RIFX" + Riff(fmt + data).substr(4)},
        {"not WAVE", Riff(fmt + data).replace(8, 4, "AVI ")},
        {"too short", "RIFF\x04\0\0\0WAV"},
        {"no data", Riff(fmt)},
        {"no fmt", Riff(data)},
        {"data before fmt", Riff(data + fmt)},
        {"a chunk claims more than remains", Riff(fmt + Chunk("LIST", "abcd", 0xFFFFFFF0) + data)},
        {"fmt claims more than remains", Riff(Chunk("fmt ", kPcm16, 1000) + data)},
        {"fmt shorter than 16", Riff(Chunk("fmt ", kPcm16.substr(0, 14)) + data)},
        {"ADPCM", Riff(Chunk("fmt ", FmtBody(2, 1, 22050, 4)) + data)},
        {"three channels", Riff(Chunk("fmt ", FmtBody(1, 3, 22050, 16)) + data)},
        {"no channels", Riff(Chunk("fmt ", FmtBody(1, 0, 22050, 16)) + data)},
        {"12-bit", Riff(Chunk("fmt ", FmtBody(1, 1, 22050, 12, "", 2)) + data)},
        {"64-bit float", Riff(Chunk("fmt ", FmtBody(3, 1, 22050, 64)) + data)},
        {"16-bit float", Riff(Chunk("fmt ", FmtBody(3, 1, 22050, 16)) + data)},
        {"rate 999", Riff(Chunk("fmt ", FmtBody(1, 1, 999, 16)) + data)},
        {"rate 192,001", Riff(Chunk("fmt ", FmtBody(1, 1, 192001, 16)) + data)},
        {"rate above 2^31", Riff(Chunk("fmt ", FmtBody(1, 1, 0x80000010u, 16)) + data)},
        {"block alignment not the frame size",
         Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 16, "", 8)) + data)},
        {"extensible, other sub-format",
         Riff(Chunk("fmt ", FmtBody(0xFFFE, 1, 22050, 16, ExtensibleExtra(2, 16))) + data)},
        {"extensible, cut short",
         Riff(Chunk("fmt ", FmtBody(0xFFFE, 1, 22050, 16, ExtensibleExtra(1, 16).substr(0, 20))) +
              data)},
        {"extensible, damaged identifier",
         Riff(Chunk("fmt ",
                    FmtBody(0xFFFE, 1, 22050, 16, ExtensibleExtra(1, 16).replace(23, 1, "\x70"))) +
              data)},
    };
    for (const Refused& c : cases) {
        WavSound w;
        EXPECT_FALSE(WavParse(reinterpret_cast<const uint8_t*>(c.file.data()), c.file.size(), w))
            << c.what;
    }
}

// A "fmt " chunk claiming more bytes than the file holds must be refused before its body is
// read: the file ends on a page boundary with an unreadable page after it, so a read past the
// end crashes instead of passing unseen.
TEST(WavReader, AChunkClaimingMoreThanTheFileHoldsIsNotReadPastTheEnd) {
    const std::string ext = FmtBody(0xFFFE, 1, 22050, 16, ExtensibleExtra(1, 16));
    const std::string file = Riff(Chunk("fmt ", ext.substr(0, 18), 40));
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    auto* pages = static_cast<uint8_t*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(pages + page, page, PROT_NONE), 0);
    uint8_t* at = pages + page - file.size();
    std::memcpy(at, file.data(), file.size());
    EXPECT_EXIT(
        {
            WavSound w;
            std::exit(WavParse(at, file.size(), w) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    munmap(pages, 2 * page);
}
