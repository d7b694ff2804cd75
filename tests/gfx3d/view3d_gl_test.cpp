// The 3D view against a real window: every check reads the back buffer with glReadPixels.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "corvane.h"
#include "gfx/draw_batch.h"
#include "gfx/renderer.h"
#include "gfx/shaders.h"
#include "gfx/texture_store.h"
#include "gfx3d/scene3d.h"
#include "runtime/frame_calls.h"
#include "runtime/runtime_state.h"
#include "support/test_support.h"
#include "tests/gfx/gl_window.h"

namespace {

struct RgbPixel {
    int r, g, b;
};

// Quads (4 corners each, counter-clockwise seen from their front) of one colour apiece, as
// one frame of a mesh; flat normals.
struct Quad {
    float p[4][3];
    float colour[3];
};
QmdMesh MeshOf(const std::vector<std::vector<Quad>>& frames) {
    QmdMesh m;
    for (const auto& quads : frames) {
        QmdFrame f;
        for (const Quad& q : quads)
            for (int c : {0, 1, 2, 0, 2, 3}) {
                f.positions.insert(f.positions.end(), q.p[c], q.p[c] + 3);
                f.colours.insert(f.colours.end(), q.colour, q.colour + 3);
            }
        QmdFaceNormals(f);
        m.frames.push_back(f);
    }
    m.vertexCount = static_cast<int>(m.frames[0].positions.size() / 3);
    m.texCoords.assign(2 * m.vertexCount, 0.5f);
    QmdBoundsCompute(m);
    return m;
}
// A cube of side s about (x, y, z).
std::vector<Quad> Cube(float x, float y, float z, float s, const float colour[3]) {
    const float h = s / 2;
    const float c[8][3] = {{x - h, y - h, z - h}, {x + h, y - h, z - h}, {x + h, y + h, z - h},
                           {x - h, y + h, z - h}, {x - h, y - h, z + h}, {x + h, y - h, z + h},
                           {x + h, y + h, z + h}, {x - h, y + h, z + h}};
    const int faces[6][4] = {{4, 5, 6, 7}, {1, 0, 3, 2}, {5, 1, 2, 6},
                             {0, 4, 7, 3}, {7, 6, 2, 3}, {0, 1, 5, 4}};
    std::vector<Quad> out;
    for (const auto& f : faces) {
        Quad q{};
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < 3; ++k) q.p[i][k] = c[f[i]][k];
        for (int k = 0; k < 3; ++k) q.colour[k] = colour[k];
        out.push_back(q);
    }
    return out;
}
Quad Square(float z, float h, const float colour[3]) {  // facing +z, from -h to h
    return {{{-h, -h, z}, {h, -h, z}, {h, h, z}, {-h, h, z}}, {colour[0], colour[1], colour[2]}};
}

const float kRed[3] = {1, 0, 0}, kWhite[3] = {1, 1, 1}, kGrey[3] = {0.6f, 0.6f, 0.6f};

class View3DGL : public ::testing::Test {
protected:
    // A 3D view whose stencil counts every pixel as in shadow, with the shadow pass on: ending
    // the pass must darken the whole surface.
    static void ShadowPassStartOverFullStencil() {
        glClearStencil(1);
        glClear(GL_STENCIL_BUFFER_BIT);
        glClearStencil(0);
        View3DStart(1, 100, 45);
        ShadowPassSet(1);
    }
    static void SetUpTestSuite() {
        GlTestWindowOpen();
        if (runtimeState.renderer) {
            Scene3DCreate(runtimeState.renderer);
            ShaderStart();
        }
    }
    void SetUp() override {
        GL_TEST_REQUIRE_WINDOW();
        ShaderUse(-1);
        View3DEnd();
        ViewportSet(0, 0, 0, 0);
        BlendModeSet(0);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        MipmapSet(0);
    }
    void TearDown() override { View3DEnd(); }
    static void Put(int slot, const QmdMesh& m) { ObjectSlot(slot)->mesh = m; }
    static RgbPixel At(int x, int y) {
        uint8_t p[4];
        Draw2DFlush();
        glReadBuffer(GL_BACK);
        GlReadPixelsPacked(x, 479 - y, 1, 1, GL_RGBA, p);
        return {p[0], p[1], p[2]};
    }
    // Where a point lands in window pixels (top-left origin) under the scene's matrices.
    static void Project(float x, float y, float z, double& px, double& py) {
        const Vezezodi3D& s = *Scene3D();
        float o[4];
        Mat4Apply(Mat4Multiply(s.projection, s.cameraMatrix), x, y, z, 1, o);
        px = (o[0] / o[3] + 1) * 320;
        py = (1 - o[1] / o[3]) * 240;
    }
};

