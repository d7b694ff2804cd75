#include "gfx/image_file.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "gfx/bmp_reader.h"
#include "gfx/png_io.h"

bool FileReadWhole(const std::string& path, std::vector<uint8_t>& out, uint64_t maxBytes) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
    const uint64_t size = std::filesystem::file_size(path, ec);
    if (ec || size > maxBytes) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    out.resize(static_cast<size_t>(size));
    const size_t got = size ? std::fread(out.data(), 1, out.size(), f) : 0;
    std::fclose(f);
    if (got != out.size()) return false;
    return true;
}

bool FileWriteReplace(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (path.empty()) return false;
    static std::mt19937 rng(std::random_device{}());
    const std::string temp = path + ".tmp" + std::to_string(rng() % 1000000);
    std::FILE* f = std::fopen(temp.c_str(), "wbx");
    if (!f) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t n = std::fwrite(bytes.data() + done, 1, bytes.size() - done, f);
        if (n == 0) break;
        done += n;
    }
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    std::error_code ec;
    if (done != bytes.size() || !flushed || !closed) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

bool ImageDecodeFile(const std::string& path, int transparentColour, int maxSide,
                     DecodedImage& out) {
    std::vector<uint8_t> bytes;
    if (!FileReadWhole(path, bytes)) return false;
    if (BmpDecode(bytes.data(), bytes.size(), transparentColour, maxSide, out)) return true;
    return PngDecode(bytes.data(), bytes.size(), path.c_str(), transparentColour, maxSide, out);
}

bool ImageNameIsPng(const std::string& name) {
    if (name.size() <= 4) return false;
    const std::string tail = name.substr(name.size() - 4);
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return lower(tail[0]) == '.' && lower(tail[1]) == 'p' && lower(tail[2]) == 'n' &&
           lower(tail[3]) == 'g';
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
    return FileWriteReplace(name, bytes);
}
