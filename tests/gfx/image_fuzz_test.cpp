// Thousands of damaged BMP and PNG files: every one must be refused or decoded within its
// limits, never crash or read out of bounds (run under the sanitizer preset to see the latter).
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "gfx/bmp_reader.h"
#include "gfx/png_io.h"
#include "image_builders.h"
#include "support/test_support.h"

using namespace gfxtest;

namespace {

constexpr int kMaxSide = 256;

std::vector<std::string> BmpSeeds() {
    const std::vector<uint32_t> pal = {0x112233, 0x445566, 0x778899, 0xaabbcc};
    auto ramp = [](int bytes) {
        return [bytes](int y) {
            std::string r(bytes, '\0');
            for (int i = 0; i < bytes; ++i) r[i] = static_cast<char>(i * 7 + y * 3);
            return r;
        };
    };
    std::vector<std::string> seeds = {
        BmpInfo(13, 5, 1, pal, ramp(2)), BmpInfo(7, 6, 4, pal, ramp(4)),
        BmpInfo(9, 4, 8, pal, ramp(9)),  BmpInfo(5, 3, 24, {}, ramp(15)),
        BmpInfo(3, 3, 32, {}, ramp(12)), BmpInfo(4, 2, 24, {}, ramp(12), -2),
    };
    // A core-header picture with its palette beyond the first 40 bytes.
    std::string core(14 + 12 + 60 + 6 * 8, '\0');
    core[0] = 'B';
    core[1] = 'M';
    Put32(core, 10, 14 + 12 + 60);
    Put32(core, 14, 12);
    Put16(core, 18, 6);
    Put16(core, 20, 8);
    Put16(core, 22, 1);
    Put16(core, 24, 4);
    for (size_t i = 26; i < core.size(); ++i) core[i] = static_cast<char>(i * 13);
    seeds.push_back(core);
    return seeds;
}

std::vector<std::string> PngSeeds() {
    const std::string dir = testsupport::MakeSubDir("fuzzseeds");
    std::vector<std::string> seeds;
    auto add = [&](int w, int h, int type, int depth, std::vector<std::string> rows,
                   std::vector<png_color> pal = {}, std::vector<uint8_t> trns = {}) {
        const std::string p = dir + "/seed.png";
        if (PngWrite(p, w, h, type, depth, rows, pal, trns))
            seeds.push_back(testsupport::ReadFile(p));
    };
    std::vector<std::string> rgb;
    for (int y = 0; y < 12; ++y) {
        std::string r;
        for (int x = 0; x < 17; ++x) r += std::string{char(x * 9), char(y * 20), char(x + y)};
        rgb.push_back(r);
    }
    add(17, 12, PNG_COLOR_TYPE_RGB, 8, rgb);
    add(3, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, SolidRows(3, 2, std::string{1, 2, 3, 4}));
    add(5, 3, PNG_COLOR_TYPE_PALETTE, 2,
        {std::string(2, '\x1b'), std::string(2, '\x6c'), std::string(2, '\xe4')},
        {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}, {0, 128});
    add(2, 2, PNG_COLOR_TYPE_RGB, 16, SolidRows(2, 2, std::string{1, 2, 3, 4, 5, 6}));
    add(9, 1, PNG_COLOR_TYPE_GRAY, 1, {std::string{char(0xa5), char(0x80)}});
    add(2, 2, PNG_COLOR_TYPE_GRAY_ALPHA, 8, SolidRows(2, 2, std::string{9, 9}));
    return seeds;
}

// One random damage: flipped bits, overwritten bytes, extreme header words, a cut, an
// insertion or a deletion.
std::string Mutate(std::string s, std::mt19937& rng) {
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int e = 0; e < edits && !s.empty(); ++e) {
        const size_t at = rng() % s.size();
        switch (rng() % 7) {
            case 0:
                s[at] = static_cast<char>(s[at] ^ (1 << (rng() % 8)));
                break;
            case 1:
                s[at] = static_cast<char>(rng());
                break;
            case 2:
                if (at + 4 <= s.size()) {
                    const uint32_t extremes[] = {0,          1,     0x7fffffff, 0x80000000,
                                                 0xffffffff, 40000, 65535};
                    Put32(s, at, extremes[rng() % 7]);
                }
                break;
            case 3:
                s.resize(at);
                break;
            case 4:
                s.insert(at, std::string(1 + rng() % 16, static_cast<char>(rng())));
                break;
            case 5:
                s.erase(at, 1 + rng() % 16);
                break;
            default:
                s[at] = static_cast<char>(s[at] + 1);
                break;
        }
    }
    return s;
}

// Makes every chunk's CRC right again, so the damage reaches the header, palette and
// image-data parsing instead of stopping at the first checksum.
void FixPngCrcs(std::string& s) {
    size_t at = 8;
    while (at + 12 <= s.size()) {
        const uint32_t len = (uint8_t(s[at]) << 24) | (uint8_t(s[at + 1]) << 16) |
                             (uint8_t(s[at + 2]) << 8) | uint8_t(s[at + 3]);
        if (len > s.size() - at - 12) break;
        const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(s.data() + at + 4), len + 4);
        for (int i = 0; i < 4; ++i) s[at + 8 + len + i] = static_cast<char>(crc >> (24 - 8 * i));
        at += 12 + len;
    }
}

void ExpectSane(bool ok, const DecodedImage& img) {
    if (!ok) return;
    ASSERT_GT(img.width, 0);
    ASSERT_GT(img.height, 0);
    ASSERT_LE(img.width, kMaxSide);
    ASSERT_LE(img.height, kMaxSide);
    ASSERT_EQ(img.pixels.size(), size_t(img.width) * img.height * 4);
}

}  // namespace

TEST(ImageFuzz, DamagedBmpFilesFailCleanlyOrStayInBounds) {
    std::mt19937 rng(1234);
    const auto seeds = BmpSeeds();
    int accepted = 0, refused = 0;
    for (int i = 0; i < 6000; ++i) {
        const std::string f = Mutate(seeds[i % seeds.size()], rng);
        DecodedImage img;
        // Exactly sized copies, so a read past the end is a read past the allocation.
        std::vector<uint8_t> bytes(f.begin(), f.end());
        const bool ok = BmpDecode(bytes.data(), bytes.size(), i % 2 ? 0x112233 : -1, kMaxSide, img);
        ExpectSane(ok, img);
        (ok ? accepted : refused)++;
    }
    // The damage is mixed: some files survive it, most do not.
    EXPECT_GT(accepted, 100);
    EXPECT_GT(refused, 100);
}

TEST(ImageFuzz, DamagedPngFilesFailCleanlyOrStayInBounds) {
    std::mt19937 rng(5678);
    const auto seeds = PngSeeds();
    ASSERT_EQ(seeds.size(), 6u);
    int accepted = 0, refused = 0;
    testing::internal::CaptureStdout();  // depth and colour-type refusals print two lines
    for (int i = 0; i < 6000; ++i) {
        std::string f = Mutate(seeds[i % seeds.size()], rng);
        if (i % 4 != 0) FixPngCrcs(f);
        std::vector<uint8_t> bytes(f.begin(), f.end());
        DecodedImage img;
        const bool ok =
            PngDecode(bytes.data(), bytes.size(), "fuzz", i % 2 ? 0x010203 : -1, kMaxSide, img);
        ExpectSane(ok, img);
        (ok ? accepted : refused)++;
    }
    testing::internal::GetCapturedStdout();
    EXPECT_GT(accepted, 50);
    EXPECT_GT(refused, 1000);
}