bool Near(RgbPixel a, RgbPixel b, int tol) {
    return std::abs(a.r - b.r) <= tol && std::abs(a.g - b.g) <= tol && std::abs(a.b - b.b) <= tol;
}

}  // namespace

TEST_F(View3DGL, AUnitCubeLandsWhereTheProjectionPutsItInBothViews) {
    Put(1, MeshOf({Cube(0, 0, 0, 1, kRed)}));
    struct {
        double nearPlane, fov, cubeZ;
        double halfPixels;  // the front face's half size on screen
    } cases[] = {
        // Perspective: the front face 4.5 from the eye, tan 22.5 the half-height at 1.
        {1, 45, 0, 0.5 / 4.5 / std::tan(22.5 * 3.14159265 / 180) * 240},
        // Orthographic: half-height 41.4 x near whatever the distance.
        {0.02, -45, 0, 0.5 / (0.02 * 100 * std::tan(22.5 * 3.14159265 / 180)) * 240},
        {0.02, -45, -20, 0.5 / (0.02 * 100 * std::tan(22.5 * 3.14159265 / 180)) * 240},
    };
    for (const auto& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT);
        View3DStart(c.nearPlane, 100, c.fov);
        CameraSet(0, 0, 5, 0, 0, 0);
        TransformMove(0, 0, c.cubeZ);
        ObjectDraw(1, 0);
        const int in = static_cast<int>(c.halfPixels) - 3, out = static_cast<int>(c.halfPixels) + 3;
        for (auto [dx, dy] : {std::pair{in, 0}, {-in, 0}, {0, in}, {0, -in}, {in, in}})
            EXPECT_TRUE(Near(At(320 + dx, 240 + dy), {255, 0, 0}, 2))
                << c.fov << " inside at " << dx << "," << dy;
        for (auto [dx, dy] : {std::pair{out, 0}, {-out, 0}, {0, out}, {0, -out}})
            EXPECT_TRUE(Near(At(320 + dx, 240 + dy), {0, 0, 0}, 2))
                << c.fov << " outside at " << dx << "," << dy;
    }
}

TEST_F(View3DGL, FogReachesItsColourAtTheFarPlane) {
    Put(2, MeshOf({{Square(0, 50, kWhite)}}));
    struct {
        double z;           // the square's distance
        RgbPixel expected;  // linear fog from near 1 to far 10 in blue
    } cases[] = {{9.99, {0, 0, 255}}, {1.05, {254, 254, 255}}, {5.5, {128, 128, 255}}};
    for (const auto& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT);
        View3DStart(1, 10, 45);
        FogSet(255 * 65536.0, 0, 0, 0);
        TransformMove(0, 0, -c.z);
        ObjectDraw(2, 0);
        EXPECT_TRUE(Near(At(320, 240), c.expected, 4))
            << c.z << ": " << At(320, 240).r << "," << At(320, 240).g << "," << At(320, 240).b;
    }
    View3DStart(1, 10, 45);
    FogSet(255 * 65536.0, 0, 0, 0);
    FogSet(-1, 0, 0, 0);
    TransformMove(0, 0, -9.99);
    ObjectDraw(2, 0);
    EXPECT_TRUE(Near(At(320, 240), {255, 255, 255}, 2)) << "colour -1 switches fog off";
}

TEST_F(View3DGL, CullingHidesTheFacesItShould) {
    // A square facing the camera (counter-clockwise on screen) and one turned away.
    Put(3, MeshOf({{Square(0, 1, kWhite)}}));
    struct {
        double mode;
        bool facingShown, turnedShown;
    } cases[] = {{0, true, true}, {-1, true, false}, {1, false, true}, {NAN, true, false}};
    for (const auto& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT);
        View3DStart(1, 100, 45);
        CameraSet(0, 0, 5, 0, 0, 0);
        CullModeSet(c.mode);
        TransformPush();
        TransformMove(-1.5, 0, 0);
        ObjectDraw(3, 0);
        TransformPop();
        TransformMove(1.5, 0, 0);
        TransformTurn(180, 0, 1, 0);
        ObjectDraw(3, 0);
        double lx, rx, y;
        Project(-1.5, 0, 0, lx, y);
        Project(1.5, 0, 0, rx, y);
        EXPECT_EQ(At(static_cast<int>(lx), static_cast<int>(y)).g > 200, c.facingShown) << c.mode;
        EXPECT_EQ(At(static_cast<int>(rx), static_cast<int>(y)).g > 200, c.turnedShown) << c.mode;
    }
}

