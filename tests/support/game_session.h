// The whole game in the test's own process on the headless backend, with the player's desk,
// stepped pass by pass on the stepped clock: for the tests of recording, replay, pause and
// controllers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/desk.h"
#include "platform/headless/headless.h"
#include "record/script.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/game.h"
#include "shell/input.h"
#include "shell/tickhook.h"

struct Input {
    uint8_t held = 0;  // record::HOLD_ bits on the live keyboard
    std::vector<int> keyDowns;
    bool focused = true;
};
using Plan = std::function<Input(int64_t pass)>;

// Keeps what every tick read from g_keys.
class KeysSeen final : public TickHook {
public:
    void AfterTick(int64_t /*tick*/) override { held.push_back(record::HeldFromKeys(g_keys)); }
    std::vector<uint8_t> held;  // held[t - 1] for tick t
};

// The game from a fresh start: before each pass the plan's keys are down and its key-downs and
// focus changes are queued, then the pass runs a tick unless the game is paused. Ends after
// `passes`, or at an Escape. `during` runs before each pass; `feed` plays a recording; the desk
// plays with `settings`.
inline void Play(const Plan& plan, int64_t passes, const std::vector<TickHook*>& hooks,
                 const std::function<void(int64_t)>& during = nullptr, KeyFeed* feed = nullptr,
                 const Settings& settings = Settings{}) {
    InstallScenes();
    SetAssetDir(TINSELRUN_BUILD_DIR);
    g_rasterize = false;
    for (TickHook* hook : hooks) AddTickHook(hook);
    SetKeyFeed(feed);
    PlayerDesk desk(settings, nullptr);
    SetDesk(&desk);
    plat::headless::SetActive(true);
    ASSERT_EQ(StartGame(GameStart{}), START_OK);
    bool focused = true;
    for (int64_t t = 1; t <= passes && !QuitPosted(); ++t) {
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
        StepTick();
    }
    StopGame();
    SetDesk(nullptr);
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
