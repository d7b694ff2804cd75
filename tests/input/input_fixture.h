// A started input record over the fake devices and host.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "input/input.h"
#include "tests/input/fake_input.h"

class InputFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto d = std::make_unique<fake::Devices>();
        dev = d.get();
        InputSystemInstall(std::move(d));
        InputHostInstall(&host);
    }
    void TearDown() override {
        // Leave the process-wide character memory empty for the next test.
        dev->keys.fill(false);
        dev->virtualKeys.fill(false);
        KeyTranslate(state);
        InputHostInstall(nullptr);
        InputSystemInstall(nullptr);
    }
    void Start(bool exclusive = true) { InputStart(state, nullptr, exclusive); }

    fake::Devices* dev = nullptr;
    fake::Host host;
    InputState state;
};