TEST_F(View3DGL, TheShadowPassDarkensOnceAndReachesTheWholeWindow) {
    // Stencil set over the left half of a 3D view in a viewport; the window white.
    RectDraw(0, 0, 640, 480, 0xffffff);
    Put(4, MeshOf({{Square(0, 1, kWhite)}}));
    ViewportSet(100, 100, 400, 200);
    View3DStart(1, 100, 45);
    ShadowPassSet(1);
    TransformMove(-1, 0, -2);
    ObjectDraw(4, 0);
    // The screen is unchanged while the pass is on: colour writes are off.
    EXPECT_TRUE(Near(At(300, 200), {255, 255, 255}, 1));
    ShadowPassSet(0);
    ShadowPassSet(0);
    EXPECT_TRUE(Near(At(250, 200), {128, 128, 128}, 2)) << At(250, 200).r << " darkened once";
    EXPECT_TRUE(Near(At(450, 200), {255, 255, 255}, 1)) << "outside the stencil";
    EXPECT_TRUE(Near(At(639, 479), {255, 255, 255}, 1));
    // Drawing goes on in the 3D view's own viewport after the pass.
    Put(5, MeshOf({Cube(0, 0, 0, 40, kRed)}));
    glClear(GL_DEPTH_BUFFER_BIT);
    TransformMove(1, 0, -30);
    ObjectDraw(5, 0);
    EXPECT_TRUE(Near(At(300, 200), {255, 0, 0}, 2)) << "inside the viewport";
    EXPECT_TRUE(Near(At(50, 200), {255, 255, 255}, 1)) << "outside the viewport";
    // Stencil everywhere: the darkening reaches the window's far corner.
    View3DEnd();
    ShadowPassStartOverFullStencil();
    ShadowPassSet(0);
    EXPECT_TRUE(Near(At(639, 479), {128, 128, 128}, 2)) << At(639, 479).r;
    EXPECT_TRUE(Near(At(0, 0), {128, 128, 128}, 2)) << At(0, 0).r;
}

TEST_F(View3DGL, TheFrameStepAndViewportSetEndThePass) {
    struct {
        const char* what;
        void (*end)();
    } cases[] = {
        {"frame call", [] { FrameCallRun(FrameCall::ShadowPassEnd); }},
        {"ViewportSet", [] { ViewportSet(0, 0, 0, 0); }},
        {"View3DEnd", [] { View3DEnd(); }},
    };
    for (const auto& c : cases) {
        View3DEnd();
        RectDraw(0, 0, 640, 480, 0xffffff);
        ShadowPassStartOverFullStencil();
        c.end();
        EXPECT_EQ(Scene3D()->shadowPass, 0) << c.what;
        EXPECT_TRUE(Near(At(320, 240), {128, 128, 128}, 2)) << c.what;
    }
    // ViewportSet resolves the pass first: then its new viewport's 2D state is what 2D drawing
    // gets, not the 3D matrices saved while the pass ended.
    View3DEnd();
    RectDraw(0, 0, 640, 480, 0);
    View3DStart(1, 100, 45);
    Put(5, MeshOf({Cube(0, 0, 0, 40, kWhite)}));
    TransformMove(0, 0, -21.2);  // 0.2 past the near plane: its depth would hide 2D drawing
    ObjectDraw(5, 0);
    ShadowPassSet(1);
    ViewportSet(100, 50, 200, 100);
    RectDraw(0, 0, 10, 10, 0x0000ff);
    EXPECT_TRUE(Near(At(104, 54), {255, 0, 0}, 2)) << "2D after ViewportSet";
    EXPECT_TRUE(Near(At(320, 240), {255, 255, 255}, 2));
    ViewportSet(0, 0, 0, 0);
    // A black transparent colour does not make the darkening vanish.
    TransparencySet(0);
    RectDraw(0, 0, 640, 480, 0xffffff);
    ShadowPassStartOverFullStencil();
    ShadowPassSet(0);
    TransparencySet(0x8000ff);
    EXPECT_TRUE(Near(At(320, 240), {128, 128, 128}, 2)) << "with black see-through";
    MipmapSet(1);
    EXPECT_EQ(Scene3D()->mipmapChoice, 1);
    FrameCallRun(FrameCall::MipmapReset);
    EXPECT_EQ(Scene3D()->mipmapChoice, 0);
}

