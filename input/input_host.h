// What the line editor still reaches through an installed object: its text drawing. The runtime
// installs its own at start-up; tests install a fake so the commands run without a window.
#pragma once

#include <string>

class InputHost {
public:
    virtual ~InputHost() = default;
    virtual void TextPrint(int x, int y, const std::string& text) = 0;
};

// The installed host (never null: a quiet one until the runtime installs its own).
InputHost& Host();
void InputHostInstall(InputHost* host);
