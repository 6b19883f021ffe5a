// What the player-side tasks put on the headless picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/headless/headless.h"
#include "player/bakuani.h"
#include "player/fukki.h"
#include "player/santa.h"
#include "player/tekitama.h"
#include "player/ya.h"
#include "shell/dxmain.h"
#include "shell/graphics.h"
#include "tasks/node.h"

namespace {

struct Bounds {
    int left = 800, top = 600, right = -1, bottom = -1;  // inclusive; empty while right < 0
    bool Empty() const { return right < 0; }
};

class DrawingTest : public testing::Test {
protected:
    void SetUp() override {
        g_startupScene = nullptr;
        SetAssetDir(TINSELRUN_BUILD_DIR);
        plat::headless::SetClock(0.0);
        ASSERT_EQ(StartUp(), 0);
        DrawFrame();
        clear_ = plat::headless::ReadFrame().pixels[0];
    }
    void TearDown() override { ShutDown(); }

    // The pixels that the tasks changed from the cleared background.
    Bounds Drawn() {
        DrawFrame();
        const plat::headless::Frame frame = plat::headless::ReadFrame();
        Bounds b;
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                if (frame.pixels[y * frame.pitch + x] == clear_) continue;
                b.left = std::min(b.left, x);
                b.top = std::min(b.top, y);
                b.right = std::max(b.right, x);
                b.bottom = std::max(b.bottom, y);
            }
        }
        return b;
    }
    static void ExpectInside(const Bounds& b, int left, int top, int size) {
        ASSERT_FALSE(b.Empty());
        EXPECT_GE(b.left, left);
        EXPECT_GE(b.top, top);
        EXPECT_LT(b.right, left + size);
        EXPECT_LT(b.bottom, top + size);
        // More than a quarter of the square: the picture is drawn at that size, not smaller.
        EXPECT_GT(b.right - b.left + 1, size / 4);
    }

    uint32_t clear_ = 0;
};

TEST_F(DrawingTest, SantaShowsFourTimesEnlargedAndBlinksWhileInvincible) {
    Santa* santa = new Santa;
    santa->Init();
    AddTask(santa);
    ExpectInside(Drawn(), 100, 300, 64);  // its creation frame, timer 0
    for (int timer = 1; timer <= 4; ++timer) {
        santa->invincibleTimer = timer;
        EXPECT_TRUE(Drawn().Empty()) << timer;
    }
    santa->invincibleTimer = 5;
    EXPECT_FALSE(Drawn().Empty());
    santa->invincibleTimer = 101;
    santa->invincible = 0;
    ExpectInside(Drawn(), 100, 300, 64);
}

TEST_F(DrawingTest, ArrowsAndBulletsShowAtTheirOwnSize) {
    Ya* ya = new Ya;
    ya->Init(100, 100, 0);  // at (135, 130)
    AddTask(ya);
    ExpectInside(Drawn(), 135, 130, 16);
    ya->state = TASK_DEAD;
    UpdateTasks();

    Tekitama* bullet = new Tekitama;
    bullet->Init(400, 200, 0);  // at (435, 230)
    AddTask(bullet);
    ExpectInside(Drawn(), 435, 230, 16);
}

TEST_F(DrawingTest, ExplosionAndRevivalShowFourTimesEnlarged) {
    BakuAni* explosion = new BakuAni;
    explosion->Init(300, 200, 0);
    AddTask(explosion);
    for (int update = 0; update < 8; ++update) UpdateTasks();  // a fuller cell than the first
    ExpectInside(Drawn(), 300, 200, 64);
    explosion->state = TASK_DEAD;
    UpdateTasks();

    Fukki* revival = new Fukki;
    revival->Init();
    AddTask(revival);
    EXPECT_TRUE(Drawn().Empty());  // still far off to the left
    revival->pos.x = 40.0f;
    ExpectInside(Drawn(), 40, 300, 64);
}

}  // namespace
