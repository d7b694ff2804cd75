// PlatformInfo's GL function check against the real context: the driver's lookup answers for
// made-up names too, so only what the context's version and extensions offer may count.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "corvane.h"
#include "tests/gfx/gl_window.h"

namespace {

class GlFunctionLookup : public ::testing::Test {
protected:
    static void SetUpTestSuite() { GlTestWindowOpen(); }
    void SetUp() override { GL_TEST_REQUIRE_WINDOW(); }

    static std::string Ask(const std::string& name) {
        RtString key(std::string_view("GLEXT:" + name));
        return PlatformInfo(key).Str();
    }
    static bool Listed(const std::string& extension) {
        const auto* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        std::istringstream words(list ? list : "");
        for (std::string w; words >> w;)
            if (w == extension) return true;
        return false;
    }
};

}  // namespace

TEST_F(GlFunctionLookup, RealFunctionsAreFoundAndMadeUpOnesAreNot) {
    EXPECT_EQ(Ask("glActiveTexture"), "1");  // Mesa makes no context below 2.1
    EXPECT_EQ(Ask("glGenFramebuffersEXT"), Listed("GL_EXT_framebuffer_object") ? "1" : "0");
    EXPECT_EQ(Ask("glCombinerParameterfNV"), Listed("GL_NV_register_combiners") ? "1" : "0");
    EXPECT_EQ(Ask("glNoSuchFunctionAtAll"), "0");
    EXPECT_EQ(Ask("glactivetexture"), "0");  // names are case-sensitive
}
