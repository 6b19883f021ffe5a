// The player's desk around the game: pause and mute. None of them is a tick.
#include "app/desk.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"

namespace {

class Desk : public ShellFixture {
protected:
    void SetUp() override {
        SetDesk(&desk_);
        ShellFixture::SetUp();
        Pump();
    }
    void TearDown() override {
        ShellFixture::TearDown();
        SetDesk(nullptr);
    }
    static void Key(int vk, bool repeat = false) {
        plat::Event e{plat::EventType::KeyDown, vk};
        e.repeat = repeat;
        plat::headless::PushEvent(e);
        Pump();
    }
    static void Focus(bool active) {
        plat::Event e{plat::EventType::Activate};
        e.active = active;
        plat::headless::PushEvent(e);
        Pump();
    }
    // Passes of the loop at one moment until none runs a tick; how many ticks ran.
    static int TicksAt(double ms) {
        plat::headless::SetClock(ms);
        int ticks = 0;
        while (FramePass() >= FRAME_UPDATE) ++ticks;
        return ticks;
    }
    PlayerDesk desk_{Settings{}, nullptr};
};

constexpr double PERIOD = 16.666666;

TEST_F(Desk, PauseStopsTicksAndSoundAndResumesWithoutABurstAndMMutes) {
    EXPECT_EQ(TicksAt(10 * PERIOD + 1), 10);
    Key(plat::VK_P);
    EXPECT_TRUE(desk_.Paused());
    EXPECT_TRUE(plat::headless::AudioPaused());
    EXPECT_EQ(TicksAt(11 * PERIOD + 1), 0);
    EXPECT_EQ(TicksAt(60000), 0) << "a minute paused";
    Key(plat::VK_P, true);  // the key held down repeats: still paused
    EXPECT_TRUE(desk_.Paused());
    Key(plat::VK_PAUSE);
    EXPECT_FALSE(desk_.Paused());
    EXPECT_FALSE(plat::headless::AudioPaused());
    // The minute is not owed: one tick a period from here, as from a fresh start.
    EXPECT_EQ(TicksAt(60000), 0);
    EXPECT_EQ(TicksAt(60000 + PERIOD + 1), 1);
    EXPECT_EQ(TicksAt(60000 + 4 * PERIOD + 1), 3);
    EXPECT_EQ(TicksRun(), 14);
    Key(plat::VK_M);
    Key(plat::VK_M, true);
    EXPECT_TRUE(plat::headless::Muted() && desk_.Current().mute)
        << "M mutes; held, it does not flicker";
}

TEST_F(Desk, AHeldF1SwitchesTheScreenOnceAndIsRecordedOnce) {
    struct F1Count final : TickHook {
        void KeyDown(int vk, int64_t) override { count += vk == plat::VK_F1; }
        int count = 0;
    } f1s;
    AddTickHook(&f1s);
    const int windowed = g_windowed;
    Key(plat::VK_F1);
    for (int i = 0; i < 20; ++i) Key(plat::VK_F1, true);
    EXPECT_NE(g_windowed, windowed);
    EXPECT_EQ(desk_.Current().fullscreen, g_windowed == 0);
    EXPECT_EQ(f1s.count, 1);
    ClearTickHooks();
}

TEST_F(Desk, LosingTheFocusPausesUnlessTheSettingsSayNot) {
    Focus(false);
    EXPECT_TRUE(desk_.Paused());
    Focus(true);
    EXPECT_TRUE(desk_.Paused()) << "back in the window, the player resumes when ready";
    Key(plat::VK_P);
    EXPECT_FALSE(desk_.Paused());
    StopGame();
    Settings calm;
    calm.pauseOnFocusLoss = false;
    desk_ = PlayerDesk(calm, nullptr);
    ASSERT_EQ(StartGame(Undrawn(SCENE_OP)), START_OK);
    Focus(false);
    EXPECT_FALSE(desk_.Paused());
    EXPECT_EQ(TicksAt(3 * PERIOD + 1), 3);
}

}  // namespace
