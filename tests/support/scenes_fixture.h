// Helpers for the scene tests: a task-list fixture that steps updates by hand, field readers,
// and readers of scenario scripts and their traces (runs go through support/sim_runner.h).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/globals.h"
#include "platform/headless/headless.h"
#include "scenes/gametime.h"
#include "shell/dxmain.h"
#include "shell/input.h"
#include "shell/sound.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

namespace scenes_test {

// A task's own fields by name, as it reports them to the trace.
class FieldReader final : public TaskFields {
public:
    explicit FieldReader(const NodeBaseClass& task) { task.Describe(*this); }
    void Int(const char* name, int64_t value) override { ints[name] = value; }
    void Float(const char* name, float value) override { floats[name] = value; }
    void Vec(const char* name, float x, float y) override { vecs[name] = {x, y}; }
    void Rect(const char*, int32_t, int32_t, int32_t, int32_t) override {}

    std::map<std::string, int64_t> ints;
    std::map<std::string, float> floats;
    std::map<std::string, std::pair<float, float>> vecs;
};

// Linked tasks from the head, newest first.
inline std::vector<NodeBaseClass*> Tasks() {
    std::vector<NodeBaseClass*> out;
    for (NodeBaseClass* n = g_taskHead->next; n->next != nullptr; n = n->next) out.push_back(n);
    return out;
}

inline int CountTasks(std::string_view cls) {
    int n = 0;
    for (NodeBaseClass* t : Tasks()) n += cls == t->ClassName();
    return n;
}

template <class T>
T* FindTask() {
    for (NodeBaseClass* t : Tasks()) {
        if (T* found = dynamic_cast<T*>(t)) return found;
    }
    return nullptr;
}

// Counts the calls of one kind on one slot among the sound calls since the last take.
inline int SoundCalls(const std::vector<plat::headless::SoundCall>& calls, std::string_view call,
                      int slot) {
    int n = 0;
    for (const auto& c : calls) n += call == c.call && c.slot == slot;
    return n;
}

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitTaskList();
        InitHitList();
        std::memset(g_keys, 0, sizeof g_keys);
        g_lives = STAGE_LIVES;
        g_oneLifeMode = 0;
        g_stageClear = 0;
        g_sceneChange = 0;
        g_nextScene = SCENE_COUNT;
        CreateSoundTable(SOUND_COUNT);  // the shell logs no sound call on a slot it lacks
        plat::headless::TakeSoundCalls();
    }
    void TearDown() override {
        ReleaseTaskList();
        ReleaseHitList();
        std::memset(g_keys, 0, sizeof g_keys);
        plat::headless::TakeSoundCalls();
    }

    static void Hold(uint8_t key, bool held = true) { g_keys[key] = held ? KEY_HELD : 0; }

    // The way the shell puts in a scene: construct, Init, link.
    template <class T>
    static T* AddScene() {
        T* scene = new T;
        scene->Init();
        AddTask(scene);
        return scene;
    }

    // Update passes with their collision passes, as the main loop runs them.
    static void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            UpdateTasks();
            RunCollisions();
        }
    }

    static std::vector<plat::headless::SoundCall> Sounds() {
        return plat::headless::TakeSoundCalls();
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
