// The assists sit around the rules: auto-fire is Space held, a slower game is a longer tick.
#include <gtest/gtest.h>

#include <string>

#include "app/desk.h"
#include "record/session.h"
#include "shell/dxmain.h"
#include "support/game_session.h"
#include "support/sim_runner.h"

namespace {

using record::HOLD_RETURN, record::HOLD_RIGHT, record::HOLD_SPACE, record::HOLD_UP;

// Into the stage with Enter, then walking and weaving.
uint8_t Walk(int64_t t) {
    uint8_t held = 0;
    if (t <= 20 || (t >= 130 && t <= 140)) held |= HOLD_RETURN;
    if (t >= 230 && t <= 330) held |= HOLD_RIGHT;
    if (t >= 260 && t <= 300) held |= HOLD_UP;
    return held;
}

// A press of fire in the stage starts firing and the next stops it, as Space held between them;
// in the opening fire is held as ever (and chooses a one-life run).
TEST(AutoFire, GivesTheTraceOfSpaceHeld) {
    SimDir dir;
    record::TraceHook held, automatic;
    ASSERT_TRUE(held.Open(dir.Path("held.jsonl")));
    auto holding = [](int64_t t) {
        Input in;
        in.held = Walk(t);
        if ((t >= 1 && t <= 10) || (t >= 240 && t <= 299) || (t >= 350 && t <= 380)) {
            in.held |= HOLD_SPACE;
        }
        return in;
    };
    Play(holding, 420, {&held});
    auto pressing = [](int64_t t) {
        Input in;
        in.held = Walk(t);
        if ((t >= 1 && t <= 10) || t == 240 || (t >= 300 && t <= 304) || t == 350 || t == 381) {
            in.held |= HOLD_SPACE;
        }
        return in;
    };
    Settings assisted;
    assisted.autoFire = true;
    ASSERT_TRUE(automatic.Open(dir.Path("auto.jsonl")));
    Play(pressing, 420, {&automatic}, nullptr, nullptr, assisted);

    const std::string want = ReadAll(dir.Path("held.jsonl"));
    ASSERT_NE(want.find(R"("oneLifeMode":1)"), std::string::npos);
    ASSERT_NE(want.find(R"({"class":"Ya")"), std::string::npos) << "nothing was fired";
    EXPECT_EQ(ReadAll(dir.Path("auto.jsonl")), want);
}

// The game on a clock moved a millisecond a pass, as the desktop's loop moves it, for `ms`,
// each tick with its own keys; the ticks that ran.
int64_t Timed(int speed, int ms, const std::string& tracePath) {
    record::TraceHook trace;
    EXPECT_TRUE(trace.Open(tracePath));
    InstallScenes();
    SetAssetDir(TINSELRUN_BUILD_DIR);
    g_rasterize = false;
    AddTickHook(&trace);
    Settings slowed;
    slowed.gameSpeed = speed;
    PlayerDesk desk(slowed, nullptr);
    SetDesk(&desk);
    EXPECT_EQ(StartGame(GameStart{}), START_OK);
    for (int now = 1; now <= ms; ++now) {
        uint8_t keys[256];
        record::KeysFromHeld(Walk(TicksRun() + 1) | (TicksRun() > 200 ? HOLD_SPACE : 0), keys);
        plat::headless::SetKeys(keys);
        plat::headless::SetClock(now);
        FramePass();
    }
    const int64_t ticks = TicksRun();
    StopGame();
    SetDesk(nullptr);
    ClearTickHooks();
    g_rasterize = true;
    return ticks;
}

// Slower is a longer tick, nothing else: 30 ticks a second at 50 %, the same trace tick by tick.
TEST(GameSpeed, StretchesTheTickAndLeavesTheTraceAlone) {
    SimDir dir;
    EXPECT_EQ(Timed(100, 6000, dir.Path("full.jsonl")), 360);
    EXPECT_EQ(Timed(50, 12000, dir.Path("half.jsonl")), 360) << "30 ticks a second";
    EXPECT_EQ(Timed(70, 6000, dir.Path("seventy.jsonl")), 252);
    const std::string full = ReadAll(dir.Path("full.jsonl"));
    ASSERT_NE(full.find(R"({"class":"Ya")"), std::string::npos);
    EXPECT_EQ(ReadAll(dir.Path("half.jsonl")), full);
}

}  // namespace
