#include "frame/startup.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/fatal.h"
#include "corvane.h"
#include "files/archive.h"
#include "files/files_startup.h"
#include "frame/frame_pacing.h"
#include "frame/frame_recorder.h"
#include "frame/window_size_setting.h"
#include "gfx/gfx_text.h"
#include "gfx/offscreen.h"
#include "gfx/renderer.h"
#include "gfx/shaders.h"
#include "gfx3d/scene3d.h"
#include "input/input_runtime.h"
#include "net/net_runtime.h"
#include "platform/end_signals.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "runtime/diagnostics.h"
#include "runtime/end_path.h"
#include "runtime/error_log.h"
#include "runtime/frame_calls.h"
#include "runtime/rt_text.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "runtime/timer.h"
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

int RuntimeInit(void* instance, int showFlag, const char* title) {
    RuntimeState& rs = runtimeState;
    platform::EndSignalsCatch();
    ErrorLogReset();
    rs.autoPause = true;

    ErrorLogAppend("Init GFX");
    rs.renderer = new Renderer();
    ShutdownRegister(ShutdownStep::Renderer, RendererShutdown);
    if (!rs.renderer->WindowSetup(instance, rs.screenWidth, rs.screenHeight, 0,
                                  rs.multisampleRequest))
        return 0;
    FramePacingStart(rs.frameRate);
    FrameCallRegister(FrameCall::Present, FramePresent);
    OffscreenStart();
    ShaderStart();

    rs.mainWindow = rs.renderer->windowHandle;
    platform::WindowTitleSet(title);
    rs.windowTitle = StdToRt(title);

    ErrorLogAppend("Init Input");
    InputRecordCreate();

    ErrorLogAppend("Init Sound");
    SoundRecordCreate();

    ErrorLogAppend("Init Network");
    NetStateCreate();
    Scene3DCreate(rs.renderer);

    RandomSeed(std::trunc(FrameTimer()));

    ErrorLogAppend("Init Window");
    if (rs.fullScreen != 0)
        rs.renderer->FullScreenEnter();
    else
        rs.renderer->FullScreenLeave();
    platform::ScreenSaverInhibit();

    InputRuntimeStart();
    SoundStartInBackground();  // no output: the sound commands stay silent
    MusicRuntimeStart();
    rs.currentFont = 0;

    std::string exe = platform::ExecutablePath();
    FilesStartup(exe);
    size_t cut = exe.find_last_of("/\\");
    if (cut != std::string::npos) platform::CurrentFolderSet(exe.substr(0, cut));

    // ScreenClear (gfx module).
    ScreenClear();

    TimesReset();
    FrameSwapAndPace();
    rs.renderer->Viewport2D(0, 0, 0, 0);

    {
        double sw = 0, sh = 0, cw = 0, ch = 0;
        ScreenSizeGet(sw, sh);
        FontLoad(RtString(), 0);
        FontSizeGet(cw, ch);
        TextPrint("Loading...", (sw - 10 * cw) * 0.5, (sh - ch) * 0.5);
    }
    FramePresent();

    rs.paused = false;
    // Linux sleeps to the millisecond already: no timer resolution to raise.

    TimesReset();

    {
        // A program that brings no system font gets the built-in one; only a font file that
        // is there and fails to load is worth a report.
        std::string found;
        if (MediaResolve("smalfont.png", found))
            FontLoad("smalfont.png", 0);
        else if (MediaResolve("smalfont.bmp", found))
            FontLoad("smalfont.bmp", 0);
        else
            FontBuiltinLoad(0);
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
    // From here on a fatal error in the core leaves through the end path like any other.
    CoreFatalHandlerSet(RuntimeError);
    rs.commandLine = StdToRt(commandLineTail);
    rs.screenHeight = 480;
    rs.screenWidth = 640;
    rs.fullScreen = 0;
    rs.multisampleRequest = 0;
    rs.frameRate = 60;
    rs.debugMode = 0;
    rs.hidePointer = 1;
    DiagStart(std::getenv("CORVANE_LOG"));
    if (const char* size = std::getenv("CORVANE_SCREEN"))
        WindowSizeParse(size, rs.screenWidth, rs.screenHeight);

    FrameRecorderConfigure();
    if (RuntimeInit(instance, showFlag, "Corvane prog_1") == 0) {
        DiagError("start-up", "the window or its OpenGL context could not be created");
        std::exit(1);
    }
    FrameRecorderStart();
    rs.errorLine = 0.0;
    rs.errorCode = 0.0;
    rs.currentLine = 0.0;
    GameMain();
    EndPath();
}
