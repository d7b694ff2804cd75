// The runtime state several modules share, reached through `runtimeState`; each section's
// module owns its fields and the objects they point to. A module's own state lives in its
// own struct behind its own accessor, not here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/rt_string.h"

class Renderer;
class Vezezodi3D;
struct InputState;

struct RuntimeState {
    // ---- start-up settings (frame) ----
    RtString commandLine;
    int screenHeight = 480;
    int screenWidth = 640;
    int fullScreen = 0;
    int multisampleRequest = 0;
    int frameRate = 60;
    int debugMode = 0;
    int hidePointer = 1;

    // ---- error and trace values ----
    double errorCode = 0.0;
    double errorLine = 0.0;
    double currentLine = 0.0;
    double currentModule = 0.0;
    std::string errorDetail;  // what a runtime error found and where ("index 12, size 10, ...")

    // ---- objects created by initialisation (null before it and after shutdown) ----
    Renderer* renderer = nullptr;
    void* mainWindow = nullptr;
    RtString windowTitle;
    InputState* input = nullptr;
    Vezezodi3D* scene3D = nullptr;  // the 3D scene; lives until the process exits

    // ---- flags and times of the frame loop (frame) ----
    bool autoPause = true;
    bool paused = false;
    double programStartTime = 0.0;
    double frameStartTime = 0.0;
    double previousFrameStartTime = 0.0;
    bool escapeQuits = true;
    // ---- end frame ----

    // ---- system: end path, log, system commands ----
    int breakpointHidden = 0;        // set by DebugBreakpoint, read by the frame
    std::string errorLogFallback;    // the log's private file after a refusal (error_log.cpp)
    std::string errorLogOwnPath;     // this program's own log while another holds the shared one
    bool errorLogHoldTaken = false;  // the run's first line has tried to hold its log
    // ---- end system ----

    // ---- gfx ----
    int currentFont = 0;  // 0..31
    // ---- end gfx ----
};

extern RuntimeState runtimeState;
