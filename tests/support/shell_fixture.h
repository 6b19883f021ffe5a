// Brings the shell up on the headless backend without any scenes, and takes it down again.
#pragma once

#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "shell/assetdir.h"
#include "shell/dxmain.h"
#include "shell/graphics.h"
#include "tasks/node.h"

class ShellFixture : public testing::Test {
protected:
    void SetUp() override {
        for (SceneCreator& c : g_sceneTable) c = nullptr;
        g_startupScene = nullptr;
        g_sceneChange = 1;
        g_nextScene = SCENE_OP;
        g_drawFrames = false;
        SetAssetDir(TINSELRUN_BUILD_DIR);
        plat::headless::SetClock(0.0);
        ASSERT_EQ(StartUp(), 0);
        plat::headless::TakeSoundCalls();
    }
    void TearDown() override {
        ShutDown();
        for (SceneCreator& c : g_sceneTable) c = nullptr;
        g_startupScene = nullptr;
    }
    // Runs exactly one tick on the virtual clock.
    int Tick() {
        ++tick_;
        plat::headless::SetClock(tick_ * static_cast<double>(FRAME_PERIOD) + 0.5);
        return RunFrame();
    }

private:
    int tick_ = 0;
};
