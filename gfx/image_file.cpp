#include "gfx/image_file.h"

#include "core/ascii.h"
#include "core/bytes.h"
#include "gfx/bmp_reader.h"
#include "gfx/png_io.h"
#include "platform/files.h"

bool ImageDecodeBytes(const std::string& bytes, const std::string& name, int transparentColour,
                      int maxSide, DecodedImage& out) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    if (BmpDecode(data, bytes.size(), transparentColour, maxSide, out)) return true;
    return PngDecode(data, bytes.size(), name.c_str(), transparentColour, maxSide, out);
}

bool ImageDeclaredSize(const std::string& bytes, int64_t& width, int64_t& height) {
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
    auto le = [&](size_t at, int n) {
        uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + i];
        return v;
    };
    auto be32 = [&](size_t at) { return BytesBe32(b + at); };
    if (bytes.size() >= 24 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0 &&
        bytes.compare(12, 4, "IHDR") == 0) {
        width = be32(16);
        height = be32(20);
        return true;
    }
    if (bytes.size() >= 26 && bytes.compare(0, 2, "BM") == 0) {
        const uint32_t header = le(14, 4);
        if (header == 12) {
            width = le(18, 2);
            height = le(20, 2);
            return true;
        }
        width = static_cast<int32_t>(le(18, 4));
        height = static_cast<int32_t>(le(22, 4));
        if (height < 0) height = -height;
        return true;
    }
    return false;
}

bool ImageDecodeFile(const std::string& path, int transparentColour, int maxSide,
                     DecodedImage& out) {
    std::string bytes;
    if (path.empty() || !platform::FileReadWhole(path, bytes, kImageFileMax)) return false;
    return ImageDecodeBytes(bytes, path, transparentColour, maxSide, out);
}

bool ImageNameIsPng(const std::string& name) {
    if (name.size() <= 4) return false;
    const std::string tail = name.substr(name.size() - 4);
    return AsciiEqualFolded(tail, ".png");
}

namespace {

void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

bool IsKey(const uint8_t* bgr, int keyColour) {
    return keyColour != 0 && PackColour(bgr[2], bgr[1], bgr[0]) == keyColour;
}

}  // namespace

std::vector<uint8_t> BmpEncode(const uint8_t* bgr, int width, int height, int rowLength,
                               int keyColour) {
    const size_t rowSize = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t fileSize = 54 + rowSize * height;
    std::vector<uint8_t> v(fileSize, 0);
    v[0] = 'B';
    v[1] = 'M';
    Put32(v, 2, static_cast<uint32_t>(fileSize));
    Put32(v, 10, 54);
    Put32(v, 14, 40);
    Put32(v, 18, static_cast<uint32_t>(width));
    Put32(v, 22, static_cast<uint32_t>(height));
    v[26] = 1;   // planes
    v[28] = 24;  // bits
    Put32(v, 38, 10000);
    Put32(v, 42, 10000);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = bgr + static_cast<size_t>(y) * rowLength * 3;
        uint8_t* dst = v.data() + 54 + rowSize * y;
        for (int x = 0; x < width; ++x, src += 3, dst += 3) {
            if (IsKey(src, keyColour)) {
                dst[0] = 128;
                dst[1] = 0;
                dst[2] = 255;
            } else {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
            }
        }
    }
    return v;
}

bool PngEncodeFromBgr(const uint8_t* bgr, int width, int height, int rowLength, int keyColour,
                      std::vector<uint8_t>& out) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        // Top-down rows for the PNG; the source is bottom row first.
        const uint8_t* src = bgr + static_cast<size_t>(height - 1 - y) * rowLength * 3;
        uint8_t* dst = rgba.data() + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, src += 3, dst += 4) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
            dst[3] = IsKey(src, keyColour) ? 0 : 255;
        }
    }
    return PngEncode(rgba.data(), width, height, out);
}

bool ImageSaveFile(const std::string& name, const uint8_t* bgr, int width, int height,
                   int rowLength, int keyColour) {
    if (width <= 0 || height <= 0) return false;
    std::vector<uint8_t> bytes;
    if (ImageNameIsPng(name)) {
        if (!PngEncodeFromBgr(bgr, width, height, rowLength, keyColour, bytes)) return false;
    } else {
        bytes = BmpEncode(bgr, width, height, rowLength, keyColour);
    }
    if (name.empty()) return false;
    return platform::FileWriteWhole(name, std::string(bytes.begin(), bytes.end()));
}
