// Helpers for the scene tests: a task-list fixture stepped by hand, and readers of scenario
// scripts and their traces (runs go through support/sim_runner.h).
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "game/globals.h"
#include "scenes/gametime.h"
#include "shell/dxmain.h"
#include "shell/sound.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

namespace scenes_test {

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitTaskList();
        InitHitList();
        g_lives = STAGE_LIVES;
        g_oneLifeMode = 0;
        g_stageClear = 0;
        g_sceneChange = 0;
        g_nextScene = SCENE_COUNT;
    }
    void TearDown() override {
        ReleaseTaskList();
        ReleaseHitList();
    }

    // Update passes with their collision passes, as the main loop runs them.
    static void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            UpdateTasks();
            RunCollisions();
        }
    }
};

// A script file from tests/scenes/scripts.
inline std::string ReadScript(const std::string& file) {
    std::ifstream in(std::string(TINSELRUN_SOURCE_DIR) + "/tests/scenes/scripts/" + file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Tasks of one class in one trace line, in list order.
inline std::vector<nlohmann::json> TasksOf(const nlohmann::json& tick, std::string_view cls) {
    std::vector<nlohmann::json> out;
    for (const auto& t : tick["tasks"]) {
        if (t["class"] == cls) out.push_back(t);
    }
    return out;
}

inline bool Called(const nlohmann::json& tick, std::string_view call, int slot) {
    for (const auto& s : tick["sounds"]) {
        if (s["call"] == call && s["slot"] == slot) return true;
    }
    return false;
}

// The first tick after `after` at which pred holds, or -1.
template <class Pred>
int64_t FirstTick(const std::vector<nlohmann::json>& ticks, Pred pred, int64_t after = -1) {
    for (const auto& t : ticks) {
        const int64_t tick = t["tick"].get<int64_t>();
        if (tick > after && pred(t)) return tick;
    }
    return -1;
}

// The tick whose update raised a request for that scene.
inline auto Requests(uint32_t scene) {
    return [scene](const nlohmann::json& t) {
        return t["globals"]["sceneChange"] == 1 && t["globals"]["nextScene"] == scene;
    };
}

inline auto Serves(std::string_view cls) {
    return [cls](const nlohmann::json& t) { return t["served"] == cls; };
}

}  // namespace scenes_test
