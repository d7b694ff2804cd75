// Keys pressed and released between two polls, in a game whose frames read the keyboard before
// their work and then present (the real FramePresent, which has no renderer here and returns
// after its message pump): taps land during the work (before FramePresent's poll) or during
// the pump (before the next frame's reads).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "corvane.h"
#include "tests/input/input_fixture.h"

namespace {

enum Slot { kWork, kPump };

// What happens to one key at one slot of one frame.
struct KeyEvent {
    int frame;
    Slot slot;
    int key;
    enum { kTap, kPress, kRelease } what;
};

class KeyTapTest : public InputFixture {
protected:
    void SetUp() override {
        InputFixture::SetUp();
        dev->UsLetters();
        Start();
        state.running = true;
        runtimeState.input = &state;
    }
    // A fresh record for the next case: nothing kept from the last one.
    void Restart() {
        InputShutdown(state);
        state = InputState{};
        Start();
        state.running = true;
    }
    void TearDown() override {
        runtimeState.input = nullptr;
        InputFixture::TearDown();
    }

    void Apply(int frameNo, Slot slot) {
        for (const KeyEvent& e : script) {
            if (e.frame != frameNo || e.slot != slot) continue;
            if (e.what == KeyEvent::kTap) dev->tapped[e.key] = true;
            dev->keys[e.key] = e.what == KeyEvent::kPress;
        }
    }

    // Runs frames 1..count: the reads, then the work, then FramePresent. Returns the frame
    // that ended the program, or 0.
    int Run(int count, const std::function<void(int)>& reads) {
        int now = 0;
        events->onPump = [&](int) { Apply(now, kPump); };
        for (now = 1; now <= count; ++now) {
            reads(now);
            Apply(now, kWork);
            try {
                ::FramePresent();
            } catch (const fake::ProgramEnded&) {
                return now;
            }
        }
        return 0;
    }

    std::vector<KeyEvent> script;
};

// The presses a reader counts: the key reading down after reading up.
struct PressCounter {
    int key;
    bool held = false;
    int presses = 0;
    void Read() {
        bool down = KeyGet(key) != 0;
        if (down && !held) ++presses;
        held = down;
    }
};

TEST_F(KeyTapTest, EveryTapIsOnePressWhereverInTheFrameItLands) {
    struct Case {
        const char* name;
        std::vector<KeyEvent> script;
        int presses;
    };
    const int f12 = 88, alt = 56;
    const Case cases[] = {
        {"tap in the work", {{2, kWork, f12, KeyEvent::kTap}}, 1},
        {"tap in the pump", {{2, kPump, f12, KeyEvent::kTap}}, 1},
        {"down in the work, up in the pump",
         {{2, kWork, f12, KeyEvent::kPress}, {2, kPump, f12, KeyEvent::kRelease}},
         1},
        {"down in the pump, up in the next work",
         {{2, kPump, f12, KeyEvent::kPress}, {3, kWork, f12, KeyEvent::kRelease}},
         1},
        {"held for three frames",
         {{2, kWork, f12, KeyEvent::kPress}, {5, kWork, f12, KeyEvent::kRelease}},
         1},
        {"taps three frames apart",
         {{2, kWork, f12, KeyEvent::kTap}, {5, kPump, f12, KeyEvent::kTap}},
         2},
        // FramePresent tests left Alt for Alt+F4; that must not take the game's Alt tap.
        {"Alt tapped in the work", {{2, kWork, alt, KeyEvent::kTap}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        script = c.script;
        PressCounter counter{c.script[0].key};
        EXPECT_EQ(Run(8, [&](int) { counter.Read(); }), 0);
        EXPECT_EQ(counter.presses, c.presses);
        EXPECT_FALSE(counter.held);
    }
}

TEST_F(KeyTapTest, ATappedEscapeEndsAtTheNextPresentEvenWhenTheGameReadKeysFirst) {
    struct Case {
        const char* name;
        KeyEvent tap;
        int endFrame;
    };
    const Case cases[] = {
        {"in the work", {2, kWork, 1, KeyEvent::kTap}, 2},
        {"in the pump", {2, kPump, 1, KeyEvent::kTap}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        script = {c.tap};
        runtimeState.errorCode = 7;
        ShutdownRegister(ShutdownStep::IniWriteBack, fake::EndStep);  // each end takes it
        // The game's own reads poll first and see ESC; the frame still ends.
        PressCounter escape{1}, f12{88};
        EXPECT_EQ(Run(8,
                      [&](int) {
                          f12.Read();
                          escape.Read();
                          KeyCharGet();
                      }),
                  c.endFrame);
        EXPECT_EQ(runtimeState.errorCode, 0);
    }
}

TEST_F(KeyTapTest, KeyGetAndTypingEachGetATapOnceAndAnUnreadTapIsGoneAfterAFrame) {
    const int a = 30, b = 48, q = 16, shift = 42;
    script = {{2, kWork, a, KeyEvent::kTap},  {5, kPump, a, KeyEvent::kTap},
              {7, kWork, q, KeyEvent::kTap},  {10, kWork, shift, KeyEvent::kTap},
              {10, kWork, b, KeyEvent::kTap}, {12, kWork, shift, KeyEvent::kTap},
              {13, kWork, b, KeyEvent::kTap}};
    PressCounter keyA{a};
    std::string typed;
    bool qRead = false;
    // Nothing reads the keys in frames 7 to 9, so the Q tapped in frame 7 is nobody's later.
    // A tap's Shift is the one at its own press: Shift+B together, then B a frame after Shift.
    EXPECT_EQ(Run(16,
                  [&](int f) {
                      if (f < 7) {
                          keyA.Read();
                          typed += KeyCharGet().Text();
                      } else if (f >= 10) {
                          qRead |= KeyGet(q) != 0;
                          typed += KeyCharGet().Text();
                      }
                  }),
              0);
    EXPECT_EQ(keyA.presses, 2);
    EXPECT_EQ(typed, "aaBb");
    EXPECT_FALSE(qRead);
}

}  // namespace
