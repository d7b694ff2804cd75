// A started input record over the fake devices, event queue and host, with the frame calls, the
// backdrop hooks and the end path's first step registered to record what the commands run.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "input/input.h"
#include "runtime/frame_calls.h"
#include "runtime/runtime_state.h"
#include "runtime/shutdown.h"
#include "runtime/window_events.h"
#include "tests/input/fake_input.h"

class InputFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto d = std::make_unique<fake::Devices>();
        dev = d.get();
        InputSystemInstall(std::move(d));
        auto e = std::make_unique<fake::Events>();
        events = e.get();
        WindowEventsInstall(std::move(e));
        fake::host = &host;
        fake::frame = &frame;
        FrameCallRegister(FrameCall::MusicCheck, fake::FrameMusicCheck);
        FrameCallRegister(FrameCall::Present, fake::FramePresent);
        state.textHooks = {fake::BackdropSave, fake::BackdropDraw, fake::BackdropClear,
                           fake::Print};
        ShutdownRegister(ShutdownStep::IniWriteBack, fake::EndStep);
        runtimeState.escapeQuits = true;
        runtimeState.screenWidth = 640;
        runtimeState.screenHeight = 480;
    }
    void TearDown() override {
        // Leave the process-wide character memory empty for the next test.
        dev->keys.fill(false);
        dev->virtualKeys.fill(false);
        // Twice: the first may still hand out a press that waited for its reader.
        KeyTranslate(state);
        KeyTranslate(state);
        RuntimeState defaults;
        runtimeState.escapeQuits = defaults.escapeQuits;
        runtimeState.screenWidth = defaults.screenWidth;
        runtimeState.screenHeight = defaults.screenHeight;
        runtimeState.errorCode = defaults.errorCode;
        runtimeState.errorLine = defaults.errorLine;
        ShutdownRegister(ShutdownStep::IniWriteBack, nullptr);
        FrameCallRegister(FrameCall::Present, nullptr);
        FrameCallRegister(FrameCall::MusicCheck, nullptr);
        fake::frame = nullptr;
        fake::host = nullptr;
        WindowEventsInstall(nullptr);
        InputSystemInstall(nullptr);
    }
    void Start(bool exclusive = true) { InputStart(state, nullptr, exclusive); }

    fake::Devices* dev = nullptr;
    fake::Events* events = nullptr;
    fake::Host host;
    fake::Frame frame;
    InputState state;
};
