// The opening and the title screen.
#include "scenes/op.h"
#include "support/scenes_fixture.h"

namespace {

using scenes_test::CountTasks;
using scenes_test::FindTask;
using scenes_test::SceneTest;
using scenes_test::SoundCalls;

TEST_F(SceneTest, UndisturbedOpeningHandsOverToTitleIn2401stUpdateWithoutConfirm) {
    OP* op = AddScene<OP>();
    EXPECT_EQ(SoundCalls(Sounds(), "PlaySound", SND_OPENING), 1);
    Tick(2400);
    EXPECT_EQ(op->backPos.y, -1200.0f);
    EXPECT_EQ(op->frontPos.y, -2300.0f);
    EXPECT_EQ(CountTasks("Title"), 0);
    Tick();
    EXPECT_EQ(op->state, TASK_DEAD);
    EXPECT_EQ(CountTasks("Title"), 1);
    EXPECT_EQ(SoundCalls(Sounds(), "PlaySound", SND_HIT), 0);
    Tick();
    EXPECT_EQ(CountTasks("OP"), 0);
    EXPECT_EQ(CountTasks("Title"), 1);
}

TEST_F(SceneTest, EnterCutsOpeningShortInFirstUpdateWithConfirm) {
    OP* op = AddScene<OP>();
    Sounds();
    Hold(DIK_RETURN);
    Tick();
    EXPECT_EQ(op->state, TASK_DEAD);
    EXPECT_EQ(op->backPos.y, -0.5f);  // the step still runs
    EXPECT_EQ(CountTasks("Title"), 1);
    EXPECT_EQ(SoundCalls(Sounds(), "PlaySound", SND_HIT), 1);
}

TEST_F(SceneTest, SpaceInAnyOpeningFrameChoosesOneLifeUntilNextOpening) {
    AddScene<OP>();
    Tick(100);
    EXPECT_EQ(g_oneLifeMode, 0);
    Hold(DIK_SPACE);
    Hold(DIK_RETURN);  // the very frame that ends the opening still counts
    Tick();
    Hold(DIK_SPACE, false);
    EXPECT_EQ(g_oneLifeMode, 1);
    Tick(10);
    EXPECT_EQ(g_oneLifeMode, 1);
    ClearTasks();
    AddScene<OP>();
    EXPECT_EQ(g_oneLifeMode, 0);
}

TEST_F(SceneTest, TitleIgnoresEnterForFourBlinksThenFadesToStage) {
    Title* title = AddScene<Title>();
    Hold(DIK_RETURN);
    Tick(29);
    EXPECT_EQ(title->blinkSign, -1);
    Tick();
    EXPECT_EQ(title->blinkSign, 1);
    Tick(89);
    EXPECT_EQ(title->blinkCount, 3);
    EXPECT_EQ(title->isStarting, 0);
    EXPECT_EQ(title->brightness, 255u);
    EXPECT_EQ(SoundCalls(Sounds(), "PlaySound", SND_HIT), 0);
    Tick();  // the 120th
    EXPECT_EQ(title->isStarting, 1);
    EXPECT_EQ(title->brightness, 250u);
    Tick(49);
    EXPECT_EQ(title->brightness, 5u);
    EXPECT_EQ(g_sceneChange, 0);
    Tick();  // the 170th
    EXPECT_EQ(title->brightness, 0u);
    EXPECT_EQ(title->state, TASK_DEAD);
    EXPECT_EQ(g_nextScene, SCENE_GAMETIME);
    EXPECT_EQ(g_sceneChange, 1);
    // The confirm sound restarts in every frame Enter is held while fading.
    EXPECT_EQ(SoundCalls(Sounds(), "PlaySound", SND_HIT), 51);
}

TEST_F(SceneTest, OneEnterTapOnOpenTitleFadesAllTheWayToStage) {
    Title* title = AddScene<Title>();
    Tick(200);
    Hold(DIK_RETURN);
    Tick();
    Hold(DIK_RETURN, false);
    Tick(49);
    EXPECT_EQ(title->brightness, 5u);
    EXPECT_EQ(title->isStarting, 1);
    Tick();
    EXPECT_EQ(g_nextScene, SCENE_GAMETIME);
    EXPECT_EQ(g_sceneChange, 1);
    EXPECT_EQ(SoundCalls(Sounds(), "PlaySound", SND_HIT), 1);
}

TEST_F(SceneTest, OpeningMusicEndsWithTheTitleNotTheOpening) {
    AddScene<OP>();
    Hold(DIK_RETURN);
    Tick(2);  // the opening is gone, the title remains
    ASSERT_NE(FindTask<Title>(), nullptr);
    EXPECT_EQ(SoundCalls(Sounds(), "StopSound", SND_OPENING), 0);
    ClearTasks();
    EXPECT_EQ(SoundCalls(Sounds(), "StopSound", SND_OPENING), 1);
}

}  // namespace
