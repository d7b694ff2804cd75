// The BMP and PNG readers against pictures written independently.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "gfx/bmp_reader.h"
#include "gfx/image_file.h"
#include "gfx/png_io.h"
#include "image_builders.h"
#include "support/test_support.h"

using namespace gfxtest;

namespace {

bool Decode(const std::string& bytes, int transparent, DecodedImage& img, int maxSide = 32767) {
    return BmpDecode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), transparent,
                     maxSide, img);
}

std::string Rgb(int r, int g, int b) {
    return std::string{static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
}

uint32_t At(const DecodedImage& img, int x, int y) {
    const uint8_t* p = img.Pixel(x, y);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

TEST(BmpReader, TwentyFourBitRowsArePaddedAndStoredBottomUp) {
    // 3 pixels wide: 9 bytes of pixels, 12-byte rows. Row 0 (bottom) red, row 1 green.
    std::string bmp = BmpInfo(3, 2, 24, {}, [](int y) {
        std::string p = y == 0 ? Rgb(255, 0, 0) : Rgb(0, 255, 0);
        return p + p + p;
    });
    ASSERT_EQ(bmp.size(), 54u + 24u);
    DecodedImage img;
    ASSERT_TRUE(Decode(bmp, -1, img));
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(At(img, 0, 0), 0xff00ff00u);  // top row is the last stored one: green
    EXPECT_EQ(At(img, 2, 1), 0xff0000ffu);  // bottom row red
    bmp.pop_back();                         // one byte short of the last row
    EXPECT_FALSE(Decode(bmp, -1, img));
}

TEST(BmpReader, PalettedDepthsAndTransparentColour) {
    const std::vector<uint32_t> pal = {0x000000, 0xff0080, 0x00ff00, 0x123456};
    // 1 bit, 8 pixels wide: one byte per row padded to 4.
    std::string one = BmpInfo(8, 1, 1, pal, [](int) { return std::string(1, char(0xA5)); });
    DecodedImage img;
    ASSERT_TRUE(Decode(one, -1, img));
    EXPECT_EQ(one.size(), 54u + 16u + 4u);
    for (int x = 0; x < 8; ++x) {
        const bool set = (0xA5 >> (7 - x)) & 1;
        EXPECT_EQ(At(img, x, 0), set ? 0xff8000ffu : 0xff000000u) << x;
    }
    // 4 bits, high nibble first; index 1 is the transparent colour 0x8000ff.
    std::string four = BmpInfo(3, 1, 4, pal, [](int) {
        return std::string{char(0x13), char(0x20)};
    });
    ASSERT_TRUE(Decode(four, 0x8000ff, img));
    EXPECT_EQ(At(img, 0, 0), 0u);  // transparent
    EXPECT_EQ(At(img, 1, 0), 0xff563412u);
    EXPECT_EQ(At(img, 2, 0), 0xff00ff00u);
    // 8 bits with an index past the four-entry palette: black, not a read out of bounds.
    std::string eight = BmpInfo(2, 1, 8, pal, [](int) { return std::string{char(3), char(200)}; });
    ASSERT_TRUE(Decode(eight, -1, img));
    EXPECT_EQ(At(img, 0, 0), 0xff563412u);
    EXPECT_EQ(At(img, 1, 0), 0xff000000u);
}

TEST(BmpReader, ThirtyTwoBitIgnoresFourthByteAndCoreHeaderWorks) {
    std::string bmp = BmpInfo(1, 1, 32, {}, [](int) { return Rgb(1, 2, 3) + '\x07'; });
    DecodedImage img;
    ASSERT_TRUE(Decode(bmp, -1, img));
    EXPECT_EQ(At(img, 0, 0), 0xff030201u);
    // Core header: 12 bytes, 16-bit sizes, 3-byte palette entries (2^bits of them).
    std::string core(14 + 12 + 6 + 4, '\0');
    core[0] = 'B';
    core[1] = 'M';
    Put32(core, 10, 14 + 12 + 6);
    Put32(core, 14, 12);
    Put16(core, 18, 2);
    Put16(core, 20, 1);
    Put16(core, 22, 1);
    Put16(core, 24, 1);
    core[26] = 9, core[27] = 8, core[28] = 7;     // entry 0: b g r
    core[29] = 30, core[30] = 20, core[31] = 10;  // entry 1
    core[32] = char(0x40);                        // pixels 0, 1
    // The palette sits in the first 40 bytes after the file header, so it is not read.
    ASSERT_TRUE(Decode(core, -1, img));
    EXPECT_EQ(At(img, 0, 0), 0xff000000u);
}

TEST(BmpReader, RefusesBadSizesDepthsAndHeaders) {
    DecodedImage img;
    auto row = [](int) { return std::string(4, '\x10'); };
    EXPECT_FALSE(Decode(BmpInfo(1, 1, 16, {}, row), -1, img));  // 16 bits unsupported
    std::string bmp = BmpInfo(1, 1, 24, {}, row);
    Put32(bmp, 18, 0);
    EXPECT_FALSE(Decode(bmp, -1, img));  // zero width
    Put32(bmp, 18, 40000);
    EXPECT_FALSE(Decode(bmp, -1, img));  // beyond the 16-bit slot fields
    Put32(bmp, 18, 0x7fffffff);
    Put32(bmp, 22, 0x7fffffff);
    EXPECT_FALSE(Decode(bmp, -1, img));  // a buffer size that would overflow
    Put32(bmp, 18, 64);
    Put32(bmp, 22, 1);
    EXPECT_FALSE(Decode(bmp, -1, img, 32));  // above the maximum texture size
    bmp = BmpInfo(1, 1, 24, {}, row);
    Put32(bmp, 14, 108);
    EXPECT_FALSE(Decode(bmp, -1, img));  // other header sizes
    bmp[1] = 'X';
    EXPECT_FALSE(Decode(bmp, -1, img));
}

TEST(BmpReader, NegativeHeightCountsAsItsSizeRowsStayBottomUp) {
    std::string bmp = BmpInfo(
        1, 2, 24, {}, [](int y) { return y == 0 ? Rgb(255, 0, 0) : Rgb(0, 0, 255); }, -2);
    DecodedImage img;
    ASSERT_TRUE(Decode(bmp, -1, img));
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(At(img, 0, 0), 0xffff0000u);  // last stored row is the top, as always
    EXPECT_EQ(At(img, 0, 1), 0xff0000ffu);
}

class PngReader : public ::testing::Test {
protected:
    std::string Path(const char* name) { return testsupport::TempDir() + "/" + name; }
    bool Load(const std::string& path, int transparent, DecodedImage& img) {
        return ImageDecodeFile(path, transparent, 32767, img);
    }
};

TEST_F(PngReader, RgbUsesTransparentColourRgbaKeepsItsAlpha) {
    const std::string rgb = Path("rgb.png"), rgba = Path("rgba.png");
    ASSERT_TRUE(PngWrite(rgb, 100, 30, PNG_COLOR_TYPE_RGB, 8,
                         SolidRows(100, 30, std::string{char(255), 0, char(128)})));
    ASSERT_TRUE(PngWrite(rgba, 2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8,
                         SolidRows(2, 1, std::string{char(255), 0, char(128), char(77)})));
    DecodedImage img;
    ASSERT_TRUE(Load(rgb, 0x8000ff, img));
    EXPECT_EQ(img.width, 100);
    EXPECT_EQ(img.height, 30);
    EXPECT_EQ(At(img, 50, 10), 0u);
    ASSERT_TRUE(Load(rgb, -1, img));
    EXPECT_EQ(At(img, 50, 10), 0xff8000ffu);
    ASSERT_TRUE(Load(rgba, 0x8000ff, img));
    EXPECT_EQ(At(img, 1, 0), 0x4d8000ffu);
}

TEST_F(PngReader, SixteenBitPaletteAndGreyLoadGreyAlphaFails) {
    const std::string p16 = Path("p16.png"), pal = Path("pal.png"), grey = Path("grey.png"),
                      ga = Path("ga.png"), g2 = Path("g2.png");
    ASSERT_TRUE(PngWrite(p16, 1, 1, PNG_COLOR_TYPE_RGB, 16,
                         {std::string{char(0xab), char(0xcd), 0x12, 0x34, 0x56, 0x78}}));
    ASSERT_TRUE(PngWrite(pal, 2, 1, PNG_COLOR_TYPE_PALETTE, 4, {std::string{char(0x01)}},
                         {{10, 20, 30}, {40, 50, 60}}, {128}));
    ASSERT_TRUE(PngWrite(grey, 1, 1, PNG_COLOR_TYPE_GRAY, 8, {std::string{char(99)}}));
    ASSERT_TRUE(PngWrite(g2, 4, 1, PNG_COLOR_TYPE_GRAY, 2, {std::string{char(0x1b)}}));
    ASSERT_TRUE(PngWrite(ga, 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {std::string{char(9), char(9)}}));
    DecodedImage img;
    ASSERT_TRUE(Load(p16, -1, img));
    EXPECT_EQ(At(img, 0, 0), 0xff5612abu);
    ASSERT_TRUE(Load(pal, -1, img));
    EXPECT_EQ(At(img, 0, 0), 0x801e140au);  // transparency chunk became alpha
    EXPECT_EQ(At(img, 1, 0), 0xff3c3228u);
    ASSERT_TRUE(Load(grey, -1, img));
    EXPECT_EQ(At(img, 0, 0), 0xff636363u);
    ASSERT_TRUE(Load(g2, -1, img));  // 2-bit grey expands to 0, 85, 170, 255
    EXPECT_EQ(At(img, 1, 0), 0xff555555u);
    EXPECT_EQ(At(img, 3, 0), 0xffffffffu);
    EXPECT_FALSE(Load(ga, -1, img));
}

TEST_F(PngReader, CorruptTruncatedAndOversizedFilesFailCleanly) {
    const std::string good = Path("good.png");
    ASSERT_TRUE(
        PngWrite(good, 64, 64, PNG_COLOR_TYPE_RGB, 8, SolidRows(64, 64, std::string{1, 2, 3})));
    std::string bytes = testsupport::ReadFile(good);
    DecodedImage img;
    for (size_t cut : {size_t{8}, size_t{33}, bytes.size() / 2, bytes.size() - 13}) {
        const std::string p = Path("cut.png");
        ASSERT_TRUE(testsupport::WriteFile(p, bytes.substr(0, cut)));
        EXPECT_FALSE(Load(p, -1, img)) << cut;
    }
    std::string flipped = bytes;
    for (size_t i = 60; i < flipped.size() - 20; i += 7) flipped[i] ^= 0x5a;
    const std::string p = Path("flip.png");
    ASSERT_TRUE(testsupport::WriteFile(p, flipped));
    EXPECT_FALSE(Load(p, -1, img));
    // A picture above the side limit is refused by the reader's user limits.
    EXPECT_FALSE(
        PngDecode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), "x", -1, 32, img));
    EXPECT_FALSE(Load(testsupport::TempDir(), -1, img));  // a folder is not a picture
}

