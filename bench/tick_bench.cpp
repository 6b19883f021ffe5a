// Tick: one update pass plus collision pass, at the busiest moment of the scripted stage and
// with the task list full.
#include <benchmark/benchmark.h>

#include "harness.h"

namespace {

const record::Script& StageScript() {
    static const record::Script script = bench::ReadScriptOrDie(bench::StageScriptPath());
    return script;
}

int64_t g_busiest = 0;
int32_t g_busiestCount = 0;

// Each iteration replays the stage from start-up to the tick before the busiest one (not
// timed) and times that tick alone: its input and clock, update and collision passes.
void BM_TickBusiestStageMoment(benchmark::State& state) {
    if (g_busiest == 0)
        g_busiest = bench::BusiestTick(StageScript(), bench::STAGE_TICKS, &g_busiestCount);
    for (auto _ : state) {
        state.PauseTiming();
        bench::Replay replay(StageScript());
        replay.Start();
        replay.RunTo(g_busiest - 1);
        state.ResumeTiming();
        bench::Replay::Step();
        state.PauseTiming();
        if (g_taskCount != g_busiestCount)
            state.SkipWithError("the replay left the recorded stage");
        replay.Stop();
        state.ResumeTiming();
    }
    state.counters["tick"] = static_cast<double>(g_busiest);
    state.counters["tasks"] = g_busiestCount;
}
BENCHMARK(BM_TickBusiestStageMoment)->Unit(benchmark::kMicrosecond)->Iterations(20)->Repetitions(5);

// The whole scripted stage without drawing, start-up and shut-down not timed: what the
// runner's loop costs per tick, in ticks per second.
void BM_StageHeadless(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        bench::Replay replay(StageScript());
        replay.Start();
        state.ResumeTiming();
        replay.RunTo(bench::STAGE_TICKS);
        state.PauseTiming();
        replay.Stop();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * bench::STAGE_TICKS);
}
BENCHMARK(BM_StageHeadless)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

// The task list at its cap: only the task framework and the hit ring, no scene.
class FullList {
public:
    FullList() {
        InitTaskList();
        InitHitList();
        g_santaPos = Vec3{100, 300, 0};
    }
    ~FullList() {
        ReleaseTaskList();
        ReleaseHitList();
    }
};

// 1025 marching knights: the game's own Update, boxes all of one group.
void BM_TickFullListKnights(benchmark::State& state) {
    FullList list;
    bench::FillWithKnights(800);
    for (auto _ : state) {
        UpdateTasks();
        RunCollisions();
    }
    if (g_taskCount != bench::FULL_LIST) state.SkipWithError("the list did not stay full");
    state.counters["tasks"] = g_taskCount;
}
// 100 ticks: the knights are still all on their way in.
BENCHMARK(BM_TickFullListKnights)->Unit(benchmark::kMicrosecond)->Iterations(100)->Repetitions(5);

// 1025 boxes of two groups, none touching: the collision pass at its heaviest.
void BM_TickFullListTwoGroups(benchmark::State& state) {
    FullList list;
    bench::FillWithGridActors();
    for (auto _ : state) {
        UpdateTasks();
        RunCollisions();
    }
    if (g_taskCount != bench::FULL_LIST) state.SkipWithError("the list did not stay full");
    state.counters["tasks"] = g_taskCount;
}
BENCHMARK(BM_TickFullListTwoGroups)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
