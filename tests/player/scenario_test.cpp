// Whole stage runs through the headless runner, from the stage's first tick.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sim_runner.h"

namespace {

using nlohmann::json;

std::vector<const json*> LiveTasks(const json& line, const std::string& className) {
    std::vector<const json*> found;
    for (const json& task : line.at("tasks")) {
        if (task.at("class") == className && task.at("state") != 0) found.push_back(&task);
    }
    return found;
}

bool Played(const json& line, int slot) {
    for (const json& sound : line.at("sounds")) {
        if (sound.at("call") == "PlaySound" && sound.at("slot") == slot) return true;
    }
    return false;
}

// The stage brings Santa in at tick 81; its first update is in tick 82.
constexpr int SANTA_ARRIVES = 81;

TEST(PlayerScenario, HoldingRightDiesSilentlyAtTheEdgeAndOneSantaComesBack) {
    const SimRun run = RunSim({"--ticks", "320", "--scene", "GAMETIME"}, "1-320 RIGHT\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.badTraceLine, 0);
    ASSERT_EQ(run.trace.size(), 321u);

    EXPECT_TRUE(LiveTasks(run.trace[SANTA_ARRIVES - 1], "Santa").empty());
    const int death = SANTA_ARRIVES + 138;
    for (int tick = SANTA_ARRIVES; tick < death; ++tick) {
        ASSERT_EQ(LiveTasks(run.trace[tick], "Santa").size(), 1u) << tick;
    }
    const json& dying = run.trace[death];
    EXPECT_TRUE(LiveTasks(dying, "Santa").empty());
    EXPECT_FALSE(Played(dying, 0));
    EXPECT_EQ(dying["globals"]["lives"], 14);
    EXPECT_EQ(dying["globals"]["santaPos"], json::array({790, 300}));
    const std::vector<const json*> explosions = LiveTasks(dying, "BakuAni");
    ASSERT_EQ(explosions.size(), 1u);
    EXPECT_EQ((*explosions[0])["pos"], json::array({774, 300}));
    ASSERT_EQ(LiveTasks(dying, "Fukki").size(), 1u);

    // The revival hands over in its 80th update, to exactly one new Santa at the start point.
    const int back = death + 80;
    EXPECT_TRUE(LiveTasks(run.trace[back - 1], "Santa").empty());
    for (int tick = back; tick <= 320; ++tick) {
        ASSERT_EQ(LiveTasks(run.trace[tick], "Santa").size(), 1u) << tick;
    }
    EXPECT_EQ((*LiveTasks(run.trace[back], "Santa")[0])["pos"], json::array({100, 300}));
    EXPECT_EQ(run.trace[320]["globals"]["lives"], 14);
}

TEST(PlayerScenario, HeldSpaceFiresEveryTenthUpdateAndArrowsLeaveAtTheRight) {
    const SimRun run = RunSim({"--ticks", "150", "--scene", "GAMETIME"}, "1-150 SPACE\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.trace.size(), 151u);

    std::vector<int> shots;
    for (int tick = 1; tick <= 150; ++tick) {
        if (Played(run.trace[tick], 1)) shots.push_back(tick);
    }
    std::vector<int> expected;
    for (int tick = SANTA_ARRIVES + 1; tick <= 150; tick += 10) expected.push_back(tick);
    EXPECT_EQ(shots, expected);

    // The first arrow starts at (135, 330), flies 20 a tick and ends past 800, at 815.
    const int fired = SANTA_ARRIVES + 1;
    ASSERT_EQ(LiveTasks(run.trace[fired], "Ya").size(), 1u);
    EXPECT_EQ((*LiveTasks(run.trace[fired], "Ya")[0])["pos"], json::array({135, 330}));
    const int ends = fired + 34;
    EXPECT_EQ(LiveTasks(run.trace[ends - 1], "Ya").size(), 4u);
    EXPECT_EQ(LiveTasks(run.trace[ends], "Ya").size(), 3u);
}

}  // namespace