namespace {

uint32_t Crc(const std::string& bytes) {
    uint32_t c = 0xffffffffu;
    for (unsigned char b : bytes) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1u)));
    }
    return ~c;
}

std::string Chunk(const std::string& type, const std::string& data) {
    std::string len(4, '\0'), crc(4, '\0');
    for (int i = 0; i < 4; ++i) len[i] = static_cast<char>(data.size() >> (24 - 8 * i));
    const uint32_t c = Crc(type + data);
    for (int i = 0; i < 4; ++i) crc[i] = static_cast<char>(c >> (24 - 8 * i));
    return len + type + data + crc;
}

// A PNG that only declares its size: IHDR, one tiny IDAT (a zlib stream of a single zero
// byte) and IEND.
std::string DeclaringPng(uint32_t width, uint32_t height, int colourType) {
    std::string ihdr(13, '\0');
    for (int i = 0; i < 4; ++i) {
        ihdr[i] = static_cast<char>(width >> (24 - 8 * i));
        ihdr[4 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    ihdr[8] = 8;
    ihdr[9] = static_cast<char>(colourType);
    const std::string idat{0x78, 0x01, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01};
    return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", ihdr) + Chunk("IDAT", idat) +
           Chunk("IEND", "");
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressLimitWorks = false;  // the sanitizer reserves terabytes up front
#else
constexpr bool kAddressLimitWorks = true;
#endif

}  // namespace

TEST(ImageBudget, DeclaredSizesBeyondTheBudgetFailBeforeAnyAllocation) {
    const std::string bomb = DeclaringPng(16384, 16384, PNG_COLOR_TYPE_RGB_ALPHA);
    ASSERT_LT(bomb.size(), 70u);
    // Under a 1 GB address-space limit the 1 GiB the file declares cannot even be tried: the
    // decoder must say no by itself, and the process must go on.
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (kAddressLimitWorks) {
            rlimit lim{1000000ull * 1024, 1000000ull * 1024};
            setrlimit(RLIMIT_AS, &lim);
        }
        try {
            DecodedImage img;
            const bool ok = PngDecode(reinterpret_cast<const uint8_t*>(bomb.data()), bomb.size(),
                                      "bomb", -1, 32767, img);
            _exit(ok ? 1 : 0);
        } catch (...) {
            _exit(2);  // what would have ended a program
        }
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    // Within the side limit but over 256 MiB of pixels, and over the side limit: both refused
    // (the stored data would not fill them either, but the budget speaks first).
    DecodedImage img;
    struct Case {
        uint32_t w, h;
        int type;
    };
    for (const Case& c : {Case{8192, 8193, PNG_COLOR_TYPE_RGB}, Case{16385, 1, PNG_COLOR_TYPE_GRAY},
                          Case{1, 16385, PNG_COLOR_TYPE_RGB_ALPHA}}) {
        const std::string png = DeclaringPng(c.w, c.h, c.type);
        EXPECT_FALSE(PngDecode(reinterpret_cast<const uint8_t*>(png.data()), png.size(), "big", -1,
                               32767, img))
            << c.w << "x" << c.h;
    }
    // A BMP's rows are all there (1 bit per pixel), yet 16,385 pixels wide is one too many.
    const std::string wide = BmpInfo(16385, 2, 1, {0, 0xffffff}, [](int) { return std::string(); });
    EXPECT_FALSE(Decode(wide, -1, img));
    const std::string fits = BmpInfo(16384, 2, 1, {0, 0xffffff}, [](int) { return std::string(); });
    EXPECT_TRUE(Decode(fits, -1, img));
    EXPECT_EQ(img.width, 16384);
}

TEST(ImageSave, BmpAndPngEncodersRoundTripThroughTheReaders) {
    // 5 x 2 BGR rows, bottom first, row length 8 (as read from a wider texture).
    std::vector<uint8_t> bgr(8 * 2 * 3, 0);
    for (int x = 0; x < 5; ++x) {
        bgr[x * 3 + 0] = static_cast<uint8_t>(x * 10);         // bottom row blue ramp
        bgr[(8 + x) * 3 + 2] = static_cast<uint8_t>(200 + x);  // top row red ramp
    }
    bgr[(8 + 4) * 3 + 0] = 128;  // top-right pixel 255, 0, 128 is the key colour
    bgr[(8 + 4) * 3 + 2] = 255;
    const std::vector<uint8_t> bmp = BmpEncode(bgr.data(), 5, 2, 8, 0x8000ff);
    ASSERT_EQ(bmp.size(), 54u + 16u * 2);  // 15 bytes of pixels, 16-byte rows
    DecodedImage img;
    ASSERT_TRUE(BmpDecode(bmp.data(), bmp.size(), -1, 32767, img));
    EXPECT_EQ(At(img, 3, 1), 0xff1e0000u);
    EXPECT_EQ(At(img, 2, 0), 0xff0000cau);
    EXPECT_EQ(At(img, 4, 0), 0xff8000ffu);
    std::vector<uint8_t> png;
    ASSERT_TRUE(PngEncodeFromBgr(bgr.data(), 5, 2, 8, 0x8000ff, png));
    ASSERT_TRUE(PngDecode(png.data(), png.size(), "x", -1, 32767, img));
    EXPECT_EQ(At(img, 3, 1), 0xff1e0000u);
    EXPECT_EQ(At(img, 4, 0), 0x008000ffu);  // key colour saved with alpha 0
    ASSERT_TRUE(PngEncodeFromBgr(bgr.data(), 5, 2, 8, 0, png));
    ASSERT_TRUE(PngDecode(png.data(), png.size(), "x", -1, 32767, img));
    EXPECT_EQ(At(img, 0, 1), 0xff000000u);  // key 0: black stays opaque
}

TEST(ImageSave, WritesReplaceTheTargetAndLeaveNoTemporaryFiles) {
    const std::string dir = testsupport::MakeSubDir("save");
    const std::string target = dir + "/pic.PNG";
    ASSERT_TRUE(testsupport::WriteFile(target, "old"));
    std::vector<uint8_t> bgr(3, 7);
    ASSERT_TRUE(ImageSaveFile(target, bgr.data(), 1, 1, 1, 0));
    const std::string bytes = testsupport::ReadFile(target);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_TRUE(ImageSaveFile(dir + "/pic.bmp", bgr.data(), 1, 1, 1, 0));
    EXPECT_EQ(testsupport::ReadFile(dir + "/pic.bmp").substr(0, 2), "BM");
    EXPECT_FALSE(ImageSaveFile(dir + "/missing/x.bmp", bgr.data(), 1, 1, 1, 0));
    EXPECT_FALSE(ImageNameIsPng(".png"));
    EXPECT_TRUE(ImageNameIsPng("a.pNg"));
}
