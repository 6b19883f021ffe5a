// Shared by the benchmarks: the whole game on the headless backend, replayed from an input
// script exactly as tinselrun-sim plays it, and a full task list built by hand.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "enemies/knight.h"
#include "game/globals.h"
#include "platform/headless/headless.h"
#include "record/script.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/dxmain.h"
#include "shell/graphics.h"
#include "shell/input.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

namespace bench {

inline std::string StageScriptPath() {
    return TINSELRUN_BENCH_DIR "/scripts/stage.txt";
}

inline record::Script ReadScriptOrDie(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    record::Script script;
    record::ScriptError error;
    if (!in || !record::ParseScript(text.str(), &script, &error)) {
        std::fprintf(stderr, "bench: %s:%d: %s\n", path.c_str(), error.line, error.message.c_str());
        std::exit(2);
    }
    return script;
}

// The game from start-up on, one tick at a time, with the keys of a script: what the runner
// does, so that tick t here is tick t of the runner's trace.
class Replay {
public:
    explicit Replay(const record::Script& script) : script_(script) {}
    ~Replay() { Stop(); }

    void Start() {
        InstallScenes();
        SetAssetDir(TINSELRUN_BUILD_DIR);
        g_sceneChange = 1;
        g_nextScene = SCENE_OP;
        g_drawFrames = false;
        plat::headless::SetClock(0);
        if (StartUp() < 0) {
            std::fprintf(stderr, "bench: start-up failed\n");
            std::exit(2);
        }
        plat::headless::TakeSoundCalls();
        cursor_ = std::make_unique<record::ScriptCursor>(script_);
        tick_ = 0;
        running_ = true;
    }

    void Stop() {
        if (!running_) return;
        ShutDown();
        plat::headless::TakeSoundCalls();
        running_ = false;
    }

    // Everything of the next tick that comes before its update pass: keys, events, the
    // keyboard read and the frame clock. Returns what the clock said.
    int BeginTick() {
        const record::TickInput& input = cursor_->Next();
        static const struct {
            uint8_t bit, code;
        } MAP[] = {{record::HOLD_LEFT, DIK_LEFT},   {record::HOLD_RIGHT, DIK_RIGHT},
                   {record::HOLD_UP, DIK_UP},       {record::HOLD_DOWN, DIK_DOWN},
                   {record::HOLD_SPACE, DIK_SPACE}, {record::HOLD_RETURN, DIK_RETURN}};
        uint8_t keys[256] = {};
        for (const auto& key : MAP) {
            if (input.held & key.bit) keys[key.code] = KEY_HELD;
        }
        plat::headless::SetKeys(keys);
        for (record::KeyEvent event : input.events) {
            const int key = event == record::KeyEvent::Escape ? plat::VK_ESCAPE : plat::VK_F1;
            plat::headless::PushEvent({plat::EventType::KeyDown, key});
        }
        while (DispatchOneEvent()) {
        }
        ++tick_;
        plat::headless::SetClock(static_cast<double>(tick_) * double(FRAME_PERIOD) + 0.5);
        ReadKeyboard(g_keys);
        ReadMouse(nullptr, nullptr, &g_mouseState);
        ReadJoysticks();
        return TickFrameClock();
    }

    // The part of a tick that the tick benchmark times.
    static void UpdatePass() {
        ServeSceneChange();
        UpdateTasks();
        RunCollisions();
    }

    void Step() {
        BeginTick();
        UpdatePass();
        plat::headless::TakeSoundCalls();
    }

    void RunTo(int64_t tick) {
        while (tick_ < tick) Step();
    }

    int64_t Tick() const { return tick_; }

private:
    const record::Script& script_;
    std::unique_ptr<record::ScriptCursor> cursor_;
    int64_t tick_ = 0;
    bool running_ = false;
};

// The tick with the most linked tasks (the trace's task count) in the first `ticks` ticks;
// the earliest one when several tie. BENCH_TICK overrides it.
inline int64_t BusiestTick(const record::Script& script, int64_t ticks, int32_t* count) {
    Replay replay(script);
    replay.Start();
    int64_t best = 1;
    int32_t most = -1;
    for (int64_t t = 1; t <= ticks; ++t) {
        replay.Step();
        if (g_taskCount > most) {
            most = g_taskCount;
            best = t;
        }
    }
    replay.Stop();
    if (const char* forced = std::getenv("BENCH_TICK")) best = std::atoll(forced);
    if (count != nullptr) *count = most;
    return best;
}

constexpr int64_t STAGE_TICKS = 8000;
constexpr int32_t FULL_LIST = MAX_TASKS + 1;  // AddTask takes tasks while at most 1024 are linked

// Fills the task list to its cap with knights in a grid of 41 columns and 25 rows from
// (x0, 0): each has a box, and none can touch another's group, so the list stays full.
inline void FillWithKnights(float x0) {
    for (int32_t i = 0; i < FULL_LIST; ++i) {
        auto* knight = new Knight;
        knight->Init(
            Vec3{x0 + static_cast<float>((i % 41) * 19), static_cast<float>((i / 41) * 22), 0});
        AddTask(knight);
    }
}

// The heaviest collision pass a full list can keep up: boxes of two groups that never
// overlap, so every pair gets past the group test and nothing dies. Its Update is an
// actor's usual one: read the hit flag, place the box.
class GridActor : public NodeBaseClass, public HitObjClass {
public:
    void Init(int32_t index) {
        x_ = (index % 41) * 19;
        y_ = (index / 41) * 23;
        AllocBoxes(1);
        CreateBox(0, x_, y_, 16, 16);
        SetBoxInfo(0, index, index % 2 == 0 ? HIT_GROUP_YA : HIT_GROUP_ENEMY, 0);
    }
    void Update() override {
        if (IsHit(0)) state = TASK_DEAD;
        SetBoxPos(0, x_, y_);
    }
    const char* ClassName() const override { return "GridActor"; }

private:
    int32_t x_ = 0, y_ = 0;
};

inline void FillWithGridActors() {
    for (int32_t i = 0; i < FULL_LIST; ++i) {
        auto* actor = new GridActor;
        actor->Init(i);
        AddTask(actor);
    }
}

}  // namespace bench