TEST_F(View3DGL, AShadowVolumeDarkensTheFloorWhereTheShadowFallsOnly) {
    // A floor at y = 0, a cube above it, a distant light from up and +x: the shadow falls
    // towards -x. The camera looks straight down.
    const float floorC[3] = {0.6f, 0.6f, 0.6f};
    Put(6, MeshOf({{Quad{{{-6, 0, 6}, {6, 0, 6}, {6, 0, -6}, {-6, 0, -6}},
                         {floorC[0], floorC[1], floorC[2]}}}}));
    Put(7, MeshOf({Cube(0, 1.5f, 0, 1, kRed)}));
    View3DStart(1, 100, 45);
    CameraUpSet(0, 0, -1);
    CameraSet(0, 12, 0, 0, 0, 0);
    LightSet(0, 1, 1, 0, 0);
    LightColourSet(0, 0xffffff, 0x404040);
    ObjectDraw(6, 0);
    ObjectDraw(7, 0);
    ObjectShadowDraw(7, 0, 0);
    // The pass draws nothing until it ends: the whole frame before and after.
    auto frame = [] {
        std::vector<uint8_t> v(640 * 480 * 4);
        Draw2DFlush();
        glReadBuffer(GL_BACK);
        GlReadPixelsPacked(0, 0, 640, 480, GL_RGBA, v.data());
        return v;
    };
    const std::vector<uint8_t> before = frame();
    ShadowPassSet(0);
    const std::vector<uint8_t> after = frame();
    // Screen boxes (x0, y0, x1, y1) of floor rectangles and of the cube.
    struct Box {
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        bool Has(int x, int y, double margin) const {
            return x >= x0 - margin && x <= x1 + margin && y >= y0 - margin && y <= y1 + margin;
        }
    };
    auto box = [&](float xa, float xb, float ya, float yb, float za, float zb) {
        Box b;
        for (float x : {xa, xb})
            for (float y : {ya, yb})
                for (float z : {za, zb}) {
                    double px, py;
                    Project(x, y, z, px, py);
                    b.x0 = std::min(b.x0, px), b.x1 = std::max(b.x1, px);
                    b.y0 = std::min(b.y0, py), b.y1 = std::max(b.y1, py);
                }
        return b;
    };
    // Light along -(1, 1, 0) casts the cube (x -0.5..0.5, y 1..2) onto x -2.5..-0.5.
    const Box shadow = box(-2.5f, -0.5f, 0, 0, -0.5f, 0.5f),
              cube = box(-0.5f, 0.5f, 1, 2, -0.5f, 0.5f);
    int strays = 0, notHalved = 0, inside = 0, insideDark = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const size_t i = (static_cast<size_t>(479 - y) * 640 + x) * 4;
            const int was = before[i], now = after[i];
            const bool changed = std::abs(now - was) > 3;
            if (changed && std::abs(now - was / 2) > 3) ++notHalved;
            if (changed && !shadow.Has(x, y, 2) && !cube.Has(x, y, 2)) ++strays;
            if (shadow.Has(x, y, -2) && !cube.Has(x, y, 2)) ++inside, insideDark += changed;
        }
    EXPECT_EQ(strays, 0) << "darkened pixels outside the shadow";
    EXPECT_EQ(notHalved, 0) << "changed, but not to half";
    EXPECT_GT(inside, 2000);
    EXPECT_EQ(insideDark, inside) << "the shadow's pixels all darkened";
}

