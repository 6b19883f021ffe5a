#include <gtest/gtest.h>

#include <cmath>

#include "platform/headless/headless.h"
#include "shell/dxmain.h"

namespace {

using plat::headless::SetClock;

constexpr double P = 16.666666030883789;  // FRAME_PERIOD as the clock adds it

class FrameClock : public testing::TestWithParam<double> {
protected:
    void SetUp() override {
        SetClock(GetParam());
        StartFrameClock();
    }
    double start() const { return GetParam(); }
};

TEST_P(FrameClock, TicksOnlyOncePastDue) {
    SetClock(start() + P * 0.5);
    EXPECT_EQ(TickFrameClock(), 0);
    SetClock(g_clockNext);  // exactly due counts as not yet
    EXPECT_EQ(TickFrameClock(), 0);
    SetClock(g_clockNext + 0.25);
    EXPECT_EQ(TickFrameClock(), FRAME_UPDATE_DRAW);
    EXPECT_EQ(TickFrameClock(), 0);  // the next one is a period away again
}

TEST_P(FrameClock, LateUpToTwoPeriodsStillDraws) {
    SetClock(g_clockNext + 2 * P);
    EXPECT_EQ(TickFrameClock(), FRAME_UPDATE_DRAW);
    EXPECT_EQ(g_skipCount, 0);
}

TEST_P(FrameClock, FarBehindTenTicksSkipDrawingThenOneDraws) {
    const double base = g_clockNext;
    SetClock(base + 100 * P + 0.5);  // a long stall: catch up with no limit
    int updates = 0, draws = 0;
    int pattern[24] = {};
    for (int r; (r = TickFrameClock()) != 0; ++updates) {
        if (updates < 24) pattern[updates] = r;
        if (r == FRAME_UPDATE_DRAW) ++draws;
    }
    EXPECT_EQ(updates, 101);  // every elapsed period is run, none lost
    for (int i = 0; i < 10; ++i) EXPECT_EQ(pattern[i], FRAME_UPDATE) << i;
    EXPECT_EQ(pattern[10], FRAME_UPDATE_DRAW);
    for (int i = 11; i < 21; ++i) EXPECT_EQ(pattern[i], FRAME_UPDATE) << i;
    EXPECT_EQ(pattern[21], FRAME_UPDATE_DRAW);
    EXPECT_GE(draws, 9);
}

TEST_P(FrameClock, SkipCountCarriesOverOnTimeTicks) {
    SetClock(g_clockNext + 3 * P);
    EXPECT_EQ(TickFrameClock(), FRAME_UPDATE);       // 3 periods late
    EXPECT_EQ(TickFrameClock(), FRAME_UPDATE_DRAW);  // now within two: drawn, count kept
    EXPECT_EQ(g_skipCount, 1);
    for (int i = 0; i < 5; ++i) {
        SetClock(g_clockNext + 0.5);
        EXPECT_EQ(TickFrameClock(), FRAME_UPDATE_DRAW);
    }
    EXPECT_EQ(g_skipCount, 1);
    SetClock(g_clockNext + 30 * P);
    int skipped = 0;
    while (TickFrameClock() == FRAME_UPDATE) ++skipped;
    EXPECT_EQ(skipped, 9);  // 1 carried over + 9 = 10, then the forced draw
}

TEST_P(FrameClock, AveragesOneTickPerPeriodOverAMinute) {
    // The game's own loop: the clock moves in whole milliseconds, passes come often.
    int ticks = 0;
    const double begin = start();
    for (int ms = 1; ms <= 60000; ++ms) {
        SetClock(begin + ms);
        while (TickFrameClock() != 0) ++ticks;
    }
    EXPECT_NEAR(ticks, 60000.0 / P, 1.5);
}

// Start-up near 2^28 ms and 2^32 ms: hours and days of uptime must not stall or race the clock.
INSTANTIATE_TEST_SUITE_P(Uptimes, FrameClock,
                         testing::Values(0.0, std::ldexp(1.0, 28) - 3.0, std::ldexp(1.0, 32) - 7.0,
                                         std::ldexp(1.0, 36)));

}  // namespace
