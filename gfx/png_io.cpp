#include "gfx/png_io.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "runtime/diagnostics.h"

namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadCallback(png_structp png, png_bytep dst, png_size_t count) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > r->size - r->pos) png_error(png, "read past the end");
    std::memcpy(dst, r->data + r->pos, count);
    r->pos += count;
}

// Errors leave through setjmp; neither errors nor warnings are printed.
void ErrorCallback(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void WarningCallback(png_structp, png_const_charp) {}

void WriteCallback(png_structp png, png_bytep src, png_size_t count) {
    auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    v->insert(v->end(), src, src + count);
}
void FlushCallback(png_structp) {}

// Everything that must survive a longjmp lives here, outside the function that calls setjmp.
struct ReadJob {
    MemoryReader reader;
    const char* name;
    int transparent;
    int maxSide;
    DecodedImage* out;
    std::vector<png_bytep> rowPointers;
};

bool DecodeInside(png_structp png, png_infop info, ReadJob& job) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, job.maxSide, job.maxSide);
    png_set_read_fn(png, &job.reader, ReadCallback);
    png_read_info(png, info);

    const int colourType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_strip_16(png);
    if (depth < 8) png_set_packing(png);
    png_read_update_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int channels = png_get_channels(png, info);
    const int outDepth = png_get_bit_depth(png, info);
    const int outType = png_get_color_type(png, info);
    if (outDepth != 8) {
        DiagWarning("", std::string("File ") + job.name + " has bit depth " +
                            std::to_string(outDepth) + ". Only bit depth of 8 is supported.");
        return false;
    }
    if (outType == PNG_COLOR_TYPE_GRAY_ALPHA || channels == 2) return false;
    if (outType != PNG_COLOR_TYPE_GRAY && outType != PNG_COLOR_TYPE_RGB &&
        outType != PNG_COLOR_TYPE_RGB_ALPHA) {
        DiagWarning("", std::string("File ") + job.name +
                            " has unsupported color type. Types GRAY, RGB and RGB_ALPHA are "
                            "supported.");
        return false;
    }
    if (width > static_cast<png_uint_32>(job.maxSide) ||
        height > static_cast<png_uint_32>(job.maxSide) || !DecodeSizeFits(width, height))
        return false;
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != static_cast<size_t>(width) * channels) return false;

    // The rows land straight in the picture (each RGBA row has room for its packed form) and
    // are widened in place afterwards, so the picture's bytes are the only large allocation.
    DecodedImage& img = *job.out;
    if (!img.Resize(static_cast<int>(width), static_cast<int>(height))) return false;
    const size_t stride = static_cast<size_t>(width) * 4;
    try {
        job.rowPointers.resize(height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (png_uint_32 y = 0; y < height; ++y) job.rowPointers[y] = img.pixels.data() + stride * y;
    png_read_image(png, job.rowPointers.data());

    if (channels == 4) return true;
    for (png_uint_32 y = 0; y < height; ++y) {
        uint8_t* row = job.rowPointers[y];
        // Back to front: pixel x's packed bytes lie at or before its RGBA bytes.
        for (size_t x = width; x-- > 0;) {
            const uint8_t* src = row + x * channels;
            uint8_t* dst = row + x * 4;
            const uint8_t r = src[0], g = channels == 3 ? src[1] : src[0],
                          b = channels == 3 ? src[2] : src[0];
            if (channels == 3 && job.transparent >= 0 && PackColour(r, g, b) == job.transparent) {
                dst[0] = dst[1] = dst[2] = dst[3] = 0;
            } else {
                dst[0] = r;
                dst[1] = g;
                dst[2] = b;
                dst[3] = 255;
            }
        }
    }
    return true;
}

bool EncodeInside(png_structp png, png_infop info, int width, int height,
                  std::vector<png_bytep>& rowPointers, std::vector<uint8_t>& out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &out, WriteCallback, FlushCallback);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rowPointers.data());
    png_write_end(png, info);
    return true;
}

}  // namespace

bool PngDecode(const uint8_t* data, size_t size, const char* name, int transparentColour,
               int maxSide, DecodedImage& out) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorCallback, WarningCallback);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    ReadJob job{{data, size, 0}, name ? name : "", transparentColour, maxSide, &out, {}};
    const bool ok = DecodeInside(png, info, job);
    png_destroy_read_struct(&png, &info, nullptr);
    return ok;
}

bool PngEncode(const uint8_t* rgba, int width, int height, std::vector<uint8_t>& out) {
    if (width <= 0 || height <= 0) return false;
    // The library's own version string: a mismatch makes the create call fail.
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorCallback, WarningCallback);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_bytep> rowPointers(height);
    for (int y = 0; y < height; ++y)
        rowPointers[y] = const_cast<png_bytep>(rgba + static_cast<size_t>(y) * width * 4);
    out.clear();
    const bool ok = EncodeInside(png, info, width, height, rowPointers, out);
    png_destroy_write_struct(&png, &info);
    return ok;
}
