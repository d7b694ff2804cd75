#include "frame/startup.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "corvane.h"
#include "frame/end_path.h"
#include "frame/error_log.h"
#include "frame/frame_loop.h"
#include "frame/rt_text.h"
#include "frame/runtime_state.h"
#include "frame/shutdown.h"
#include "gfx/gfx_text.h"
#include "gfx/opengl_vezezodi.h"
#include "input/input_runtime.h"
#include "lib/archive.h"
#include "lib/lib_startup.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "sound/music_runtime.h"
#include "sound/sound_runtime.h"

namespace {
bool NeedsQuotes(const char* a) {
    if (!*a) return true;
    for (; *a; ++a)
        if (*a == ' ' || *a == '\t' || *a == '"') return true;
    return false;
}

void RendererShutdown() {
    delete runtimeState.renderer;
    runtimeState.renderer = nullptr;
    runtimeState.mainWindow = nullptr;
}

void TimesReset() {
    RuntimeState& rs = runtimeState;
    rs.frameStartTime = rs.previousFrameStartTime = rs.programStartTime = FrameTimer();
}
}  // namespace

std::string CommandLineTail(int argc, const char* const* argv) {
    std::string tail;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) tail += ' ';
        const char* a = argv[i] ? argv[i] : "";
        if (NeedsQuotes(a)) {
            tail += '"';
            for (const char* p = a; *p; ++p) {
                if (*p == '"') tail += '\\';
                tail += *p;
            }
            tail += '"';
        } else {
            tail += a;
        }
    }
    return tail;
}

int RuntimeInit(void* instance, const RtString& commandLine, int showFlag, const char* title) {
    RuntimeState& rs = runtimeState;
    ErrorLogReset();
    rs.autoPause = true;

    ErrorLogAppend("Init GFX");
    rs.renderer = new OpenGLVezezodi();
    ShutdownRegister(ShutdownStep::Renderer, RendererShutdown);
    if (!rs.renderer->WindowSetup(instance, rs.screenWidth, rs.screenHeight, 0, rs.frameRate,
                                  rs.multisampleRequest))
        return 0;

    rs.mainWindow = rs.renderer->windowHandle;
    platform::WindowTitleSet(title);
    rs.windowTitle = StdToRt(title);

    ErrorLogAppend("Init Input");
    InputRecordCreate();

    ErrorLogAppend("Init Sound");
    SoundRecordCreate();

    ErrorLogAppend("Init Network");
    // The idle network state and the 3D scene object are created here (network, 3D modules).

    RandomSeed(std::trunc(FrameTimer()));

    ErrorLogAppend("Init Window");
    if (rs.fullScreen != 0)
        rs.renderer->FullScreenEnter();
    else
        rs.renderer->FullScreenLeave();
    platform::ScreenSaverInhibit();

    InputRuntimeStart();
    SoundStart();  // no output: the sound commands stay silent
    MusicRuntimeStart();
    rs.currentFont = 0;

    std::string exe = platform::ExecutablePath();
    LibStartup(exe);
    size_t cut = exe.find_last_of("/\\");
    if (cut != std::string::npos) platform::CurrentFolderSet(exe.substr(0, cut));

    // ScreenClear (gfx module).
    ScreenClear();

    TimesReset();
    rs.renderer->SwapAndPace();
    rs.renderer->Viewport2D(0, 0, 0, 0);

    {
        double sw = 0, sh = 0, cw = 0, ch = 0;
        ScreenSizeGet(sw, sh);
        FontLoad(RtString(), 0);
        FontSizeGet(cw, ch);
        TextPrint("Loading...", (sw - 10 * cw) * 0.5, (sh - ch) * 0.5);
        FontInputHooksInstall();
    }
    FramePresent();

    rs.paused = false;
    // Linux sleeps to the millisecond already: no timer resolution to raise.

    TimesReset();

    {
        std::string found;
        FontLoad(MediaResolve("smalfont.png", found) ? "smalfont.png" : "smalfont.bmp", 0);
        FontSet(0);
    }

    if (showFlag == kShowHidden) {
        rs.renderer->WindowHide();
        platform::WindowHide();
    }

    InputPointerStateApply();

    ErrorLogAppend("Init Finalized");
    return 1;
}

void ProgramEntry(void* instance, const std::string& commandLineTail, int showFlag) {
    RuntimeState& rs = runtimeState;
    rs.commandLine = StdToRt(commandLineTail);
    rs.screenHeight = 480;
    rs.screenWidth = 640;
    rs.fullScreen = 0;
    rs.multisampleRequest = 0;
    rs.frameRate = 60;
    rs.debugMode = 0;
    rs.hidePointer = 1;

    if (RuntimeInit(instance, rs.commandLine, showFlag, "Corvane prog_1") == 0) {
        std::fprintf(stderr, "Corvane: the window or its OpenGL context could not be created\n");
        std::fflush(stderr);
        std::exit(1);
    }
    rs.errorLine = 0.0;
    rs.errorCode = 0.0;
    rs.currentLine = 0.0;
    GameMain();
    EndPath();
}
