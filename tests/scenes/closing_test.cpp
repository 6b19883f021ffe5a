// The ending and the game-over screen.
#include "scenes/ed.h"
#include "scenes/gameover.h"
#include "support/scenes_fixture.h"

namespace {

using scenes_test::SceneTest;
using scenes_test::SoundCalls;

TEST_F(SceneTest, EndingStripRestsWithItsBottomOnTheScreenAndWaitsForEnter) {
    ED* ending = AddScene<ED>();
    EXPECT_EQ(SoundCalls(Sounds(), "PlaySound", SND_ENDING), 1);
    EXPECT_EQ(ending->lowerPos.y, 1515.0f);
    Tick(6001);
    EXPECT_EQ(ending->upperPos.y, -3000.5f);
    EXPECT_EQ(ending->lowerPos.y, -1485.5f);
    Tick();
    EXPECT_EQ(ending->upperPos.y, -3000.5f);
    EXPECT_EQ(ending->lowerPos.y, -1485.0f);
    Tick(1000);
    EXPECT_EQ(ending->lowerPos.y, -1485.0f);
    EXPECT_EQ(g_sceneChange, 0);
    Hold(DIK_RETURN);
    Tick();
    EXPECT_EQ(ending->state, TASK_DEAD);
    EXPECT_EQ(g_nextScene, SCENE_OP);
    EXPECT_EQ(g_sceneChange, 1);
    ClearTasks();
    EXPECT_EQ(SoundCalls(Sounds(), "StopSound", SND_ENDING), 1);
}

TEST_F(SceneTest, EnterHeldAsEndingStartsLeavesInFirstUpdate) {
    ED* ending = AddScene<ED>();
    Hold(DIK_RETURN);
    Tick();
    EXPECT_EQ(ending->upperPos.y, -0.5f);
    EXPECT_EQ(g_nextScene, SCENE_OP);
    EXPECT_EQ(g_sceneChange, 1);
}

TEST_F(SceneTest, GameOverWithEnterHeldReturnsToOpeningIn102ndUpdate) {
    GAMEOVER* over = AddScene<GAMEOVER>();
    EXPECT_EQ(over->priority, -1);
    EXPECT_EQ(SoundCalls(Sounds(), "PlaySound", SND_GAMEOVER), 1);
    Hold(DIK_RETURN);
    Tick(51);
    EXPECT_EQ(over->brightness, 255u);
    EXPECT_EQ(over->isFadedIn, 0);
    Tick();
    EXPECT_EQ(over->isFadedIn, 1);
    EXPECT_EQ(over->brightness, 250u);
    Tick(49);
    EXPECT_EQ(over->brightness, 5u);
    EXPECT_EQ(g_sceneChange, 0);
    Tick();
    EXPECT_EQ(over->brightness, 0u);
    EXPECT_EQ(over->state, TASK_DEAD);
    EXPECT_EQ(g_nextScene, SCENE_OP);
    EXPECT_EQ(g_sceneChange, 1);
    ClearTasks();
    EXPECT_EQ(SoundCalls(Sounds(), "StopSound", SND_GAMEOVER), 1);
}

TEST_F(SceneTest, GameOverRemembersEnterTappedDuringFadeIn) {
    GAMEOVER* over = AddScene<GAMEOVER>();
    Tick(10);
    Hold(DIK_RETURN);
    Tick();
    Hold(DIK_RETURN, false);
    Tick(40);
    EXPECT_EQ(over->isLeaving, 1);
    EXPECT_EQ(over->brightness, 255u);
    Tick(51);
    EXPECT_EQ(g_nextScene, SCENE_OP);
    EXPECT_EQ(g_sceneChange, 1);
}

TEST_F(SceneTest, GameOverStaysWithoutEnter) {
    GAMEOVER* over = AddScene<GAMEOVER>();
    Tick(5000);
    EXPECT_EQ(over->brightness, 255u);
    EXPECT_EQ(over->state, TASK_ACTIVE);
    EXPECT_EQ(g_sceneChange, 0);
}

}  // namespace
