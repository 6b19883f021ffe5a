#include "enemies/tenin.h"

#include "player/bakuani.h"
#include "player/tekitama.h"
#include "player/tuibi.h"
#include "support/enemies_fixture.h"

namespace {

using ClerkTest = EnemyTest;

TEST_F(ClerkTest, OpensForTheSecondHalfOfA201FrameCycleAndFiresTwiceWhileOpen) {
    Tenin t;
    t.Init({500.0f, 300.0f, 0.0f});
    std::vector<int> openFrames;
    std::vector<int> volleyFrames;
    for (int f = 1; f <= 402; ++f) {
        ClearTasks();
        Frame(t);
        if (t.isOpen) openFrames.push_back(f);
        if (!Created().empty()) {
            volleyFrames.push_back(f);
            EXPECT_EQ(Created(), (std::vector<std::string>{"Tekitama", "tuibi"}));
        }
    }
    ASSERT_EQ(openFrames.size(), 200u);
    EXPECT_EQ(openFrames.front(), 101);
    EXPECT_EQ(openFrames[99], 200);
    EXPECT_EQ(openFrames[100], 302);  // the second cycle starts at frame 202
    EXPECT_EQ(openFrames.back(), 401);
    EXPECT_EQ(volleyFrames, (std::vector<int>{120, 180, 321, 381}));
    EXPECT_EQ(t.openTimer, 0);  // frame 402 closed the second cycle
    EXPECT_FLOAT_EQ(t.pos.x, 500.0f);
}

TEST_F(ClerkTest, ArrowsDestroyItOnlyFromTimer102To201) {
    struct Case {
        int hitFrame;
        bool dies;
    };
    const Case cases[] = {{1, false},  {100, false}, {101, false},
                          {102, true}, {150, true},  {201, true}};
    for (const Case& c : cases) {
        Tenin t;
        t.Init({500.0f, 300.0f, 0.0f});
        Frames(t, c.hitFrame - 1);
        Played();
        ClearTasks();
        Frame(t, true);
        EXPECT_EQ(t.openTimer, c.hitFrame == 201 ? 0 : c.hitFrame);
        EXPECT_EQ(t.state, c.dies ? TASK_DEAD : TASK_ACTIVE) << "hit at " << c.hitFrame;
        EXPECT_EQ(t.isCharging, c.dies ? 0 : 1) << "hit at " << c.hitFrame;
        EXPECT_EQ(t.Box(0) == nullptr, c.dies) << "hit at " << c.hitFrame;
        EXPECT_EQ(CountCreated("BakuAni"), c.dies ? 1 : 0) << "hit at " << c.hitFrame;
        EXPECT_EQ(Played(), c.dies ? std::vector<int>{7} : std::vector<int>{});
    }
}

TEST_F(ClerkTest, DestroyedOnAVolleyFrameItStillFiresThatVolley) {
    Tenin t;
    t.Init({500.0f, 300.0f, 0.0f});
    Frames(t, 119);
    ClearTasks();
    Frame(t, true);
    EXPECT_EQ(t.state, TASK_DEAD);
    EXPECT_EQ(Created(), (std::vector<std::string>{"BakuAni", "Tekitama", "tuibi"}));
}

TEST_F(ClerkTest, ProvokedItChargesAtOnceAndFiresAHomingShotEvery20Counts) {
    Tenin t;
    t.Init({1500.0f, 300.0f, 0.0f});
    Frames(t, 56);
    Frame(t, true);  // timer 57
    EXPECT_EQ(t.isCharging, 1);
    EXPECT_FLOAT_EQ(t.pos.x, 1495.0f);
    std::vector<int> shotTimers;
    for (int i = 0; i < 150; ++i) {
        ClearTasks();
        Frame(t);
        if (!Created().empty()) {
            EXPECT_EQ(Created(), std::vector<std::string>{"tuibi"});
            shotTimers.push_back(t.openTimer);
        }
        EXPECT_EQ(t.isOpen, 0);  // the cycle no longer runs: closed picture, timer counting on
    }
    EXPECT_EQ(t.openTimer, 207);
    EXPECT_EQ(shotTimers, (std::vector<int>{60, 80, 100, 120, 140, 160, 180, 200}));
}

TEST_F(ClerkTest, ChargingRightOfX400At5ThenAt10WithA3PixelStepTowardThePlayer) {
    g_santaPos = Vec3{100.0f, 290.0f, 0.0f};
    Tenin t;
    t.Init({430.0f, 300.0f, 0.0f});
    Frame(t, true);  // provoked: 425
    EXPECT_FLOAT_EQ(t.pos.x, 425.0f);
    EXPECT_FLOAT_EQ(t.pos.y, 300.0f);
    Frames(t, 4);  // 405
    EXPECT_FLOAT_EQ(t.pos.x, 405.0f);
    Frame(t);  // reaching 400 it already moves 10 px and steps up toward the player
    EXPECT_FLOAT_EQ(t.pos.x, 395.0f);
    EXPECT_FLOAT_EQ(t.pos.y, 297.0f);
    ASSERT_NE(t.Box(0), nullptr);
    EXPECT_EQ(t.Box(0)->x, 395);  // the clerk records its box after moving
    Frames(t, 2);                 // 294, 291
    Frame(t);                     // 288 < 290
    EXPECT_FLOAT_EQ(t.pos.y, 288.0f);
    Frame(t);  // below the player again: back down
    EXPECT_FLOAT_EQ(t.pos.y, 291.0f);
    g_santaPos.y = 291.0f;
    Frame(t);  // level counts as below
    EXPECT_FLOAT_EQ(t.pos.y, 294.0f);
}

TEST_F(ClerkTest, ChargingItCannotBeDestroyed) {
    Tenin t;
    t.Init({700.0f, 300.0f, 0.0f});
    Frame(t, true);
    for (int i = 0; i < 60; ++i) Frame(t, true);
    EXPECT_EQ(t.state, TASK_ACTIVE);
    EXPECT_EQ(t.isCharging, 1);
    EXPECT_EQ(t.isOpen, 0);
    EXPECT_EQ(CountCreated("BakuAni"), 0);
    EXPECT_TRUE(Played().empty());
}

}  // namespace
