// The player's controls around the game: pause, mute, screenshots. None of them is a tick.
#include "shell/controls.h"

#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "shell/settings.h"
#include "shell/tickhook.h"
#include "support/shell_fixture.h"
#include "support/sim_runner.h"

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

TEST_F(Controls, PauseStopsTicksAndSoundAndResumesWithoutABurst) {
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

TEST_F(Controls, MTogglesMuteAndHoldingItDoesNotFlicker) {
    EXPECT_FALSE(plat::headless::Muted());
    Key(plat::VK_M);
    EXPECT_TRUE(plat::headless::Muted());
    EXPECT_TRUE(g_settings.mute);
    Key(plat::VK_M, true);
    Key(plat::VK_M, true);
    EXPECT_TRUE(plat::headless::Muted());
    Key(plat::VK_M);
    EXPECT_FALSE(plat::headless::Muted());
    EXPECT_FALSE(g_settings.mute);
}

TEST_F(Controls, F12SavesThePictureAsDrawnAndNeverOverAnother) {
    SimDir dir;
    const char* kept = std::getenv("XDG_PICTURES_DIR");
    const std::string keptValue = kept ? kept : "";
    setenv("XDG_PICTURES_DIR", dir.Path("").c_str(), 1);
    TicksAt(PERIOD + 1);
    DrawFrame();
    testing::internal::CaptureStdout();
    Key(plat::VK_F12);
    Key(plat::VK_F12);
    const std::string out = testing::internal::GetCapturedStdout();
    kept ? setenv("XDG_PICTURES_DIR", keptValue.c_str(), 1) : unsetenv("XDG_PICTURES_DIR");

    const size_t newline = out.find('\n');
    ASSERT_NE(newline, std::string::npos) << out;
    const std::string first = out.substr(0, newline), second = out.substr(newline + 1);
    EXPECT_EQ(std::filesystem::path(first).filename().string().rfind("tinselrun-", 0), 0u);
    EXPECT_EQ(first.size(), dir.Path("tinselrun-YYYYMMDD-HHMMSS.png").size()) << first;
    EXPECT_NE(first + "\n", second) << "the second picture went over the first";
    for (const std::string& path : {first, second.substr(0, second.size() - 1)}) {
        SDL_Surface* picture = IMG_Load(path.c_str());
        ASSERT_NE(picture, nullptr) << path;
        EXPECT_EQ(picture->w, 800);
        EXPECT_EQ(picture->h, 600);
        SDL_FreeSurface(picture);
    }
}

}  // namespace
