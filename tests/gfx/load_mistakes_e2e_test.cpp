// A program that makes every load and draw mistake in turn, three frames running: each is
// said on stderr exactly once, naming the command, the file and why; CORVANE_LOG quiets them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

struct Expected {
    bool error;          // an error line (kept at CORVANE_LOG=error), else a warning
    std::string prefix;  // the line starts so (the compiler's words after it are its own)
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

size_t Count(const std::vector<std::string>& lines, const std::string& prefix) {
    size_t n = 0;
    for (const std::string& l : lines) n += l.rfind(prefix, 0) == 0;
    return n;
}

class LoadMistakesE2E : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_WHEN_MISSING(!std::getenv("DISPLAY"), "needs an X display (xvfb-run)");
        dir_ = testsupport::MakeSubDir("mistakes");
        const std::string png(
            "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x06"
            "\0\0\0\0\0\0\0",
            33);
        for (auto [name, bytes] : std::vector<std::pair<std::string, std::string>>{
                 {"bad.frag", "void main() {\n    gl_FragColor = vec4(1.0) }\n"},
                 {"ok.frag", "uniform float tint;\nvoid main() { gl_FragColor = vec4(tint); }\n"},
                 {"bad.png", "not a picture"},
                 {"huge.png", png},
                 {"junk.qmd", "QMDA junk junk"},
                 {"bad.wav", "RIFF\x04\0\0\0junk"}})
            ASSERT_TRUE(testsupport::WriteFile(dir_ + "/" + name, bytes));
    }
    testsupport::RunResult Run(const std::string& level) {
        std::vector<std::string> env = {"SDL_AUDIODRIVER=dummy"};
        if (!level.empty()) env.push_back("CORVANE_LOG=" + level);
        return testsupport::RunProgram(testsupport::ProgramPath("gfx", "load_mistakes"), {dir_},
                                       env, "", 60000);
    }
    std::vector<Expected> Table() const {
        const std::string d = dir_ + "/";
        return {
            {true, "error: ShaderLoad: " + d + "missing.frag: no such file"},
            {true, "error: ShaderLoad: " + d + "bad.frag:2: syntax error, unexpected '}'"},
            {false, "warning: ShaderUniformSet: \"tnit\": shader slot 3 (" + d +
                        "ok.frag) has no such uniform, or does not use it"},
            {false, "warning: SpriteLoad: hero.png: no such file"},
            {false, "warning: SpriteLoad: names are looked up in the current folder " +
                        std::string(CORVANE_TEST_BIN_DIR) +
                        "/programs/ (no media archive is in use)"},
            {false, "warning: SpriteLoad: " + d + "bad.png: not a BMP or PNG picture"},
            {false, "warning: SpriteLoad: " + d +
                        "huge.png: picture too large (100000 x 100000 pixels; at most"},
            {false, "warning: FontLoad: " + d + "gone.png: no such file"},
            {false, "warning: ObjectLoad: " + d + "gone.qmd: no such file"},
            {false, "warning: ObjectLoad: " + d +
                        "junk.qmd: damaged QMDA text: \"junk\" is not a number (line 1)"},
            {false, "warning: SoundLoad: " + d + "gone.wav: no such file"},
            {false, "warning: SoundLoad: " + d + "bad.wav: not a WAV sound that can be played"},
            {false, "warning: MusicPlay: " + d + "gone.ogg: no such file"},
            {false, "warning: VideoPlay: " + d + "gone.mp4: no such file"},
            {false, "warning: BackgroundLoad: " + d + "gone.bmp: no such file"},
            {false, "warning: SpriteDraw: slot 40 is empty"},
            {false, "warning: SpriteDraw: slot 70000 is out of range (0 to 65535)"},
        };
    }
    std::string dir_;
};

TEST_F(LoadMistakesE2E, EachMistakeIsSaidOnceNamingCommandFileAndWhy) {
    const auto r = Run("");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("results missing=0 syntax=0 ok=1 junk=0\n"), std::string::npos)
        << r.output;
    const auto lines = Lines(r.output);
    size_t said = 0;
    for (const Expected& e : Table()) {
        EXPECT_EQ(Count(lines, e.prefix), 1u) << e.prefix << "\n---\n" << r.output;
        said += Count(lines, e.prefix);
    }
    EXPECT_EQ(Count(lines, "warning: ") + Count(lines, "error: "), said)
        << "a line the table does not know\n"
        << r.output;
    // The log keeps its own lines for the picture and font loads beside them.
    const size_t at = r.output.find("log=");
    ASSERT_NE(at, std::string::npos);
    const std::string log =
        testsupport::ReadFile(r.output.substr(at + 4, r.output.find('\n', at) - at - 4));
    EXPECT_NE(log.find("SpriteLoad: hero.png: not found\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("FontLoad: " + dir_ + "/gone.png: not found\r\n"), std::string::npos);
}

TEST_F(LoadMistakesE2E, TheLogLevelKeepsErrorsOnlyOrNothing) {
    for (const std::string level : {"error", "quiet"}) {
        SCOPED_TRACE(level);
        const auto r = Run(level);
        ASSERT_EQ(r.exitCode, 0) << r.output;
        const auto lines = Lines(r.output);
        size_t errors = 0;
        for (const Expected& e : Table()) {
            const size_t want = level == "error" && e.error ? 1 : 0;
            EXPECT_EQ(Count(lines, e.prefix), want) << e.prefix << "\n---\n" << r.output;
            errors += want;
        }
        EXPECT_EQ(Count(lines, "warning: "), 0u) << r.output;
        EXPECT_EQ(Count(lines, "error: "), errors) << r.output;
    }
}

}  // namespace
