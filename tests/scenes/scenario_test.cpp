// Whole runs of the game through the headless runner: the cycle of scenes as a player sees it.
#include "support/scenes_fixture.h"
#include "support/sim_runner.h"

namespace {

using nlohmann::json;
using scenes_test::Called;
using scenes_test::FirstTick;
using scenes_test::ReadScript;
using scenes_test::Requests;
using scenes_test::Serves;
using scenes_test::TasksOf;

bool PlaysConfirm(const json& t) {
    return Called(t, "PlaySound", SND_HIT);
}

TEST(Scenario, UndisturbedOpeningEndsIn2401stUpdateWithoutConfirm) {
    const SimRun run = RunSim({"--ticks", "2402"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.trace.size(), 2403u);
    EXPECT_EQ(run.trace[1]["served"], "OP");
    EXPECT_TRUE(TasksOf(run.trace[2400], "Title").empty());
    EXPECT_EQ(TasksOf(run.trace[2400], "OP").at(0)["backPos"], json::array({0, -1200}));
    EXPECT_EQ(FirstTick(run.trace, [](const json& t) { return !TasksOf(t, "Title").empty(); }),
              2401);
    EXPECT_EQ(FirstTick(run.trace, PlaysConfirm), -1);
}

TEST(Scenario, EnterHeldFromStartCutsOpeningInFirstUpdateWithConfirm) {
    const SimRun run = RunSim({"--ticks", "2"}, ReadScript("enter_throughout.txt"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(TasksOf(run.trace[1], "Title").size(), 1u);
    EXPECT_EQ(TasksOf(run.trace[1], "OP").at(0)["state"], TASK_DEAD);
    EXPECT_TRUE(PlaysConfirm(run.trace[1]));
}

// Space in the opening, Enter through the title, a walk into the left edge, Enter on the
// game-over screen: the whole cycle back to a fresh opening and a fresh stage.
TEST(Scenario, OneLifeRunGoesThroughGameOverBackToFreshOpening) {
    const SimRun run = RunSim({"--ticks", "1000"}, ReadScript("one_life_to_game_over.txt"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto& trace = run.trace;
    EXPECT_EQ(trace[1]["globals"]["oneLifeMode"], 1);

    // The title's first update is tick 2: it accepts in its 120th and asks in its 170th.
    EXPECT_EQ(FirstTick(trace, PlaysConfirm, 1), 121);
    EXPECT_EQ(FirstTick(trace, Requests(SCENE_GAMETIME)), 171);
    EXPECT_TRUE(PlaysConfirm(trace[171]));  // restarts in every fading frame Enter is held
    EXPECT_FALSE(Called(trace[2], "StopSound", SND_OPENING));  // the opening's own end
    ASSERT_EQ(FirstTick(trace, Serves("GameTime")), 172);
    EXPECT_EQ(trace[172]["globals"]["lives"], 1);
    EXPECT_TRUE(Called(trace[172], "StopSound", SND_OPENING));
    EXPECT_TRUE(Called(trace[172], "PlaySoundLoop", SND_STAGE));

    const int64_t lost = FirstTick(
        trace, [](const json& t) { return t["globals"]["lives"] == 0; }, 172);
    ASSERT_GT(lost, 172);
    ASSERT_EQ(FirstTick(trace, Requests(SCENE_GAMEOVER)), lost + 240);
    // Stage frame 200 falls in the town's end sequence: its wave still comes.
    ASSERT_LT(lost, 172 + 199);
    EXPECT_TRUE(TasksOf(trace[172 + 198], "Knight").empty());
    EXPECT_EQ(TasksOf(trace[172 + 199], "Knight").size(), 5u);
    EXPECT_EQ(TasksOf(trace[lost + 240], "Machi").at(0)["priority"], 1050);  // over everything
    const int64_t over = FirstTick(trace, Serves("GAMEOVER"));
    ASSERT_EQ(over, lost + 241);
    EXPECT_TRUE(Called(trace[over], "StopSound", SND_STAGE));
    EXPECT_TRUE(Called(trace[over], "PlaySound", SND_GAMEOVER));

    const int64_t opening = FirstTick(trace, Serves("OP"), 1);
    ASSERT_GT(opening, over);
    EXPECT_TRUE(Called(trace[opening], "StopSound", SND_GAMEOVER));
    EXPECT_EQ(trace[opening]["globals"]["oneLifeMode"], 0);
    const int64_t stage = FirstTick(trace, Serves("GameTime"), opening);
    ASSERT_GT(stage, opening);
    EXPECT_EQ(trace[stage]["globals"]["lives"], 15);
}

TEST(Scenario, StageOpensOnScrollingTownFadingInAndPlayerSlidingIn) {
    const SimRun run = RunSim({"--ticks", "162", "--scene", "GAMETIME"});
    ASSERT_EQ(run.status, 0) << run.err;
    auto xs = [&](int tick) {
        const auto towns = TasksOf(run.trace[tick], "Machi");
        return std::vector<json>{towns.at(0)["pos"][0], towns.at(1)["pos"][0]};
    };
    ASSERT_EQ(run.trace[1]["served"], "GameTime");
    EXPECT_EQ(xs(1), (std::vector<json>{795, -5}));
    EXPECT_EQ(xs(160), (std::vector<json>{0, -800}));
    EXPECT_EQ(xs(161), (std::vector<json>{-5, 795}));
    EXPECT_EQ(TasksOf(run.trace[1], "Fukki").size(), 1u);
    for (int tick = 1; tick <= 21; ++tick) {
        EXPECT_EQ(run.trace[tick]["globals"]["deathSound"], (tick - 1) % 10 + 2) << tick;
    }
    EXPECT_EQ(FirstTick(run.trace,
                        [](const json& t) {
                            const auto towns = TasksOf(t, "Machi");
                            return !towns.empty() && towns[0]["brightness"] == 255;
                        }),
              51);
}

TEST(Scenario, GameOverScreenLeaves102UpdatesInWithEnterHeldOrTappedDuringFadeIn) {
    for (const char* script : {"enter_throughout.txt", "enter_tap.txt"}) {
        SCOPED_TRACE(script);
        const SimRun run = RunSim({"--ticks", "104", "--scene", "GAMEOVER"}, ReadScript(script));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(TasksOf(run.trace[51], "GAMEOVER").at(0)["brightness"], 255);
        EXPECT_EQ(FirstTick(run.trace, Requests(SCENE_OP), 0), 102);
        ASSERT_EQ(FirstTick(run.trace, Serves("OP")), 103);
        EXPECT_TRUE(Called(run.trace[103], "StopSound", SND_GAMEOVER));
    }
}

TEST(Scenario, EndingStripRestsAtBottomUntilEnterReturnsToOpening) {
    const SimRun run =
        RunSim({"--ticks", "6101", "--scene", "ED"}, ReadScript("ending_then_enter.txt"));
    ASSERT_EQ(run.status, 0) << run.err;
    auto lowerY = [&](int tick) { return TasksOf(run.trace[tick], "ED").at(0)["lowerPos"][1]; };
    EXPECT_EQ(lowerY(6001), -1485.5);
    EXPECT_EQ(lowerY(6002), -1485);
    EXPECT_EQ(lowerY(6099), -1485);
    EXPECT_EQ(FirstTick(run.trace, Requests(SCENE_OP), 0), 6100);
    ASSERT_EQ(FirstTick(run.trace, Serves("OP")), 6101);
    EXPECT_TRUE(Called(run.trace[6101], "StopSound", SND_ENDING));
}

}  // namespace
