// How the town ends the stage when the boss falls: runs cannot reach that by script.
#include "scenes/machi.h"
#include "support/scenes_fixture.h"

namespace {

class TownTest : public scenes_test::SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        for (Machi** town : {&left, &right}) {
            *town = new Machi;
            (*town)->Init(Vec3{town == &left ? 0.0f : 800.0f, 0, 0});
            AddTask(*town);
        }
        Tick(60);  // faded in
    }
    Machi* left = nullptr;
    Machi* right = nullptr;
};

TEST_F(TownTest, BossDefeatAsksForEndingOnceAndClearsTheFlag) {
    g_stageClear = 1;
    Tick(240);
    EXPECT_EQ(g_sceneChange, 0);
    Tick();
    EXPECT_EQ(g_nextScene, SCENE_ED);
    EXPECT_EQ(g_sceneChange, 1);
    EXPECT_EQ(g_stageClear, 0);
    // The newer copy is updated first and leaves; the other no longer sees the condition.
    EXPECT_EQ(right->state, TASK_DEAD);
    EXPECT_EQ(left->state, TASK_ACTIVE);
}

TEST_F(TownTest, GameOverWinsWhenLastLifeGoesAsBossFalls) {
    g_stageClear = 1;
    g_lives = 0;
    Tick(241);
    EXPECT_EQ(g_nextScene, SCENE_GAMEOVER);
    EXPECT_EQ(g_sceneChange, 1);
    EXPECT_EQ(left->state, TASK_DEAD);
    EXPECT_EQ(right->state, TASK_DEAD);
}

TEST_F(TownTest, NoLivesLeftWinsOverADefeatedBossForALoneCopyToo) {
    // With two copies the second's request would hide the first's: the newer one decides alone.
    left->state = TASK_DEAD;
    g_stageClear = 1;
    g_lives = 0;
    Tick(241);
    EXPECT_EQ(right->state, TASK_DEAD);
    EXPECT_EQ(g_nextScene, SCENE_GAMEOVER);
    EXPECT_EQ(g_sceneChange, 1);
}

}  // namespace
