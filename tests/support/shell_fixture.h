// Brings the shell up on the headless backend without any scenes, and takes it down again.
#pragma once

#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/dxmain.h"
#include "shell/game.h"
#include "shell/tickhook.h"
#include "tasks/node.h"

class ShellFixture : public testing::Test {
protected:
    void SetUp() override {
        ClearScenes();
        SetAssetDir(TINSELRUN_BUILD_DIR);
        ASSERT_EQ(StartGame(Undrawn(SCENE_OP)), START_OK);
    }
    void TearDown() override {
        StopGame();
        ClearTickHooks();
        ClearScenes();
    }
    // Stops the game and starts it afresh with the game's own scenes, serving `scene` first.
    static void Restart(uint32_t scene) {
        StopGame();
        InstallScenes();
        ASSERT_EQ(StartGame(Undrawn(scene)), START_OK);
    }
    // Between steps no tick is due, so a pass only takes the waiting events.
    static void Pump() { FramePass(); }

public:
    static GameStart Undrawn(uint32_t scene) {
        GameStart start;
        start.scene = scene;
        start.draw = false;
        return start;
    }
    static void ClearScenes() {
        for (SceneCreator& c : g_sceneTable) c = nullptr;
        g_startupScene = nullptr;
    }
};
