// Draw: one draw pass (clear, every task's Draw in priority order, present) on the software
// renderer, at the busiest moment of the scripted stage and with 1025 sprites, against its
// floor: one full-screen copy of the town picture.
#include <benchmark/benchmark.h>

#include "harness.h"
#include "scenes/machi.h"

namespace {

const record::Script& StageScript() {
    static const record::Script script = bench::ReadScriptOrDie(bench::StageScriptPath());
    return script;
}

// Drawing changes nothing in the game, so the state of one tick can be drawn again and again.
void BM_DrawBusiestStageMoment(benchmark::State& state) {
    int32_t count = 0;
    const int64_t busiest = bench::BusiestTick(StageScript(), bench::STAGE_TICKS, &count);
    bench::Replay replay(StageScript());
    replay.Start();
    replay.RunTo(busiest);
    for (auto _ : state) DrawFrame();
    state.counters["tick"] = static_cast<double>(busiest);
    state.counters["tasks"] = g_taskCount;
    replay.Stop();
}
BENCHMARK(BM_DrawBusiestStageMoment)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// The shell with its textures but no scene, for hand-made task lists.
class EmptyShell {
public:
    EmptyShell() {
        for (SceneCreator& c : g_sceneTable) c = nullptr;
        g_startupScene = nullptr;
        SetAssetDir(TINSELRUN_BUILD_DIR);
        GameStart start;
        start.draw = false;
        if (StartGame(start) != START_OK) std::exit(2);
    }
    ~EmptyShell() { StopGame(); }
};

// 1025 knights over the whole screen, each a scaled 16 x 16 cell.
void BM_DrawFullListKnights(benchmark::State& state) {
    EmptyShell shell;
    bench::FillWithKnights(0);
    for (auto _ : state) DrawFrame();
    state.counters["tasks"] = g_taskCount;
}
BENCHMARK(BM_DrawFullListKnights)->Unit(benchmark::kMicrosecond)->Repetitions(5);

// The floor: clear, one copy of the 800 x 600 town picture, present.
void BM_DrawFloorTownPicture(benchmark::State& state) {
    EmptyShell shell;
    const plat::Texture* town = TextureEntry(TEX_MACHI);
    if (town == nullptr) state.SkipWithError("no town picture");
    for (auto _ : state) {
        plat::Clear(0xFF646464);
        plat::DrawTexture(town, nullptr, 0, 0, COLOR_WHITE, 1.0f, 0, 0);
        plat::Present();
    }
}
BENCHMARK(BM_DrawFloorTownPicture)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
