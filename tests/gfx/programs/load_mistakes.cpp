// Makes each load and draw mistake a game author can make, three frames running, so the
// test can read what the diagnostics channel says about each and how often. The folder of
// test files comes on the command line; "hero.png" is missing on purpose, by a relative name.
#include <cstdio>
#include <string>

#include "corvane.h"
#include "frame/startup.h"
#include "runtime/end_path.h"
#include "runtime/error_log.h"

void GameMain() {
    const std::string dir = CommandLineGet().Str();
    auto at = [&](const char* name) { return RtString((dir + "/" + name).c_str()); };
    double missing = -1, syntax = -1, ok = -1, junk = -1;
    for (int frame = 0; frame < 3; ++frame) {
        missing = ShaderLoad(1, "", at("missing.frag"));
        syntax = ShaderLoad(2, "", at("bad.frag"));
        ok = ShaderLoad(3, "", at("ok.frag"));
        ShaderUse(3);
        ShaderUniformSet("tnit", 0.5);
        ShaderUse(-1);
        SpriteLoad("hero.png", 1);
        SpriteLoad(at("bad.png"), 2);
        SpriteLoad(at("huge.png"), 3);
        FontLoad(at("gone.png"), 1);
        ObjectLoad(at("gone.qmd"), 1);
        junk = ObjectLoad(at("junk.qmd"), 2);
        SoundLoad(at("gone.wav"), 1, 1);
        SoundLoad(at("bad.wav"), 2, 1);
        MusicPlay(at("gone.ogg"), 0);
        VideoPlay(at("gone.mp4"), 0);
        BackgroundLoad(at("gone.bmp"));
        SpriteDraw(40, 0, 0);
        SpriteDrawZoom(40, 0, 0, 2, 2);
        SpriteDraw(70000, 0, 0);
        FramePresent();
    }
    std::printf("results missing=%g syntax=%g ok=%g junk=%g\nlog=%s\n", missing, syntax, ok, junk,
                ErrorLogPath().c_str());
    std::fflush(stdout);
    EndPath();
}

int main(int argc, char** argv) {
    ProgramEntry(nullptr, CommandLineTail(argc, argv), kShowDefault);
}
