#include <gtest/gtest.h>

#include <string>

#include "shell/input.h"
#include "support/shell_fixture.h"

namespace {

std::string g_made;

template <char Name>
class FakeScene : public NodeBaseClass {
public:
    ~FakeScene() override { g_made += std::string("~") + Name; }
    void Update() override { g_made += std::string("u") + Name; }
    const char* ClassName() const override {
        static const char name[] = {Name, 0};
        return name;
    }
};

template <char Name>
NodeBaseClass* Make() {
    g_made += std::string("+") + Name;
    return new FakeScene<Name>;
}

class SceneChange : public ShellFixture {
protected:
    void SetUp() override {
        g_made.clear();
        ShellFixture::SetUp();
        g_sceneTable[SCENE_OP] = &Make<'O'>;
        g_sceneTable[SCENE_GAMETIME] = &Make<'G'>;
        g_sceneTable[SCENE_GAMEOVER] = &Make<'X'>;
        g_sceneTable[SCENE_ED] = &Make<'E'>;
    }
};

TEST_F(SceneChange, FirstTickServesTheOpeningAndUpdatesItAtOnce) {
    StepTick();
    EXPECT_EQ(g_made, "+OuO");
    EXPECT_STREQ(g_servedScene, "O");
    EXPECT_EQ(g_sceneChange, 0);
    g_made.clear();
    g_servedScene = nullptr;
    StepTick();
    EXPECT_EQ(g_made, "uO");
    EXPECT_EQ(g_servedScene, nullptr);
}

TEST_F(SceneChange, TheIdWrittenLastWins) {
    StepTick();
    g_made.clear();
    g_nextScene = SCENE_ED;
    g_nextScene = SCENE_GAMETIME;
    g_sceneChange = 1;
    StepTick();
    EXPECT_EQ(g_made, "~O+GuG");
}

TEST_F(SceneChange, AnIdAboveThreeEmptiesTheListAndEscapeStillQuits) {
    StepTick();
    g_nextScene = 4;
    g_sceneChange = 1;
    StepTick();
    EXPECT_EQ(g_taskCount, 0);
    g_nextScene = 0xFFFFFFFFu;
    g_sceneChange = 1;
    StepTick();
    EXPECT_EQ(g_taskCount, 0);
    plat::headless::PushEvent({plat::EventType::KeyDown, plat::VK_ESCAPE});
    Pump();
    EXPECT_TRUE(QuitPosted());
}

TEST_F(SceneChange, OnlyTheValueOneCountsAsARequest) {
    StepTick();
    g_made.clear();
    g_nextScene = SCENE_ED;
    g_sceneChange = 2;
    StepTick();
    EXPECT_EQ(g_made, "uO");
    EXPECT_EQ(g_sceneChange, 2);
}

TEST_F(SceneChange, StartupSceneIsReplacedBeforeItIsEverUpdated) {
    StopGame();
    g_made.clear();
    g_startupScene = &Make<'S'>;
    ASSERT_EQ(StartGame(Undrawn(SCENE_OP)), START_OK);
    EXPECT_EQ(g_made, "+S");
    StepTick();
    EXPECT_EQ(g_made, "+S~S+OuO");
}

TEST_F(SceneChange, NoTickDueRunsNothing) {
    plat::headless::SetClock(5.0);
    EXPECT_EQ(RunFrame(), 0);
    EXPECT_EQ(g_made, "");
    EXPECT_EQ(g_sceneChange, 1);
}

TEST_F(SceneChange, F1TogglesTheDisplayModeOnEveryPress) {
    EXPECT_EQ(g_windowed, 1);
    plat::headless::PushEvent({plat::EventType::KeyDown, plat::VK_F1});
    plat::headless::PushEvent({plat::EventType::KeyDown, plat::VK_F1});
    plat::headless::PushEvent({plat::EventType::KeyDown, plat::VK_F1});
    Pump();
    EXPECT_EQ(g_windowed, 0);
    EXPECT_FALSE(plat::headless::IsWindowed());
    EXPECT_NE(g_pSprite, nullptr);
    EXPECT_FALSE(QuitPosted());
}

TEST_F(SceneChange, MouseMovesAreKeptAsUnsigned16BitClientCoordinates) {
    plat::Event move{plat::EventType::MouseMove};
    move.x = -1;
    move.y = 70000;
    plat::headless::PushEvent(move);
    Pump();
    EXPECT_EQ(g_mouseX, 0xFFFF);
    EXPECT_EQ(g_mouseY, 70000 & 0xFFFF);
}

}  // namespace
