// Game controllers: SDL's virtual joystick stands in for a pad plugged into the machine.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input.h"
#include "record/session.h"
#include "support/game_session.h"
#include "support/sim_runner.h"
#include "support/virtual_pad.h"

namespace {

// The controller service, as the real backend starts it.
class Pads : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    }
    void TearDown() override {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        EXPECT_EQ(plat::ReadPads(), 0) << "pads are let go with the service";
    }
};

TEST_F(Pads, ButtonsAndStickHoldTheGamesKeysAndPadsComeAndGoInPlay) {
    EXPECT_EQ(plat::ReadPads(), 0);
    auto pad = std::make_unique<VirtualPad>();
    EXPECT_EQ(plat::ReadPads(), 0) << "plugged in, nothing held";
    const struct {
        SDL_GameControllerButton button;
        uint8_t held;
    } buttons[] = {{SDL_CONTROLLER_BUTTON_A, plat::PAD_FIRE},
                   {SDL_CONTROLLER_BUTTON_X, plat::PAD_FIRE},
                   {SDL_CONTROLLER_BUTTON_START, plat::PAD_START},
                   {SDL_CONTROLLER_BUTTON_DPAD_LEFT, plat::PAD_LEFT},
                   {SDL_CONTROLLER_BUTTON_DPAD_DOWN, plat::PAD_DOWN},
                   {SDL_CONTROLLER_BUTTON_B, 0},
                   {SDL_CONTROLLER_BUTTON_BACK, 0},
                   {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0}};
    for (const auto& b : buttons) {
        pad->Press(b.button);
        EXPECT_EQ(plat::ReadPads(), b.held) << SDL_GameControllerGetStringForButton(b.button);
        pad->Release();
    }
    const struct {
        double x, y;
        uint8_t held;
    } sticks[] = {{0.2, 0.0, 0},  // inside the dead zone
                  {0.3, 0.0, plat::PAD_RIGHT},
                  {0.9, -0.3, plat::PAD_RIGHT},  // a push right drifting up is still right
                  {-0.6, -0.6, plat::PAD_LEFT | plat::PAD_UP},
                  {0.5, 0.9, plat::PAD_RIGHT | plat::PAD_DOWN},
                  {0.1, 1.0, plat::PAD_DOWN}};
    for (const auto& s : sticks) {
        pad->Stick(s.x, s.y);
        EXPECT_EQ(plat::ReadPads(), s.held) << s.x << "," << s.y;
    }
    pad->Release();

    // Pulled out while held: nothing is held any more; a second pad plugged in counts at once.
    pad->Press(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(plat::ReadPads(), plat::PAD_FIRE);
    pad->Unplug();
    EXPECT_EQ(plat::ReadPads(), 0);
    VirtualPad second;
    second.Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(plat::ReadPads(), plat::PAD_START);
    VirtualPad third;
    third.Stick(-1.0, 0.0);
    EXPECT_EQ(plat::ReadPads(), plat::PAD_START | plat::PAD_LEFT) << "two pads add up";
}

TEST_F(Pads, AreReadIntoTheKeyboardSnapshotOnlyWhileTheWindowHasTheFocus) {
    VirtualPad pad;
    pad.Press(SDL_CONTROLLER_BUTTON_A);
    pad.Stick(0.0, 1.0);
    InitInput();
    uint8_t keys[256] = {};
    plat::headless::SetKeys(keys);
    ReadKeyboard(keys);
    EXPECT_EQ(record::HeldFromKeys(keys), record::HOLD_SPACE | record::HOLD_DOWN);
    plat::headless::SetActive(false);
    ReadKeyboard(keys);
    EXPECT_EQ(record::HeldFromKeys(keys), 0);
    plat::headless::SetActive(true);
    ReleaseInput();
}

// The pad plays the stage exactly as the keys do: every tick of the trace is the same, the
// arrows fired by A in the very ticks Space fires them.
TEST_F(Pads, PlayTheStageTickForTickAsTheKeysDo) {
    using record::HOLD_RETURN, record::HOLD_RIGHT, record::HOLD_SPACE, record::HOLD_UP;
    auto keysAt = [](int64_t t) {
        uint8_t held = 0;
        if (t <= 20 || (t >= 130 && t <= 140)) held |= HOLD_RETURN;
        if (t >= 230 && t <= 330) held |= HOLD_RIGHT;
        if (t >= 260 && t <= 300) held |= HOLD_UP;
        if ((t >= 240 && t <= 263) || t == 290 || t >= 310) held |= HOLD_SPACE;
        return held;
    };
    SimDir dir;
    record::TraceHook byKeys;
    ASSERT_TRUE(byKeys.Open(dir.Path("keys.jsonl")));
    Play(
        [&](int64_t t) {
            Input in;
            in.held = keysAt(t);
            return in;
        },
        360, {&byKeys});

    VirtualPad pad;
    record::TraceHook byPad;
    ASSERT_TRUE(byPad.Open(dir.Path("pad.jsonl")));
    auto press = [&](int64_t t) {
        const uint8_t held = keysAt(t);
        pad.Press(SDL_CONTROLLER_BUTTON_START, held & HOLD_RETURN);
        pad.Press(t % 2 ? SDL_CONTROLLER_BUTTON_A : SDL_CONTROLLER_BUTTON_X, held & HOLD_SPACE);
        pad.Press(t % 2 ? SDL_CONTROLLER_BUTTON_X : SDL_CONTROLLER_BUTTON_A, false);
        pad.Press(SDL_CONTROLLER_BUTTON_DPAD_UP, held & HOLD_UP);
        pad.Stick(held & HOLD_RIGHT ? 0.8 : 0.0, held & HOLD_UP ? -0.1 : 0.0);
    };
    Play([](int64_t) { return Input(); }, 360, {&byPad}, press);

    const std::string keys = ReadAll(dir.Path("keys.jsonl"));
    ASSERT_NE(keys.find(R"({"class":"Ya")"), std::string::npos) << "the keys fired nothing";
    EXPECT_EQ(ReadAll(dir.Path("pad.jsonl")), keys);
}

}  // namespace
