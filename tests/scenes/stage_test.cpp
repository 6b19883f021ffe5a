// The stage scene and its timeline of waves.
#include <map>
#include <string>

#include "enemies/knight.h"
#include "scenes/gametime.h"
#include "scenes/machi.h"
#include "support/scenes_fixture.h"

namespace {

using scenes_test::CountTasks;
using scenes_test::FieldReader;
using scenes_test::SceneTest;
using scenes_test::SoundCalls;
using scenes_test::Tasks;

TEST_F(SceneTest, StageStartsWithTownFreshLivesAndLoopedMusic) {
    g_stageClear = 1;
    g_lives = 0;
    GameTime* stage = AddScene<GameTime>();
    const auto tasks = Tasks();
    ASSERT_EQ(tasks.size(), 3u);
    EXPECT_EQ(tasks[0], stage);
    EXPECT_EQ(static_cast<Machi*>(tasks[1])->pos.x, 800.0f);
    EXPECT_EQ(static_cast<Machi*>(tasks[2])->pos.x, 0.0f);
    EXPECT_EQ(stage->stageFrame, 0);
    EXPECT_EQ(g_lives, 15);
    EXPECT_EQ(g_stageClear, 0);
    const auto sounds = Sounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(SoundCalls(sounds, "PlaySoundLoop", SND_STAGE), 1);

    ClearTasks();
    g_oneLifeMode = 1;
    AddScene<GameTime>();
    EXPECT_EQ(g_lives, 1);
}

TEST_F(SceneTest, EnemyDeathSoundCyclesThroughTenSlotsWithTheFrame) {
    GameTime* stage = AddScene<GameTime>();
    for (int frame = 1; frame <= 21; ++frame) {
        stage->Update();
        EXPECT_EQ(stage->stageFrame, frame);
        EXPECT_EQ(g_deathSound, (frame - 1) % 10 + 2) << "frame " << frame;
    }
}

TEST_F(SceneTest, LeavingTheStageStopsItsMusic) {
    AddScene<GameTime>();
    Tick(5);
    Sounds();
    ClearTasks();
    const auto sounds = Sounds();
    EXPECT_EQ(SoundCalls(sounds, "StopSound", SND_STAGE), 1);
}

// Everything the stage creates, frame by frame: class initial and position, in creation
// order. Only the stage itself is updated, so nothing moves, fires or dies.
TEST_F(SceneTest, PlayerAndEighteenWavesArriveOnScheduleAndNothingAfterTheBoss) {
    const std::string row1 = "K800,300 K900,400 K1000,300 K1100,400 K1200,300 ";
    const std::string mixed = row1 + "K800,500 K900,100 K1000,100 K1100,400 K1200,200";
    const std::string trail = row1 + "K1300,500 K1400,100 K1500,350 K1600,150 K1700,300";
    const std::map<int, std::string> expected = {
        {1, "F-300,300"},
        {200, "K800,50 K900,50 K1000,50 K1100,50 K1200,50"},
        {400, "K800,500 K900,500 K1000,500 K1100,500 K1200,500"},
        {600,
         "K800,50 K900,50 K1000,50 K1100,50 K1200,50 "
         "K800,500 K900,500 K1000,500 K1100,500 K1200,500"},
        {900, "K800,300 K900,300 K1000,300 K1100,300 K1200,300"},
        {1100, mixed},
        {1200, "N750,200"},
        {1300, "K800,300 K900,300 K1000,300 K1100,300 K1200,300"},
        {1600, mixed},
        {1800, "N750,400 N700,200 N720,100"},
        {2000, mixed + " N750,440 N700,240 N720,140"},
        {2300, trail + " N750,200"},
        {2400, "N650,200"},
        {2500, "N600,200"},
        {2800, "T500,50 T600,300 T500,240 T600,500 T500,400"},
        {3300, "T550,60 T650,360 T550,260 T650,200 T500,400"},
        {4000, trail + " N750,200 N750,400 N750,550"},
        {4200, "T500,50 T600,300 T500,240 T600,500 T500,350"},
        {4600, "B600,50"},
    };

    GameTime* stage = AddScene<GameTime>();
    std::map<int, std::string> seen;
    size_t known = Tasks().size();
    for (int frame = 1; frame <= 6000; ++frame) {
        stage->Update();
        const auto tasks = Tasks();
        std::string made;
        // Newest first from the head: the new ones, oldest of them last.
        for (size_t i = tasks.size() - known; i-- > 0;) {
            const auto pos = FieldReader(*tasks[i]).vecs["pos"];
            made += (made.empty() ? "" : " ") + std::string(1, tasks[i]->ClassName()[0]) +
                    std::to_string(static_cast<int>(pos.first)) + "," +
                    std::to_string(static_cast<int>(pos.second));
        }
        if (!made.empty()) seen[frame] = made;
        known = tasks.size();
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(CountTasks("Knight"), 80);
    EXPECT_EQ(CountTasks("Nomin"), 13);
    EXPECT_EQ(CountTasks("Tenin"), 15);
    EXPECT_EQ(CountTasks("Boss"), 1);
}

TEST_F(SceneTest, WavesKeepComingWhileTheTownEndsTheStage) {
    GameTime* stage = AddScene<GameTime>();
    Tick(150);
    g_lives = 0;
    Tick(241);
    ASSERT_EQ(g_sceneChange, 1);
    EXPECT_EQ(g_nextScene, SCENE_GAMEOVER);
    Tick(9);
    EXPECT_EQ(stage->stageFrame, 400);
    // The wave of frame 400, not moved yet.
    int fresh = 0;
    for (NodeBaseClass* t : Tasks()) {
        if (auto* k = dynamic_cast<Knight*>(t)) fresh += k->pos.y == 500.0f && k->pos.x >= 800.0f;
    }
    EXPECT_EQ(fresh, 5);
}

}  // namespace
