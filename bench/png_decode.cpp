// PNG decode of a 1024 x 1024 RGBA picture: the runtime's PngDecode against libpng called
// directly (memory reader, expand to RGBA, png_read_rows into one buffer) on the same file.
// Both must give the same pixels, or the comparison means nothing.
#include <benchmark/benchmark.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "gfx/decoded_image.h"
#include "gfx/png_io.h"

namespace {

constexpr int kSide = 1024;

// Photo-like content: smooth gradients in every channel with per-pixel noise, so the filters
// and inflate do real work (a flat colour would compress to almost nothing).
std::vector<uint8_t> Picture() {
    std::mt19937 rng(20240611u);
    std::uniform_int_distribution<int> noise(-12, 12);
    std::vector<uint8_t> rgba(static_cast<size_t>(kSide) * kSide * 4);
    auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            uint8_t* p = &rgba[(static_cast<size_t>(y) * kSide + x) * 4];
            p[0] = clamp(x * 255 / kSide + noise(rng));
            p[1] = clamp(y * 255 / kSide + noise(rng));
            p[2] = clamp((x + y) * 255 / (2 * kSide) + noise(rng));
            p[3] = clamp(160 + (x - y) * 95 / kSide + noise(rng) / 2);
        }
    }
    return rgba;
}

const std::vector<uint8_t>& PngFile() {
    static const std::vector<uint8_t> file = [] {
        std::vector<uint8_t> out;
        if (!PngEncode(Picture().data(), kSide, kSide, out)) {
            std::fprintf(stderr, "PngEncode failed on the %d x %d picture\n", kSide, kSide);
            std::abort();
        }
        return out;
    }();
    return file;
}

struct MemoryInput {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep dst, png_size_t count) {
    auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (count > in->size - in->pos) png_error(png, "read past the end");
    std::memcpy(dst, in->data + in->pos, count);
    in->pos += count;
}

void Quiet(png_structp, png_const_charp) {}
void Fail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Reads the whole file into rgba (width * height * 4 bytes, row 0 first).
bool RawDecode(const uint8_t* data, size_t size, std::vector<uint8_t>& rgba, int& width,
               int& height) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Quiet);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    MemoryInput in{data, size, 0};
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &in, ReadFromMemory);
    png_read_info(png, info);
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) {
        if (depth < 8) png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_strip_16(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    width = static_cast<int>(png_get_image_width(png, info));
    height = static_cast<int>(png_get_image_height(png, info));
    const size_t stride = static_cast<size_t>(width) * 4;
    if (png_get_rowbytes(png, info) != stride) png_error(png, "not RGBA after the transforms");
    rgba.resize(stride * height);
    rows.resize(height);
    for (int y = 0; y < height; ++y) rows[y] = rgba.data() + stride * y;
    png_read_rows(png, rows.data(), nullptr, static_cast<png_uint_32>(height));
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// Runs once before any timing: both decoders must agree on every byte.
void CheckSamePixels() {
    const std::vector<uint8_t>& file = PngFile();
    DecodedImage img;
    std::vector<uint8_t> raw;
    int w = 0, h = 0;
    if (!PngDecode(file.data(), file.size(), "bench", kNoTransparentColour, kImageSideLimit, img) ||
        !RawDecode(file.data(), file.size(), raw, w, h)) {
        std::fprintf(stderr, "a decoder failed on the %d x %d picture\n", kSide, kSide);
        std::abort();
    }
    if (img.width != w || img.height != h || img.pixels != raw || raw != Picture()) {
        std::fprintf(stderr, "the decoders give different pixels on the %d x %d picture\n", kSide,
                     kSide);
        std::abort();
    }
}

void Finish(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSide * kSide * 4);
    state.counters["file_bytes"] = static_cast<double>(PngFile().size());
}

void BM_PngDecodeRuntime(benchmark::State& state) {
    const std::vector<uint8_t>& file = PngFile();
    DecodedImage img;  // kept across loads, as a loader keeps its working picture
    for (auto _ : state) {
        if (!PngDecode(file.data(), file.size(), "bench", kNoTransparentColour, kImageSideLimit,
                       img))
            state.SkipWithError("PngDecode failed");
        benchmark::DoNotOptimize(img.pixels.data());
    }
    Finish(state);
}
BENCHMARK(BM_PngDecodeRuntime)->Unit(benchmark::kMillisecond);

void BM_PngDecodeLibpngDirect(benchmark::State& state) {
    const std::vector<uint8_t>& file = PngFile();
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    for (auto _ : state) {
        if (!RawDecode(file.data(), file.size(), rgba, w, h)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(rgba.data());
    }
    Finish(state);
}
BENCHMARK(BM_PngDecodeLibpngDirect)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    CheckSamePixels();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
