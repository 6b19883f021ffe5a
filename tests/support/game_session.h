// The whole game in the test's own process on the headless backend, played tick by tick as the
// real loop plays it: for the tests of recording, replay, pause and controllers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "game/globals.h"
#include "platform/headless/headless.h"
#include "record/script.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/dxmain.h"
#include "shell/graphics.h"
#include "shell/input.h"
#include "shell/settings.h"
#include "shell/tickhook.h"

struct Input {
    uint8_t held = 0;  // record::HOLD_ bits on the live keyboard
    std::vector<int> keyDowns;
    bool focused = true;
};
using Plan = std::function<Input(int64_t tick)>;

// Keeps what every tick read from g_keys.
class KeysSeen final : public TickHook {
public:
    void AfterTick(int64_t /*tick*/) override { held.push_back(record::HeldFromKeys(g_keys)); }
    std::vector<uint8_t> held;  // held[t - 1] for tick t
};

// The game from a fresh start, as its loop runs it: each tick's key-downs are dispatched, then
// the clock reaches it. Ends after `ticks`, or at an Escape. `during` runs before each tick.
inline void Play(const Plan& plan, int64_t ticks, const std::vector<TickHook*>& hooks,
                 const std::function<void(int64_t)>& during = nullptr) {
    g_lives = g_oneLifeMode = g_deathSound = 0;
    g_stageClear = 0;
    g_santaPos = Vec3{};
    g_sceneChange = 1;
    g_nextScene = SCENE_OP;
    g_servedScene = nullptr;
    g_drawFrames = true;
    g_rasterize = false;
    g_settings = Settings{};
    InstallScenes();
    SetAssetDir(TINSELRUN_BUILD_DIR);
    for (TickHook* hook : hooks) AddTickHook(hook);
    plat::headless::SetActive(true);
    plat::headless::SetClock(0);
    ASSERT_EQ(StartUp(), 0);
    bool focused = true;
    for (int64_t t = 1; t <= ticks; ++t) {
        if (during) during(t);
        const Input in = plan(t);
        uint8_t keys[256];
        record::KeysFromHeld(in.held, keys);
        plat::headless::SetKeys(keys);
        if (in.focused != focused) {
            focused = in.focused;
            plat::headless::SetActive(focused);
            plat::Event activate{plat::EventType::Activate};
            activate.active = focused;
            plat::headless::PushEvent(activate);
        }
        for (int vk : in.keyDowns) plat::headless::PushEvent({plat::EventType::KeyDown, vk});
        while (DispatchOneEvent()) {
        }
        if (g_quit) break;
        plat::headless::SetClock(static_cast<double>(t) * double(FRAME_PERIOD) + 0.5);
        RunFrame();
    }
    NotifyFinished();
    ShutDown();
    ClearTickHooks();
    plat::headless::SetActive(true);
    g_rasterize = true;
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
