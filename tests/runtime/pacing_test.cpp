#include "runtime/pacing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// A clock that stands still for the first two reads (the step's start and its first look),
// moves only by sleeping, and then advances a little per read, as a spinning loop would.
class FakeClock : public PaceClock {
public:
    explicit FakeClock(double now, double spinStep = 0.25) : now_(now), step_(spinStep) {}
    double Now() override {
        double v = now_;
        if (++reads_ > 2) now_ += step_;
        last = v;
        return v;
    }
    double last = 0;  // the latest reading: after a step, the moment the frame was presented
    void Sleep(int ms) override {
        sleeps.push_back(ms);
        now_ += ms;
    }
    bool DispatchOne() override {
        if (pending == 0) return false;
        --pending;
        ++dispatched;
        return true;
    }
    std::vector<int> sleeps;
    int pending = 0;
    int dispatched = 0;
    int reads() const { return reads_; }

private:
    double now_;
    double step_;
    int reads_ = 0;
};

constexpr double k60 = 1000.0 / 60.0;

double LoopReference(double next, double duration, double t) {
    double n = next + duration;
    if (duration > 0)
        while (t > n) n += duration;
    return n;
}

TEST(PaceToSlot, FrameTwelveMsEarlySleepsNineThenSpins) {
    FakeClock clock(100.0);
    PaceOutcome out = PaceToSlot(clock, 112.0, k60);
    ASSERT_EQ(clock.sleeps, std::vector<int>{9});
    // After the sleep the clock reads 109: the rest is spent reading the clock until it
    // passes the slot at 112.
    EXPECT_GT(clock.reads(), 10);
    EXPECT_DOUBLE_EQ(out.result, 112.25 - 100.0 + 1.0);
    EXPECT_DOUBLE_EQ(out.nextFrameTime, 112.0 + k60);
}

TEST(PaceToSlot, FramesWithLittleWorkAreOneFrameDurationApart) {
    // What a window's frame time shows: frames that take 2 ms of work each are presented on
    // their slots, so the time between two frame starts is one frame duration (at 60 Hz
    // above 14 ms), whatever the machine's speed; the clock here only moves by sleeps,
    // spins and the work.
    FakeClock clock(1000.0);
    double next = 1000.0 + k60;
    std::vector<double> starts;
    for (int frame = 0; frame < 6; ++frame) {
        clock.Sleep(2);  // the frame's work
        const PaceOutcome out = PaceToSlot(clock, next, k60);
        starts.push_back(clock.last);
        EXPECT_GE(clock.last, next) << frame;  // not before its slot
        EXPECT_LT(clock.last, next + 1.0) << frame;
        next = out.nextFrameTime;
    }
    for (size_t i = 1; i < starts.size(); ++i) {
        EXPECT_GT(starts[i] - starts[i - 1], 14.0) << i;
        EXPECT_LT(starts[i] - starts[i - 1], 25.0) << i;
    }
}

TEST(PaceToSlot, SleepsOnlyWhenMoreThanFiveWholeMsRemain) {
    struct Case {
        double remaining;
        std::vector<int> sleeps;
    };
    for (const Case& c : {Case{5.0, {}}, Case{5.9, {}}, Case{6.0, {3}}, Case{6.7, {3}},
                          Case{16.0, {13}}, Case{0.5, {}}}) {
        FakeClock clock(1000.0);
        PaceToSlot(clock, 1000.0 + c.remaining, k60);
        EXPECT_EQ(clock.sleeps, c.sleeps) << "remaining " << c.remaining;
    }
}

TEST(PaceToSlot, WaitingMessagesAreDispatchedFirst) {
    FakeClock clock(50.0);
    clock.pending = 4;
    PaceToSlot(clock, 40.0, k60);
    EXPECT_EQ(clock.dispatched, 4);
    EXPECT_EQ(clock.pending, 0);
}

TEST(PaceToSlot, LateFramePresentsAtOnceAndKeepsTheOldSchedule) {
    // The frame was due at 1000 but drawing took until 1100.
    FakeClock clock(1100.0);
    PaceOutcome out = PaceToSlot(clock, 1000.0, k60);
    EXPECT_TRUE(clock.sleeps.empty());
    EXPECT_DOUBLE_EQ(out.result, 1.0);
    // The first point of 1000 + k * 16.67 at or after 1100 is k = 6.
    EXPECT_NEAR(out.nextFrameTime, 1000.0 + 6 * k60, 1e-9);
    EXPECT_GE(out.nextFrameTime, 1100.0);

    // The next frame, drawn in 5 ms, then waits for that slot instead of going at once.
    FakeClock later(1105.0);
    PaceToSlot(later, out.nextFrameTime, k60);
    EXPECT_EQ(later.sleeps.size(), 0u);  // 5 ms left: spin only
    FakeClock early(1090.0);
    PaceToSlot(early, out.nextFrameTime, k60);
    EXPECT_EQ(early.sleeps, std::vector<int>{7});
}

TEST(PaceToSlot, ResultIsAtLeastOne) {
    FakeClock clock(10.0, 0.0);
    EXPECT_DOUBLE_EQ(PaceToSlot(clock, 5.0, 2.0).result, 1.0);
}

TEST(PaceNextSlot, MatchesTheStepwiseRuleAndNeverLoops) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> late(-30.0, 2000.0);
    for (double duration : {2.0, k60, 1000.0 / 30.0, 1000.0}) {
        for (int i = 0; i < 2000; ++i) {
            double next = 5000.0, t = next + late(rng);
            double got = PaceNextSlot(next, duration, t);
            EXPECT_NEAR(got, LoopReference(next, duration, t), 1e-6);
            EXPECT_GE(got, t);
            EXPECT_GE(got, next + duration);
        }
    }
    // Not positive: one duration added, no catch-up.
    EXPECT_DOUBLE_EQ(PaceNextSlot(100.0, 0.0, 500.0), 100.0);
    EXPECT_DOUBLE_EQ(PaceNextSlot(100.0, -3.0, 500.0), 97.0);
}

TEST(PaceNextSlot, TinyDurationCatchesUpInOneStep) {
    // 1000 / INT_MAX ms: the stepwise rule would take 2e12 additions for one second late.
    const double tiny = 1000.0 / 2147483647.0;
    double next = 1.0e6, t = next + 1000.0;
    double got = PaceNextSlot(next, tiny, t);
    EXPECT_GE(got, t);
    EXPECT_LT(got - t, tiny * 2);
    FakeClock clock(t, 0.0);
    PaceOutcome out = PaceToSlot(clock, next, tiny);
    EXPECT_GE(out.nextFrameTime, t);
}

}  // namespace
