// The player's controls around the game: pause and mute. None of them is a tick.
#include "shell/controls.h"

#include <gtest/gtest.h>

#include "shell/settings.h"
#include "shell/tickhook.h"
#include "support/shell_fixture.h"

namespace {

class Controls : public ShellFixture {
protected:
    void SetUp() override {
        g_settings = Settings{};
        ShellFixture::SetUp();
        while (DispatchOneEvent()) {
        }
    }
    void TearDown() override {
        ShellFixture::TearDown();
        g_settings = Settings{};
    }
    static void Key(int vk, bool repeat = false) {
        plat::Event e{plat::EventType::KeyDown, vk};
        e.repeat = repeat;
        plat::headless::PushEvent(e);
        while (DispatchOneEvent()) {
        }
    }
    static void Focus(bool active) {
        plat::Event e{plat::EventType::Activate};
        e.active = active;
        plat::headless::PushEvent(e);
        while (DispatchOneEvent()) {
        }
    }
    // Passes of the loop at one moment until none runs a tick; how many ticks ran.
    static int TicksAt(double ms) {
        plat::headless::SetClock(ms);
        int ticks = 0;
        while (RunFrame() >= FRAME_UPDATE) ++ticks;
        return ticks;
    }
};

constexpr double PERIOD = 16.666666;

TEST_F(Controls, PauseStopsTicksAndSoundAndResumesWithoutABurstAndMMutes) {
    EXPECT_EQ(TicksAt(10 * PERIOD + 1), 10);
    Key(plat::VK_P);
    EXPECT_TRUE(g_paused);
    EXPECT_TRUE(plat::headless::AudioPaused());
    EXPECT_EQ(TicksAt(11 * PERIOD + 1), 0);
    EXPECT_EQ(TicksAt(60000), 0) << "a minute paused";
    Key(plat::VK_P, true);  // the key held down repeats: still paused
    EXPECT_TRUE(g_paused);
    Key(plat::VK_PAUSE);
    EXPECT_FALSE(g_paused);
    EXPECT_FALSE(plat::headless::AudioPaused());
    // The minute is not owed: one tick a period from here, as from a fresh start.
    EXPECT_EQ(TicksAt(60000), 0);
    EXPECT_EQ(TicksAt(60000 + PERIOD + 1), 1);
    EXPECT_EQ(TicksAt(60000 + 4 * PERIOD + 1), 3);
    EXPECT_EQ(TicksRun(), 14);
    Key(plat::VK_M);
    Key(plat::VK_M, true);
    EXPECT_TRUE(plat::headless::Muted() && g_settings.mute) << "M mutes; held, it does not flicker";
}

TEST_F(Controls, LosingTheFocusPausesUnlessTheSettingsSayNot) {
    Focus(false);
    EXPECT_TRUE(g_paused);
    Focus(true);
    EXPECT_TRUE(g_paused) << "back in the window, the player resumes when ready";
    Key(plat::VK_P);
    EXPECT_FALSE(g_paused);
    g_settings.pauseOnFocusLoss = false;
    Focus(false);
    EXPECT_FALSE(g_paused);
    EXPECT_EQ(TicksAt(3 * PERIOD + 1), 3);
}

}  // namespace
