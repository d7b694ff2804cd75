// The real window driven by xdotool: characters from held keys, Shift, ESC switched off and
// Alt+F4 still ending the program with exit code 0.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/test_support.h"

namespace {

bool HaveDisplayAndXdotool() {
    const char* d = std::getenv("DISPLAY");
    return d && *d && std::system("command -v xdotool >/dev/null 2>&1") == 0;
}

}  // namespace

TEST(KeysE2E, HeldKeysGiveOneCharacterShiftUpperCasesAndAltF4EndsDespiteEscapeOff) {
    SKIP_WHEN_MISSING(!HaveDisplayAndXdotool(), "needs a display and xdotool");
    const std::string script = R"SH(
P="$1"; OUT="$2"
"$P" > "$OUT" 2>&1 & A=$!
for i in $(seq 1 600); do grep -q '^ready' "$OUT" && break; sleep 0.05; done
W=""; for i in $(seq 1 600); do W=$(xdotool search --all --pid $A --name Corvane | head -1); [ -n "$W" ] && break; sleep 0.05; done
xdotool windowfocus --sync "$W"; sleep 0.3
xdotool keydown a; sleep 0.4; xdotool keyup a; sleep 0.2
xdotool keydown shift; sleep 0.1; xdotool keydown a; sleep 0.4; xdotool keyup a; xdotool keyup shift; sleep 0.2
xdotool keydown shift; sleep 0.4; xdotool keyup shift; sleep 0.2
xdotool keydown Escape; sleep 0.4; xdotool keyup Escape; sleep 0.3
kill -0 $A && echo "alive-after-esc"
xdotool keydown alt; sleep 0.1; xdotool keydown F4; sleep 0.3; xdotool keyup F4; xdotool keyup alt
for i in $(seq 1 600); do kill -0 $A 2>/dev/null || break; sleep 0.05; done
kill -0 $A 2>/dev/null && { echo "still-running"; kill -9 $A; }
wait $A; echo "exit=$?"
)SH";
    const std::string out = testsupport::TempDir() + "/key_probe.out";
    auto r = testsupport::RunProgram(
        "/bin/sh", {"-c", script, "sh", testsupport::ProgramPath("input", "key_probe"), out},
        {"SDL_AUDIODRIVER=dummy"}, "", 60000);
    ASSERT_FALSE(r.timedOut) << r.output;
    const std::string probe = testsupport::ReadFile(out);
    EXPECT_NE(r.output.find("alive-after-esc"), std::string::npos) << r.output << probe;
    EXPECT_NE(r.output.find("exit=0"), std::string::npos) << r.output << probe;
    // Exactly one "a", then one "A"; Shift alone gives nothing; ESC was seen as a key.
    size_t lower = probe.find("char a\n"), upper = probe.find("char A\n");
    ASSERT_NE(lower, std::string::npos) << probe;
    ASSERT_NE(upper, std::string::npos) << probe;
    EXPECT_LT(lower, upper);
    EXPECT_EQ(probe.find("char a\n", lower + 1), std::string::npos) << probe;
    EXPECT_EQ(probe.find("char A\n", upper + 1), std::string::npos) << probe;
    int chars = 0;
    for (size_t p = probe.find("char "); p != std::string::npos; p = probe.find("char ", p + 1))
        ++chars;
    EXPECT_EQ(chars, 2) << probe;
    EXPECT_NE(probe.find("esc\n"), std::string::npos) << probe;
}

// Taps of 12 ms (xdotool's own press-to-release time) into a program whose frames are mostly
// work: every tap is one counted press, and a tapped ESC ends the program with exit code 0.
// Each tap waits for the program to have read the key up again, so two taps never fall into
// the same pair of frames however loaded the machine is.
TEST(KeysE2E, TapsShorterThanABusyFrameCountOnceAndATappedEscapeEnds) {
    SKIP_WHEN_MISSING(!HaveDisplayAndXdotool(), "needs a display and xdotool");
    const std::string script = R"SH(
P="$1"; OUT="$2"
"$P" > "$OUT" 2>&1 & A=$!
for i in $(seq 1 600); do grep -q '^ready' "$OUT" && break; sleep 0.05; done
W=""; for i in $(seq 1 600); do W=$(xdotool search --all --pid $A --name Corvane | head -1); [ -n "$W" ] && break; sleep 0.05; done
xdotool windowfocus --sync "$W"; sleep 0.3
for n in $(seq 1 10); do
  sleep 0.0$((n * 7 % 10))
  xdotool key F12
  for i in $(seq 1 600); do grep -q "^release $n\$" "$OUT" && break; sleep 0.05; done
  grep -q "^release $n\$" "$OUT" || { echo "tap $n not counted"; break; }
done
xdotool key Escape
for i in $(seq 1 600); do kill -0 $A 2>/dev/null || break; sleep 0.05; done
kill -0 $A 2>/dev/null && { echo "still-running"; kill -9 $A; }
wait $A; echo "exit=$?"
)SH";
    const std::string out = testsupport::TempDir() + "/busy_taps.out";
    auto r = testsupport::RunProgram(
        "/bin/sh", {"-c", script, "sh", testsupport::ProgramPath("input", "busy_taps"), out},
        {"SDL_AUDIODRIVER=dummy"}, "", 120000);
    ASSERT_FALSE(r.timedOut) << r.output;
    const std::string probe = testsupport::ReadFile(out);
    EXPECT_EQ(r.output.find("not counted"), std::string::npos) << r.output << probe;
    EXPECT_NE(r.output.find("exit=0"), std::string::npos) << r.output << probe;
    // Ten taps, ten presses: none lost, none counted twice.
    EXPECT_NE(probe.find("press 10\n"), std::string::npos) << probe;
    EXPECT_EQ(probe.find("press 11\n"), std::string::npos) << probe;
}
