// What the input commands need from the rest of the runtime: the frame loop, the end path,
// the window size and text drawing. The runtime installs its own at start-up; tests install
// a fake so the commands run without a window.
#pragma once

#include <string>

class InputHost {
public:
    virtual ~InputHost() = default;
    virtual void MusicCheck() = 0;
    virtual void MessagePump() = 0;
    virtual bool EscapeQuits() = 0;
    // Ends the program as ESC does (error code 0); does not return in the runtime.
    virtual void EndProgram() = 0;
    // The renderer's size in pixels.
    virtual void WindowSize(int& width, int& height) = 0;
    virtual void FramePresent() = 0;
    // The line editor's backdrop: copy the back buffer into it, draw it, clear it.
    virtual void BackdropSave() = 0;
    virtual void BackdropDraw() = 0;
    virtual void BackdropClear() = 0;
    virtual void TextPrint(int x, int y, const std::string& text) = 0;
};

// The installed host (never null: a quiet one until the runtime installs its own).
InputHost& Host();
void InputHostInstall(InputHost* host);
