// A whole stage through the headless runner, from the stage's first tick.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sim_runner.h"

namespace {

using nlohmann::json;

int LiveCount(const json& line, const std::string& className) {
    int n = 0;
    for (const json& task : line.at("tasks")) {
        if (task.at("class") == className && task.at("state") != 0) ++n;
    }
    return n;
}

TEST(PlayerScenario, HoldingRightDiesSilentlyAtTheEdgeAndOneSantaComesBack) {
    const SimRun run = RunSim({"--ticks", "320", "--scene", "GAMETIME"}, "1-320 RIGHT\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.trace.size(), 321u);

    // The stage's revival hands over in tick 81; Santa's 138th update is in tick 219.
    const int arrives = 81, death = arrives + 138, back = death + 80;
    for (int tick = 1; tick <= 320; ++tick) {
        const bool alive = (tick >= arrives && tick < death) || tick >= back;
        ASSERT_EQ(LiveCount(run.trace[tick], "Santa"), alive ? 1 : 0) << tick;
    }
    const json& dying = run.trace[death];
    for (const json& sound : dying.at("sounds")) EXPECT_NE(sound.at("slot"), 0);
    EXPECT_EQ(dying["globals"]["lives"], 14);
    EXPECT_EQ(dying["globals"]["santaPos"], json::array({790, 300}));
    ASSERT_EQ(LiveCount(dying, "BakuAni"), 1);
    EXPECT_EQ((*FindTask(dying, "BakuAni"))["pos"], json::array({774, 300}));
    EXPECT_EQ(LiveCount(dying, "Fukki"), 1);
    EXPECT_EQ((*FindTask(run.trace[back], "Santa"))["pos"], json::array({100, 300}));
}

}  // namespace