TEST_F(View3DGL, LightsTexturesFramesAndPicking) {
    // Lights: a white square facing +z under a green light from +z with a red ambient.
    Put(8, MeshOf({{Square(0, 1, kWhite)}}));
    struct {
        float lx, ly, lz, lamp;
        RgbPixel expected;
    } lights[] = {// per-vertex lighting: the lamp meets the corners at 4 / sqrt(18)
                  {0, 0, 1, 0, {64, 255, 0}},
                  {0, 0, -1, 0, {64, 0, 0}},
                  {0, 0, 4, 1, {64, 240, 0}}};
    for (const auto& l : lights) {
        View3DStart(1, 100, 45);
        CameraSet(0, 0, 3, 0, 0, 0);
        LightSet(2, l.lx, l.ly, l.lz, l.lamp);
        LightColourSet(2, 0x00ff00, 0x000040);
        ObjectDraw(8, 0);
        EXPECT_TRUE(Near(At(320, 240), l.expected, 3))
            << l.lz << ": " << At(320, 240).r << "," << At(320, 240).g << "," << At(320, 240).b;
    }
    // A blue picture on unit 0 multiplies the white vertices.
    DecodedImage img;
    img.Resize(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            uint8_t* p = img.Pixel(x, y);
            p[0] = 0, p[1] = 0, p[2] = 255, p[3] = 255;
        }
    SlotReset(900);
    ASSERT_TRUE(SlotLoadImage(900, img, false, false));
    View3DStart(1, 100, 45);
    CameraSet(0, 0, 3, 0, 0, 0);
    TextureSet3D(900, -1);
    ObjectDraw(8, 0);
    EXPECT_TRUE(Near(At(320, 240), {0, 0, 255}, 2));
    // The mip-map choice picks the slot's mip-mapped copy on unit 0.
    for (int choice : {1, 0}) {
        MipmapSet(choice);
        TextureSet3D(900, -1);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        const SpriteSlot& slot = *SlotGet(900);
        ASSERT_NE(slot.mipmappedTexture, 0u) << "a sprite has its mip-mapped copy";
        EXPECT_EQ(static_cast<GLuint>(bound), choice ? slot.mipmappedTexture : slot.texture);
    }
    // Frame 0.5 blends a square at x = -2 with one at x = +2 into one at 0.
    Quad left = Square(0, 0.5f, kRed), right = Square(0, 0.5f, kRed);
    for (int i = 0; i < 4; ++i) left.p[i][0] -= 2, right.p[i][0] += 2;
    Put(9, MeshOf({{left}, {right}}));
    View3DStart(1, 100, 45);
    CameraSet(0, 0, 5, 0, 0, 0);
    ObjectDraw(9, 0.5);
    double lx, cx, y;
    Project(-2, 0, 0, lx, y);
    Project(0, 0, 0, cx, y);
    EXPECT_TRUE(Near(At(static_cast<int>(cx), static_cast<int>(y)), {255, 0, 0}, 2));
    EXPECT_TRUE(Near(At(static_cast<int>(lx), static_cast<int>(y)), {0, 0, 0}, 2));
    // Picking under a pixel: the ray from the near plane meets the blended square 4 on.
    double ox, oy, oz, dx, dy, dz;
    CameraRayGet(cx, y, ox, oy, oz, dx, dy, dz);
    EXPECT_NEAR(ObjectPick(9, 0.5, ox, oy, oz, dx, dy, dz), 4, 0.01);
    EXPECT_EQ(ObjectPick(9, 0, ox, oy, oz, dx, dy, dz), -1) << "frame 0 stands aside";
    // Towards (-2, 0, 0): four fifths of the way from the eye, sqrt(29) long.
    CameraRayGet(lx, y, ox, oy, oz, dx, dy, dz);
    EXPECT_NEAR(ObjectPick(9, 0, ox, oy, oz, dx, dy, dz), 0.8 * std::sqrt(29.0), 0.02);
}

TEST_F(View3DGL, TheSamplersOfACurrentShaderPointAtBothUnits) {
    const std::string dir = testsupport::MakeSubDir("samplers");
    ASSERT_TRUE(
        testsupport::WriteFile(dir + "/v.glsl", "void main() { gl_Position = ftransform(); }\n"));
    ASSERT_TRUE(
        testsupport::WriteFile(dir + "/f.glsl",
                               "uniform sampler2D TextureID1; uniform sampler2D TextureID2;\n"
                               "void main() { gl_FragColor = texture2D(TextureID1, vec2(0.5)) + "
                               "texture2D(TextureID2, vec2(0.5)); }\n"));
    ASSERT_EQ(ShaderLoad(3, (dir + "/v.glsl").c_str(), (dir + "/f.glsl").c_str()), 1);
    for (int round = 0; round < 2; ++round) {
        ShaderUse(3);
        const GLuint program = ShaderProgramInUse();
        ASSERT_NE(program, 0u);
        ShaderUniformIntSet("TextureID1", 5);
        ShaderUniformIntSet("TextureID2", 6);
        if (round == 0)
            View3DStart(1, 100, 45);
        else
            TextureSet3D(-1, -1);
        GLint a = -1, b = -1;
        glGetUniformiv(program, glGetUniformLocation(program, "TextureID1"), &a);
        glGetUniformiv(program, glGetUniformLocation(program, "TextureID2"), &b);
        EXPECT_EQ(a, 0) << round;
        EXPECT_EQ(b, 1) << round;
    }
    ShaderUse(-1);
}
