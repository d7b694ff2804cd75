// GLSL shader slots against a real window: load results and the messages the debug output
// receives, read-back pixels under real shaders, the way back to fixed function, and the
// draw batch flushing before every change of program, uniform or target.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "corvane.h"
#include "gfx/backdrop_layers.h"
#include "gfx/draw_batch.h"
#include "gfx/gl_ext.h"
#include "gfx/offscreen.h"
#include "gfx/renderer.h"
#include "gfx/shaders.h"
#include "gfx/texture_store.h"
#include "image_builders.h"
#include "runtime/debug_output.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"
#include "support/test_support.h"
#include "tests/gfx/gl_window.h"

namespace {

std::vector<std::string> messages;
bool Attached() {
    return true;
}
void Collect(const std::string& text) {
    messages.push_back(text);
}

const char* const kInvert =
    "uniform sampler2D picture;\n"
    "void main() {\n"
    "    vec4 c = texture2D(picture, gl_TexCoord[0].st) * gl_Color;\n"
    "    gl_FragColor = vec4(1.0 - c.rgb, c.a);\n"
    "}\n";
const char* const kTint =
    "uniform float tint;\n"
    "void main() { gl_FragColor = vec4(gl_Color.rgb * tint, 1.0); }\n";
const char* const kMode =
    "uniform int mode;\n"
    "void main() { gl_FragColor = mode == 1 ? vec4(0.0, 1.0, 0.0, 1.0) : gl_Color; }\n";
const char* const kShadeVertex =
    "attribute float shade;\n"
    "void main() {\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
    "    gl_FrontColor = vec4(gl_Color.rgb * shade, 1.0);\n"
    "}\n";
const char* const kSyntaxError = "void main() { gl_FragColor = vec4(1.0) }\n";
const char* const kUnresolved =
    "vec4 missing();\n"
    "void main() { gl_FragColor = missing(); }\n";

constexpr double kColour = 200 + 100 * 256 + 40 * 65536.0;  // (200, 100, 40)

double Packed(int r, int g, int b) {
    return r + g * 256.0 + b * 65536.0;
}

class ShaderGL : public GlTargetsTest {
protected:
    void SetUp() override {
        GL_TEST_REQUIRE_WINDOW();
        ASSERT_NE(GlExt().glCreateShaderObjectARB, nullptr) << "the driver offers no shaders";
        runtimeState.autoPause = false;
        ShaderUse(-1);
        OffscreenUse(-1);
        BlendModeSet(0);
        glClear(GL_COLOR_BUFFER_BIT);
        messages.clear();
        DebugChannelSet(Attached, Collect);
    }
    void TearDown() override {
        DebugChannelSet(nullptr, nullptr);
        ShaderUse(-1);
    }
    static RtString File(const std::string& name, const char* source) {
        const std::string path = testsupport::TempDir() + "/" + name;
        EXPECT_TRUE(testsupport::WriteFile(path, source));
        return StdToRt(path);
    }
    static RtString Missing(const std::string& name) {
        return StdToRt(testsupport::TempDir() + "/no such " + name);
    }
    static bool Said(const std::string& text) {
        for (const std::string& m : messages)
            if (m == "TX" + text + "\n") return true;
        return false;
    }
    // A solid picture in slot s.
    static void Solid(int s, int r, int g, int b) {
        DecodedImage img;
        img.Resize(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                uint8_t* p = img.Pixel(x, y);
                p[0] = static_cast<uint8_t>(r), p[1] = static_cast<uint8_t>(g);
                p[2] = static_cast<uint8_t>(b), p[3] = 255;
            }
        SlotReset(s);
        ASSERT_TRUE(SlotLoadImage(s, img, false, false));
    }
};

TEST_F(ShaderGL, LoadResultsAndWhatTheSinkHears) {
    struct Case {
        const char* what;
        int slot;
        RtString vertex, fragment;
        double result;
        std::vector<std::string> said;  // in this order, after any info log
        bool linked;
    } cases[] = {
        {"two missing files", 3, Missing("a.vert"), Missing("a.frag"), 0, {}, false},
        {"missing vertex file", 4, Missing("b.vert"), File("invert.frag", kInvert), 0, {}, false},
        {"fragment only", 4, RtString(), File("invert.frag", kInvert), 1, {}, true},
        {"no files named", 15, RtString(), RtString(), 1, {}, false},
        {"fragment syntax error",
         5,
         RtString(),
         File("bad.frag", kSyntaxError),
         0,
         {"fragment shader failed"},
         false},
        {"vertex syntax error",
         6,
         File("bad.vert", kSyntaxError),
         File("ok.frag", kInvert),
         0,
         {"vertex shader failed"},
         false},
        {"unresolved function",
         7,
         RtString(),
         File("link.frag", kUnresolved),
         0,
         {"link shader failed"},
         false},
        {"slot below 0", -1, RtString(), File("neg.frag", kInvert), 0, {}, false},
        {"slot past 254", 255, RtString(), File("big.frag", kInvert), 0, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        EXPECT_EQ(ShaderLoad(c.slot, c.vertex, c.fragment), c.result);
        ASSERT_EQ(messages.size(), c.said.empty() ? 0u : c.said.size() + 1) << "log, then text";
        for (size_t i = 0; i < c.said.size(); ++i) {
            EXPECT_GT(messages[i].size(), 3u) << "an empty info log";
            EXPECT_EQ(messages[i + 1], "TX" + c.said[i] + "\n");
        }
        if (c.slot < 0 || c.slot >= kShaderSlotCount) continue;
        const ShaderSlot& s = Shaders().slots[c.slot];
        EXPECT_EQ(s.linked, c.linked);
        // Nothing compiled (no file named, or a named one missing): the slot stays empty.
        if (c.said.empty() && !c.linked) {
            EXPECT_EQ(s.program + s.vertexShader + s.fragmentShader, 0u);
        }
    }
    EXPECT_EQ(Shaders().slots[6].fragmentShader, 0u) << "compiled after the vertex shader failed";

    // A reload starts from an empty slot even where objects cannot be deleted: the old
    // vertex shader (which would shade everything black) joins no later program.
    const GlEntryPoints kept = GlExt();
    GlExt().glDeleteObjectARB = nullptr;
    ASSERT_EQ(ShaderLoad(9, File("shade.vert", kShadeVertex), File("t.frag", kTint)), 1.0);
    ASSERT_EQ(ShaderLoad(9, RtString(), File("t.frag", kTint)), 1.0);
    GlExt() = kept;
    EXPECT_EQ(Shaders().slots[9].vertexShader, 0u);
    ShaderUse(9);
    ShaderUniformSet("tint", 1.0);
    ShaderAttribSet("shade", 0.0f);
    RectDraw(0, 0, 4, 4, kColour);
    EXPECT_EQ(PixelGet(1, 1), kColour);
    ShaderUse(-1);

    // Without the shader entry points the first load says so, once.
    const GlEntryPoints saved = GlExt();
    GlExt().glCreateShaderObjectARB = nullptr;
    Shaders().unsupportedReported = false;
    messages.clear();
    EXPECT_EQ(ShaderLoad(8, RtString(), File("ok.frag", kInvert)), 0.0);
    EXPECT_EQ(ShaderLoad(8, RtString(), File("ok.frag", kInvert)), 0.0);
    GlExt() = saved;
    EXPECT_EQ(messages, std::vector<std::string>{"TXNo OpenGL 2.0 Shader Support\n"});
}

TEST_F(ShaderGL, RealShadersChangeReadBackPixelsExactly) {
    Solid(20, 200, 100, 40);
    struct Case {
        const char* what;
        RtString vertex, fragment;
        void (*set)();
        bool sprite;  // the picture, or a coloured rectangle
        double want;
    } cases[] = {
        {"inverted picture", RtString(), File("invert.frag", kInvert), [] {}, true,
         Packed(55, 155, 215)},
        {"float tint", RtString(), File("tint.frag", kTint), [] { ShaderUniformSet("tint", 0.5); },
         false, Packed(100, 50, 20)},
        {"integer uniform", RtString(), File("mode.frag", kMode),
         [] { ShaderUniformIntSet("mode", 1); }, false, Packed(0, 255, 0)},
        {"vertex attribute", File("shade.vert", kShadeVertex), RtString(),
         [] { ShaderAttribSet("shade", 0.5f); }, false, Packed(100, 50, 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(ShaderLoad(10, c.vertex, c.fragment), 1.0);
        ShaderUse(10);
        c.set();
        if (c.sprite)
            SpriteDraw(20, 10, 10);
        else
            RectDraw(10, 10, 8, 8, kColour);
        EXPECT_EQ(PixelGet(13, 13), c.want);
        EXPECT_TRUE(messages.empty()) << messages.front();
        ShaderUse(-1);
    }
    // Reloading the current slot puts the new program in use, so its uniforms reach it.
    ASSERT_EQ(ShaderLoad(10, RtString(), File("invert.frag", kInvert)), 1.0);
    ShaderUse(10);
    ASSERT_EQ(ShaderLoad(10, RtString(), File("tint.frag", kTint)), 1.0);
    ShaderUniformSet("tint", 0.5);
    RectDraw(10, 10, 8, 8, kColour);
    EXPECT_EQ(PixelGet(13, 13), Packed(100, 50, 20));
}

TEST_F(ShaderGL, FixedFunctionComesBack) {
    ASSERT_EQ(ShaderLoad(11, RtString(), File("tint.frag", kTint)), 1.0);
    const std::string layer = testsupport::TempDir() + "/layer.png";
    ASSERT_TRUE(gfxtest::PngWrite(layer, 640, 480, PNG_COLOR_TYPE_RGB, 8,
                                  gfxtest::SolidRows(640, 480, std::string("\x0a\x50\x96", 3))));
    const std::string bytes = testsupport::ReadFile(layer);
    struct Case {
        const char* what;
        void (*back)();
    } cases[] = {
        {"ShaderUse(-1)", [] { ShaderUse(-1); }},
        {"ShaderUse(255)", [] { ShaderUse(255); }},
        {"FramePresent", [] { FramePresent(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ShaderUse(11);
        ShaderUniformSet("tint", 0.0);
        RectDraw(0, 0, 4, 4, kColour);
        EXPECT_EQ(PixelGet(1, 1), 0.0) << "the shader was not in use";
        c.back();
        EXPECT_EQ(Shaders().current, -1);
        RectDraw(0, 0, 4, 4, kColour);
        EXPECT_EQ(PixelGet(1, 1), kColour);
    }
    // A program that failed to link is never put in use: the slot draws fixed function.
    ASSERT_EQ(ShaderLoad(14, RtString(), File("link.frag", kUnresolved)), 0.0);
    ShaderUse(11);
    ShaderUniformSet("tint", 0.0);
    ShaderUse(14);
    RectDraw(0, 0, 4, 4, kColour);
    EXPECT_EQ(PixelGet(1, 1), kColour);
    ShaderUse(-1);
    // The frame's background is drawn after last frame's shader is gone.
    ASSERT_TRUE(LayerLoadBytes(0, bytes, layer));
    ShaderUse(11);
    ShaderUniformSet("tint", 0.0);
    FramePresent();
    EXPECT_EQ(PixelGet(300, 300), Packed(10, 80, 150));
    LayerClear(0);
}

TEST_F(ShaderGL, UnknownNamesAreReported) {
    ASSERT_EQ(ShaderLoad(12, RtString(), File("tint.frag", kTint)), 1.0);
    struct Case {
        void (*set)();
        std::vector<std::string> said;
    } cases[] = {
        {[] { ShaderUniformSet("nosuch", 1); }, {"TXundefined uniform:\n", "TXnosuch\n"}},
        {[] { ShaderUniformIntSet("nothing", 1); }, {"TXundefined uniform:\n", "TXnothing\n"}},
        {[] { ShaderAttribSet("noattrib", 1); }, {"TXundefined attrib:\n", "TXnoattrib\n"}},
        {[] { ShaderUniformSet("tint", 1); }, {}},
    };
    ShaderUse(12);
    for (const Case& c : cases) {
        messages.clear();
        c.set();
        EXPECT_EQ(messages, c.said);
    }
    // Without a current slot nothing is looked up, so nothing is said.
    ShaderUse(-1);
    messages.clear();
    ShaderUniformSet("nosuch", 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ShaderGL, BatchedDrawsKeepTheProgramUniformAndTargetTheyWereIssuedUnder) {
    ASSERT_EQ(ShaderLoad(13, RtString(), File("tint.frag", kTint)), 1.0);
    const double half = Packed(100, 50, 20);
    // Program switch: A plain, B tinted, C plain.
    RectDraw(0, 0, 4, 4, kColour);
    ShaderUse(13);
    ShaderUniformSet("tint", 0.5);
    RectDraw(10, 0, 4, 4, kColour);
    ShaderUse(-1);
    RectDraw(20, 0, 4, 4, kColour);
    EXPECT_EQ(PixelGet(1, 1), kColour);
    EXPECT_EQ(PixelGet(11, 1), half);
    EXPECT_EQ(PixelGet(21, 1), kColour);
    // Uniform change: A at half, B at full.
    ShaderUse(13);
    ShaderUniformSet("tint", 0.5);
    RectDraw(0, 10, 4, 4, kColour);
    ShaderUniformSet("tint", 1.0);
    RectDraw(10, 10, 4, 4, kColour);
    ShaderUse(-1);
    EXPECT_EQ(PixelGet(1, 11), half);
    EXPECT_EQ(PixelGet(11, 11), kColour);
    // Target switch: A on the window, B in the target only.
    OffscreenCreate(0, 21, 16, 16);
    RectDraw(0, 20, 4, 4, kColour);
    OffscreenUse(0);
    RectDraw(8, 8, 4, 4, kColour);
    OffscreenUse(-1);
    EXPECT_EQ(PixelGet(1, 21), kColour);
    glClear(GL_COLOR_BUFFER_BIT);
    SpriteDraw(21, 100, 100);
    EXPECT_EQ(PixelGet(101, 101), 0.0) << "the window's draw landed in the target";
    EXPECT_EQ(PixelGet(109, 109), kColour);
}

}  // namespace
