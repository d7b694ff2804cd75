// The compiler's info log as diagnostics lines: each driver's positioned form gives the file
// and the line, its level kept; what cannot be read is passed through after the file name.
#include "gfx/shader_log.h"

#include <gtest/gtest.h>

TEST(ShaderLog, DriverLinesBecomeFileAndLine) {
    constexpr DiagLevel E = DiagLevel::Error, W = DiagLevel::Warning;
    const std::vector<ShaderLogLine> got =
        ShaderLogLines("shaders/post.frag",
                       "0:2(1): error: syntax error, unexpected VOID_TOK\n"
                       "0:7(12): warning: `x' used uninitialized\r\n"
                       "\n"
                       "ERROR: 0:3: 'y' : undeclared identifier\n"
                       "0(4) : error C0000: syntax error, unexpected '}'\n"
                       "error: unresolved reference to function `missing'\n"
                       "something else entirely\n");
    const std::vector<ShaderLogLine> want = {
        {E, "shaders/post.frag:2: syntax error, unexpected VOID_TOK"},
        {W, "shaders/post.frag:7: `x' used uninitialized"},
        {E, "shaders/post.frag:3: 'y' : undeclared identifier"},
        {E, "shaders/post.frag:4: syntax error, unexpected '}'"},
        {E, "shaders/post.frag: unresolved reference to function `missing'"},
        {E, "shaders/post.frag: something else entirely"},
    };
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].text, want[i].text);
        EXPECT_EQ(got[i].level, want[i].level) << want[i].text;
    }
    EXPECT_TRUE(ShaderLogLines("a.frag", "").empty());
}
