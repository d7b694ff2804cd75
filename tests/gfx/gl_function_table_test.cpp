// Which GL functions a context offers from its version and extension strings alone.
#include "gfx/gl_function_table.h"

#include <gtest/gtest.h>

TEST(GlFunctionTable, VersionStringsOfDesktopAndEsContexts) {
    struct Case {
        const char* text;
        bool ok;
        int major, minor;
        bool es;
    };
    const Case cases[] = {
        {"4.5 (Compatibility Profile) Mesa 22.3.6", true, 4, 5, false},
        {"2.1 Mesa 7.0.4", true, 2, 1, false},
        {"1.3.1 NVIDIA", true, 1, 3, false},
        {"OpenGL ES 3.2 Mesa 22.3.6", true, 3, 2, true},
        {"OpenGL ES-CM 1.1", true, 1, 1, true},
        {"", false, 0, 0, false},
        {"Mesa 22", false, 0, 0, false},
        {"3.", false, 0, 0, false},
    };
    for (const Case& c : cases) {
        GlContextStrings s;
        ASSERT_EQ(GlVersionParse(c.text, s), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(s.major, c.major) << c.text;
        EXPECT_EQ(s.minor, c.minor) << c.text;
        EXPECT_EQ(s.es, c.es) << c.text;
    }
}

TEST(GlFunctionTable, AFunctionNeedsItsCoreVersionOrOneOfItsExtensions) {
    struct Case {
        const char* name;
        const char* version;
        const char* extensions;
        bool offered;
    };
    const Case cases[] = {
        {"glActiveTexture", "1.2", "", false},
        {"glActiveTexture", "1.3", "", true},
        {"glActiveTexture", "10.0", "", true},
        {"glActiveTextureARB", "4.6", "", false},  // the suffixed form only with its extension
        {"glActiveTextureARB", "1.2", "GL_EXT_abgr GL_ARB_multitexture", true},
        {"glActiveTextureARB", "1.2", "GL_ARB_multitexture_more", false},  // whole names
        {"glGenFramebuffers", "2.1", "GL_ARB_framebuffer_object", true},
        {"glGenFramebuffers", "2.1", "GL_EXT_framebuffer_object", false},
        {"glGenFramebuffersEXT", "2.1", "GL_EXT_framebuffer_object", true},
        {"glGenFramebuffersEXT", "4.6", "GL_ARB_framebuffer_object", false},
        {"glCreateShader", "OpenGL ES 3.2", "", false},  // desktop versions say nothing there
        {"glClear", "1.1", "", true},
        {"glclear", "4.6", "", false},
        {"glNoSuchFunctionAtAll", "4.6", "GL_ARB_multitexture GL_EXT_framebuffer_object", false},
        {"glCombinerParameterfNV", "4.6", "GL_ARB_multitexture", false},
        {"glCombinerParameterfNV", "1.2", "GL_NV_register_combiners", true},
    };
    for (const Case& c : cases) {
        GlContextStrings s;
        ASSERT_TRUE(GlVersionParse(c.version, s)) << c.version;
        s.extensions = GlExtensionsSplit(c.extensions);
        EXPECT_EQ(GlFunctionOffered(c.name, s), c.offered)
            << c.name << " with " << c.version << " / " << c.extensions;
    }
}
