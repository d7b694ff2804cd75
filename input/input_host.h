// What the input commands still reach through an installed object: the window's message
// pump and the line editor's text drawing. The runtime installs its own at start-up; tests
// install a fake so the commands run without a window.
#pragma once

#include <string>

class InputHost {
public:
    virtual ~InputHost() = default;
    virtual void MessagePump() = 0;
    virtual void TextPrint(int x, int y, const std::string& text) = 0;
};

// The installed host (never null: a quiet one until the runtime installs its own).
InputHost& Host();
void InputHostInstall(InputHost* host);
