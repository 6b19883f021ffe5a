// The town: its endless scroll, its fade-in, and how it ends the stage.
#include "scenes/machi.h"
#include "support/scenes_fixture.h"

namespace {

using scenes_test::SceneTest;

class TownTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        left = new Machi;
        left->Init(Vec3{0, 0, 7});
        AddTask(left);
        right = new Machi;
        right->Init(Vec3{800, 0, 0});
        AddTask(right);
    }
    Machi* left = nullptr;
    Machi* right = nullptr;
};

TEST_F(TownTest, TwoCopiesScrollAsOneStripAndWrapTogether) {
    EXPECT_EQ(left->pos.z, 0.0f);  // the argument's z is not taken
    Tick();
    EXPECT_EQ(left->pos.x, -5.0f);
    EXPECT_EQ(right->pos.x, 795.0f);
    Tick(159);
    EXPECT_EQ(left->pos.x, -800.0f);
    EXPECT_EQ(right->pos.x, 0.0f);
    Tick();
    EXPECT_EQ(left->pos.x, 795.0f);
    EXPECT_EQ(right->pos.x, -5.0f);
    Tick(320);  // one whole lap
    EXPECT_EQ(left->pos.x, 795.0f);
    EXPECT_EQ(right->pos.x, -5.0f);
}

TEST_F(TownTest, StageFadesInOverFiftyOneUpdatesThenHolds) {
    Tick();
    EXPECT_EQ(left->brightness, 5u);
    Tick(49);
    EXPECT_EQ(left->brightness, 250u);
    Tick();
    EXPECT_EQ(left->brightness, 255u);
    Tick(100);
    EXPECT_EQ(left->brightness, 255u);
    EXPECT_EQ(right->brightness, 255u);
    EXPECT_EQ(left->priority, 0);
}

TEST_F(TownTest, LastLifeLostAsksForGameOverIn241stUpdateAboveEverything) {
    Tick(60);
    g_lives = 0;
    Tick(190);
    EXPECT_EQ(left->brightness, 255u);  // the wait
    Tick(30);
    EXPECT_EQ(left->brightness, 105u);
    EXPECT_EQ(left->priority, 0);
    Tick();
    EXPECT_EQ(left->brightness, 100u);
    EXPECT_EQ(left->priority, 50);  // climbs over the actors from here
    Tick(19);
    EXPECT_EQ(g_sceneChange, 0);
    EXPECT_EQ(left->endTimer, 200);  // stops counting
    Tick();
    EXPECT_EQ(left->brightness, 0u);
    EXPECT_EQ(left->priority, 1050);
    EXPECT_EQ(left->state, TASK_DEAD);
    EXPECT_EQ(right->state, TASK_DEAD);
    EXPECT_EQ(g_nextScene, SCENE_GAMEOVER);
    EXPECT_EQ(g_sceneChange, 1);
}

TEST_F(TownTest, BossDefeatAsksForEndingOnceAndClearsTheFlag) {
    Tick(60);
    g_stageClear = 1;
    Tick(240);
    EXPECT_EQ(g_sceneChange, 0);
    Tick();
    EXPECT_EQ(g_nextScene, SCENE_ED);
    EXPECT_EQ(g_sceneChange, 1);
    EXPECT_EQ(g_stageClear, 0);
    // The copy updated first (the newer) leaves; the other no longer sees the condition.
    EXPECT_EQ(right->state, TASK_DEAD);
    EXPECT_EQ(left->state, TASK_ACTIVE);
}

TEST_F(TownTest, GameOverWinsWhenLastLifeGoesAsBossFalls) {
    Tick(60);
    g_stageClear = 1;
    g_lives = 0;
    Tick(241);
    EXPECT_EQ(g_nextScene, SCENE_GAMEOVER);
    EXPECT_EQ(g_sceneChange, 1);
    EXPECT_EQ(g_stageClear, 1);
}

TEST_F(TownTest, EndDuringFadeInStopsItAndFadesOutFromThere) {
    Tick(10);
    g_lives = 0;
    Tick(190);
    EXPECT_EQ(left->brightness, 50u);
    EXPECT_EQ(left->priority, 0);
    Tick(9);
    EXPECT_EQ(left->brightness, 5u);
    EXPECT_EQ(g_sceneChange, 0);
    Tick();
    EXPECT_EQ(left->brightness, 0u);
    EXPECT_EQ(g_nextScene, SCENE_GAMEOVER);
    EXPECT_EQ(g_sceneChange, 1);
}

}  // namespace
