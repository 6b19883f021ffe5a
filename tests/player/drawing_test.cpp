// What the player-side tasks put on the headless picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/headless/headless.h"
#include "player/bakuani.h"
#include "player/santa.h"
#include "player/ya.h"
#include "shell/assetdir.h"
#include "shell/dxmain.h"

namespace {

struct Bounds {
    int left = 800, top = 600, right = -1, bottom = -1;  // inclusive; empty while right < 0
};

class DrawingTest : public testing::Test {
protected:
    void SetUp() override {
        g_startupScene = nullptr;
        SetAssetDir(TINSELRUN_BUILD_DIR);
        ASSERT_EQ(StartGame(GameStart{}), START_OK);
        DrawFrame();
        clear_ = plat::headless::ReadFrame().pixels[0];
    }
    void TearDown() override { StopGame(); }

    // Where the tasks changed the cleared picture.
    Bounds Drawn() {
        DrawFrame();
        const plat::headless::Frame frame = plat::headless::ReadFrame();
        Bounds b;
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                if (frame.pixels[y * frame.pitch + x] == clear_) continue;
                b = Bounds{std::min(b.left, x), std::min(b.top, y), std::max(b.right, x),
                           std::max(b.bottom, y)};
            }
        }
        return b;
    }
    // Drawn inside the square and wider than a quarter of it: at that size, not smaller.
    static void ExpectSquare(const Bounds& b, int left, int top, int size) {
        ASSERT_GE(b.right, 0);
        EXPECT_GE(b.left, left);
        EXPECT_GE(b.top, top);
        EXPECT_LT(b.right, left + size);
        EXPECT_LT(b.bottom, top + size);
        EXPECT_GT(b.right - b.left + 1, size / 4);
    }

    uint32_t clear_ = 0;
};

TEST_F(DrawingTest, SantaShowsFourTimesEnlargedAndBlinksWhileInvincible) {
    Santa* santa = new Santa;
    santa->Init();
    AddTask(santa);
    ExpectSquare(Drawn(), 100, 300, 64);  // in its creation frame, timer 0
    for (int timer = 1; timer <= 4; ++timer) {
        santa->invincibleTimer = timer;
        EXPECT_LT(Drawn().right, 0) << timer;
    }
    santa->invincibleTimer = 5;
    ExpectSquare(Drawn(), 100, 300, 64);
}

TEST_F(DrawingTest, ArrowIsDrawnAtItsSizeAndTheExplosionEnlarged) {
    Ya* ya = new Ya;
    ya->Init(100, 100, 0);  // at (135, 130)
    AddTask(ya);
    ExpectSquare(Drawn(), 135, 130, 16);
    ya->state = TASK_DEAD;
    UpdateTasks();

    BakuAni* explosion = new BakuAni;
    explosion->Init(300, 200, 0);
    AddTask(explosion);
    for (int update = 0; update < 8; ++update) UpdateTasks();  // a fuller cell than the first
    ExpectSquare(Drawn(), 300, 200, 64);
}

}  // namespace
