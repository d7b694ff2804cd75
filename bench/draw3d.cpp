// 3D draw throughput: a 20,000-triangle object, lit by one lamp and textured, drawn with
// ObjectDraw (a key frame, and blended between two frames), against the same mesh drawn with
// raw GL vertex arrays under the same state. Triangles per second are the items_per_second
// column, by the wall clock; every iteration ends with glFinish, so the rasteriser's share
// (Mesa's threads under Xvfb) is counted.
// Run under a display, e.g. `xvfb-run -a build/bench/bench_draw3d`.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "corvane.h"
#include "gfx/texture_store.h"
#include "gfx3d/scene3d.h"

namespace {

constexpr int kObject = 1, kPicture = 1;
constexpr int kRings = 100, kSegments = 100;  // 100 x 100 quads: 20,000 triangles

// A sphere of radius 1 (frame 1 a little flattened), counter-clockwise seen from outside.
QmdMesh Sphere() {
    QmdMesh m;
    for (int frame = 0; frame < 2; ++frame) {
        QmdFrame f;
        const float squash = frame == 0 ? 1.0f : 0.8f;
        auto point = [&](int ring, int seg, std::vector<float>& uv) {
            const double th = M_PI * ring / kRings, ph = 2 * M_PI * seg / kSegments;
            const float n[3] = {static_cast<float>(std::sin(th) * std::cos(ph)),
                                static_cast<float>(std::cos(th)),
                                static_cast<float>(-std::sin(th) * std::sin(ph))};
            f.positions.insert(f.positions.end(), {n[0], n[1] * squash, n[2]});
            f.normals.insert(f.normals.end(), n, n + 3);
            f.colours.insert(f.colours.end(), {1.0f, 0.9f, 0.8f});
            uv.insert(uv.end(),
                      {static_cast<float>(seg) / kSegments, static_cast<float>(ring) / kRings});
        };
        std::vector<float> uv;
        for (int r = 0; r < kRings; ++r)
            for (int s = 0; s < kSegments; ++s)
                for (auto [dr, ds] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}})
                    point(r + dr, s + ds, uv);
        m.texCoords = uv;
        m.frames.push_back(f);
    }
    m.vertexCount = static_cast<int>(m.frames[0].positions.size() / 3);
    QmdBoundsCompute(m);
    return m;
}

void Scene() {
    View3DStart(1, 100, 45);
    CameraSet(0, 0, 4, 0, 0, 0);
    LightSet(0, -3, 4, 5, 1);
    LightColourSet(0, 0xffffff, 0x202020);
    CullModeSet(-1);
    TextureSet3D(kPicture, -1);
}

void Count(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kRings * kSegments * 2);
}

// ObjectDraw at one frame position: 0 is a key frame, 0.5 blends two frames.
void ObjectDrawLoop(benchmark::State& state, double frame) {
    Scene();
    for (auto _ : state) {
        ObjectDraw(kObject, frame);
        glFinish();
    }
    Count(state);
}

void BM_ObjectDrawKeyFrame(benchmark::State& state) {
    ObjectDrawLoop(state, 0);
}
BENCHMARK(BM_ObjectDrawKeyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ObjectDrawBlendedFrames(benchmark::State& state) {
    ObjectDrawLoop(state, 0.5);
}
BENCHMARK(BM_ObjectDrawBlendedFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same triangles with one glDrawArrays over the object's own arrays: the floor the
// command's overhead is measured against.
void BM_RawVertexArrays(benchmark::State& state) {
    Scene();
    const QmdMesh& m = ObjectSlot(kObject)->mesh;
    const QmdFrame& f = m.frames[0];
    // The state ObjectDraw sets up: lamp, normalising, colour material, repeating picture.
    ObjectDraw(kObject, 0);
    const float* camera = Scene3D()->cameraMatrix.data();
    const GLfloat lamp[4] = {-3, 4, 5, 1};
    for (auto _ : state) {
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(camera);
        glEnable(GL_LIGHTING);
        glLightfv(GL_LIGHT0, GL_POSITION, lamp);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, f.positions.data());
        glNormalPointer(GL_FLOAT, 0, f.normals.data());
        glColorPointer(3, GL_FLOAT, 0, f.colours.data());
        glTexCoordPointer(2, GL_FLOAT, 0, m.texCoords.data());
        glDrawArrays(GL_TRIANGLES, 0, m.vertexCount);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glFinish();
    }
    Count(state);
}
BENCHMARK(BM_RawVertexArrays)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

void GameMain() {
    DecodedImage img;
    img.Resize(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = img.Pixel(x, y);
            const bool band = ((x + y) / 8) % 2 == 0;
            p[0] = band ? 235 : 250, p[1] = band ? 120 : 232, p[2] = band ? 30 : 190, p[3] = 255;
        }
    SlotLoadImage(kPicture, img, false, false);
    ObjectSlot(kObject)->mesh = Sphere();
    int argc = 1;
    char name[] = "bench_draw3d";
    char* argv[] = {name, nullptr};
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ProgramEnd();
}
