// 2D draw throughput per frame at 640 x 480: the runtime's commands beside the same work done
// by the leanest raw GL (one bound texture, one array, one draw call), in the same process.
// Each line of output is one JSON record: the median milliseconds per frame (work plus
// glFinish, so the rasteriser's share is counted), the CPU-side submission time, and their
// ratios to raw GL. The off-screen rows set 1,000 sprites drawn into a 512 x 512 target, then
// the target drawn as a sprite, against the same sprites and the same 512 x 512 sprite drawn
// on the window, on the framebuffer path and on the copy path.
// Run under a display, e.g. `xvfb-run -a build/bench/bench_draw2d`.
// It starts the runtime itself, so it keeps its own main().
#define CORVANE_OWN_MAIN
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "corvane.h"
#include "frame/startup.h"
#include "gfx/draw_batch.h"
#include "gfx/renderer.h"
#include "gfx/sprite_slot.h"
#include "gfx/texture_store.h"
#include "runtime/end_path.h"
#include "runtime/runtime_state.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Timing {
    double frameMs, submitMs;
};

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs work once per frame: submission timed to the return of the last call (the runtime's
// pending batch is flushed inside it), the frame to the end of glFinish.
Timing Measure(const std::function<void(int)>& work, int frames = 40) {
    std::vector<double> frame, submit;
    for (int f = -5; f < frames; ++f) {
        glClear(GL_COLOR_BUFFER_BIT);
        glFinish();
        const auto t0 = Clock::now();
        work(f);
        Draw2DFlush();
        const auto t1 = Clock::now();
        glFinish();
        const auto t2 = Clock::now();
        if (f >= 0) {
            submit.push_back(Ms(t0, t1));
            frame.push_back(Ms(t0, t2));
        }
    }
    return {Median(frame), Median(submit)};
}

void Report(const char* name, int count, Timing rt, Timing raw) {
    std::printf(
        "{\"bench\":\"draw2d\",\"case\":\"%s\",\"count\":%d,\"runtime_frame_ms\":%.3f,"
        "\"raw_frame_ms\":%.3f,\"frame_ratio\":%.3f,\"runtime_submit_ms\":%.3f,"
        "\"raw_submit_ms\":%.3f,\"submit_ratio\":%.3f}\n",
        name, count, rt.frameMs, raw.frameMs, rt.frameMs / raw.frameMs, rt.submitMs, raw.submitMs,
        rt.submitMs / raw.submitMs);
    std::fflush(stdout);
}

void ReportOffscreen(const char* path, int count, Timing target, Timing window) {
    std::printf(
        "{\"bench\":\"draw2d\",\"case\":\"Offscreen\",\"path\":\"%s\",\"count\":%d,"
        "\"offscreen_frame_ms\":%.3f,\"window_frame_ms\":%.3f,\"frame_ratio\":%.3f,"
        "\"offscreen_submit_ms\":%.3f,\"window_submit_ms\":%.3f,\"submit_ratio\":%.3f}\n",
        path, count, target.frameMs, window.frameMs, target.frameMs / window.frameMs,
        target.submitMs, window.submitMs, target.submitMs / window.submitMs);
    std::fflush(stdout);
}

constexpr int kSprite = 1;
constexpr int kTargetSlot = 100, kTargetSide = 512;

// Where sprite i sits in frame f, and how it turns.
void SpritePose(int i, int f, double& x, double& y, double& a, double& z) {
    x = (i * 37) % 620;
    y = (i * 91) % 460;
    a = i * 3.0 + f * 2.0;
    z = 0.75 + (i % 8) * 0.0625;
}

// Raw GL: vertices computed on the CPU into one array, one draw.
void RawRotoZoom(int count, int f, std::vector<float>& buf) {
    const SpriteSlot& s = *SlotGet(kSprite);
    const int W = s.pictureWidth, H = s.pictureHeight;
    const float uL = 0.5f / s.textureWidth, uR = (W - 0.5f) / s.textureWidth;
    const float vB = 0.5f / s.textureHeight, vT = (H - 0.5f) / s.textureHeight;
    buf.resize(static_cast<size_t>(count) * 16);
    float* p = buf.data();
    for (int i = 0; i < count; ++i) {
        double x, y, a, z;
        SpritePose(i, f, x, y, a, z);
        const double r = a * 3.14159265358979323846 / 180.0, c = std::cos(r), n = std::sin(r);
        const double cx = x + W / 2, cy = y + H / 2, hx = z * W / 2, hy = z * H / 2;
        const double lx[4] = {-hx, hx, hx, -hx}, ly[4] = {hy, hy, -hy, -hy};
        const float us[4] = {uL, uR, uR, uL}, vs[4] = {vB, vB, vT, vT};
        for (int k = 0; k < 4; ++k) {
            *p++ = static_cast<float>(cx + lx[k] * c + ly[k] * n);
            *p++ = static_cast<float>(cy - lx[k] * n + ly[k] * c);
            *p++ = us[k];
            *p++ = vs[k];
        }
    }
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 16, buf.data());
    glTexCoordPointer(2, GL_FLOAT, 16, buf.data() + 2);
    glDrawArrays(GL_QUADS, 0, count * 4);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void RawPixels(int count, int f, std::vector<float>& xy, std::vector<uint8_t>& rgb) {
    xy.resize(static_cast<size_t>(count) * 2);
    rgb.resize(static_cast<size_t>(count) * 4);
    for (int i = 0; i < count; ++i) {
        xy[i * 2] = static_cast<float>((i * 7 + f) % 640) + 0.375f;
        xy[i * 2 + 1] = static_cast<float>((i / 9) % 480) + 0.375f;
        rgb[i * 4] = static_cast<uint8_t>(i);
        rgb[i * 4 + 1] = static_cast<uint8_t>(i >> 3);
        rgb[i * 4 + 2] = 200;
        rgb[i * 4 + 3] = 255;
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, xy.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, rgb.data());
    glDrawArrays(GL_POINTS, 0, count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
}

constexpr int kLines = 25, kLineLength = 80;  // 2,000 characters

std::string TextLine(int l) {
    std::string s;
    for (int i = 0; i < kLineLength; ++i) s += static_cast<char>(32 + (l * 13 + i * 7) % 95);
    return s;
}

void RawText(const std::vector<std::string>& lines, std::vector<float>& buf) {
    const SpriteSlot& s = *SlotGet(kFontSlotBase);
    const int cw = s.pictureWidth / 16, ch = s.pictureHeight / 8;
    const float du = (static_cast<float>(s.pictureWidth) / s.textureWidth) / 16;
    const float dv = (static_cast<float>(s.pictureHeight) / s.textureHeight) / 8;
    buf.resize(static_cast<size_t>(kLines) * kLineLength * 16);
    float* p = buf.data();
    int n = 0;
    for (int l = 0; l < kLines; ++l) {
        float px = 0;
        const float py = static_cast<float>(l * ch * 2);
        for (unsigned char b : lines[l]) {
            const int i = b % 128, c = i % 16, r = i / 16;
            const float uL = du * c, uR = uL + du, vB = dv * (7 - r), vT = vB + dv;
            const float q[16] = {px,      py + ch, uL, vB, px + cw, py + ch, uR, vB,
                                 px + cw, py,      uR, vT, px,      py,      uL, vT};
            std::copy(q, q + 16, p);
            p += 16;
            px += cw;
            ++n;
        }
    }
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 16, buf.data());
    glTexCoordPointer(2, GL_FLOAT, 16, buf.data() + 2);
    glDrawArrays(GL_QUADS, 0, n * 4);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

}  // namespace

void GameMain() {
    // A 16 x 16 sprite with a soft round alpha.
    DecodedImage img;
    img.Resize(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            uint8_t* p = img.Pixel(x, y);
            const double d = std::hypot(x - 7.5, y - 7.5);
            p[0] = static_cast<uint8_t>(x * 16);
            p[1] = static_cast<uint8_t>(y * 16);
            p[2] = 160;
            p[3] = static_cast<uint8_t>(d < 8 ? 255 - d * 30 : 0);
        }
    SlotLoadImage(kSprite, img, false, false);
    FontLoad("", 0);
    std::vector<float> buf;
    std::vector<uint8_t> colours;

    for (int count : {1000, 5000}) {
        BlendModeSet(-0.8);
        const Timing rt = Measure([&](int f) {
            for (int i = 0; i < count; ++i) {
                double x, y, a, z;
                SpritePose(i, f, x, y, a, z);
                SpriteDrawRotoZoom(kSprite, x, y, a, z);
            }
        });
        const Timing raw = Measure([&](int f) {
            // The runtime sets these on the texture at each submission too.
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            RawRotoZoom(count, f, buf);
        });
        Report("SpriteDrawRotoZoom", count, rt, raw);
    }

    // Off-screen: target 0 on the framebuffer path, target 1 forced onto the copy path.
    constexpr int kOffscreenSprites = 1000;
    auto sprites = [](int f) {
        for (int i = 0; i < kOffscreenSprites; ++i) {
            double x, y, a, z;
            SpritePose(i, f, x, y, a, z);
            SpriteDrawRotoZoom(kSprite, static_cast<int>(x) % (kTargetSide - 16),
                               static_cast<int>(y * 7) % (kTargetSide - 16), a, z);
        }
    };
    for (int target : {0, 1}) {
        if (target == 1) setenv("CORVANE_OFFSCREEN_COPY", "1", 1);
        OffscreenCreate(target, kTargetSlot + target, kTargetSide, kTargetSide);
        unsetenv("CORVANE_OFFSCREEN_COPY");
        const int slot = kTargetSlot + target;
        const Timing into = Measure([&](int f) {
            BlendModeSet(-0.8);
            OffscreenUse(target);
            sprites(f);
            OffscreenUse(-1);
            BlendModeSet(0);
            SpriteDraw(slot, 64, 0);
        });
        const Timing onWindow = Measure([&](int f) {
            BlendModeSet(-0.8);
            sprites(f);
            BlendModeSet(0);
            SpriteDraw(slot, 64, 0);
        });
        ReportOffscreen(target == 0 ? "framebuffer" : "copy", kOffscreenSprites, into, onWindow);
    }

    BlendModeSet(0);
    constexpr int kPixels = 4320;
    const Timing prt = Measure([&](int f) {
        for (int i = 0; i < kPixels; ++i)
            PixelSet((i * 7 + f) % 640, (i / 9) % 480,
                     (i & 255) + ((i >> 3) & 255) * 256 + 200 * 65536);
    });
    const Timing praw = Measure([&](int f) { RawPixels(kPixels, f, buf, colours); });
    Report("PixelSet", kPixels, prt, praw);

    std::vector<std::string> lines;
    std::vector<RtString> rtLines;
    for (int l = 0; l < kLines; ++l) {
        lines.push_back(TextLine(l));
        rtLines.emplace_back(lines.back().c_str());
    }
    BlendModeSet(-1);
    FontSet(0);
    const double ch = 8;
    const Timing trt = Measure([&](int) {
        for (int l = 0; l < kLines; ++l) TextPrint(rtLines[l], 0, l * ch * 2);
    });
    const Timing traw = Measure([&](int) { RawText(lines, buf); });
    Report("TextPrint", kLines * kLineLength, trt, traw);
    EndPath();
}

int main(int argc, char** argv) {
    ProgramEntry(nullptr, CommandLineTail(argc, argv), kShowDefault);
}
