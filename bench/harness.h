// Shared by the benchmarks: the whole game on the headless backend, replayed from an input
// script exactly as tinselrun-sim plays it, and a full task list built by hand.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "enemies/knight.h"
#include "game/globals.h"
#include "platform/headless/headless.h"
#include "record/script.h"
#include "record/session.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/dxmain.h"
#include "shell/game.h"
#include "shell/graphics.h"
#include "shell/tickhook.h"
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

// The game from start-up on, one tick at a time, with the keys of a script and without drawing:
// what the runner does, so that tick t here is tick t of the runner's trace.
class Replay {
public:
    explicit Replay(const record::Script& script) : feed_(script) {}
    ~Replay() { Stop(); }

    void Start() {
        InstallScenes();
        SetAssetDir(TINSELRUN_BUILD_DIR);
        SetKeyFeed(&feed_);
        GameStart start;
        start.draw = false;
        if (StartGame(start) != START_OK) {
            std::fprintf(stderr, "bench: start-up failed\n");
            std::exit(2);
        }
        running_ = true;
    }

    void Stop() {
        if (!running_) return;
        StopGame();
        ClearTickHooks();
        running_ = false;
    }

    // One tick: events, input, the frame clock, the update and collision passes.
    static void Step() { StepTick(); }

    void RunTo(int64_t tick) {
        while (TicksRun() < tick) Step();
    }

private:
    record::ScriptFeed feed_;
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
