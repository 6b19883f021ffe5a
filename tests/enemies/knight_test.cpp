#include "enemies/knight.h"

#include "enemies/tenin.h"
#include "player/bakuani.h"
#include "support/enemies_fixture.h"

namespace {

using KnightTest = EnemyTest;
using WalkerTest = EnemyTest;

TEST_F(KnightTest, CrossingX400ItDoublesItsPaceAndHomesInThatSameFrame) {
    g_santaPos = Vec3{100.0f, 300.0f, 0.0f};
    Knight k;
    k.Init({800.0f, 200.0f, 0.0f});
    Frames(k, 79);
    EXPECT_FLOAT_EQ(k.pos.x, 405.0f);
    EXPECT_FLOAT_EQ(k.pos.y, 200.0f);
    Frame(k);  // reaching 400 it already moves 10 px and steers
    EXPECT_FLOAT_EQ(k.pos.x, 395.0f);
    EXPECT_FLOAT_EQ(k.pos.y, 203.0f);
    // The box was recorded before the move, so it lags by one frame's step.
    ASSERT_NE(k.Box(0), nullptr);
    EXPECT_EQ(k.Box(0)->x, 405);
    EXPECT_EQ(k.Box(0)->y, 200);
    Frame(k);
    EXPECT_EQ(k.Box(0)->x, 395);
    EXPECT_EQ(k.Box(0)->y, 203);
    EXPECT_EQ(k.Box(0)->w, 40);
}

TEST_F(KnightTest, LevelWithThePlayerItZigzagsStartingDownwards) {
    g_santaPos = Vec3{100.0f, 300.0f, 0.0f};
    Knight k;
    k.Init({300.0f, 300.0f, 0.0f});
    std::vector<float> ys;
    for (int i = 0; i < 4; ++i) {
        Frame(k);
        ys.push_back(k.pos.y);
    }
    EXPECT_EQ(ys, (std::vector<float>{303.0f, 300.0f, 303.0f, 300.0f}));
}

TEST_F(KnightTest, DiesInTheUpdateAfterItsBoxIsHitWhereItStood) {
    Knight k;
    k.Init({600.0f, 200.0f, 0.0f});
    Frame(k);  // at 595, box still at 600
    Probe arrow(HIT_GROUP_YA, 630, 210, 16, 16);
    RunCollisions();
    g_deathSound = 4;
    k.Update();
    EXPECT_EQ(k.state, TASK_DEAD);
    EXPECT_EQ(k.Box(0), nullptr);
    EXPECT_EQ(Played(), (std::vector<int>{4}));
    ASSERT_EQ(Created(), std::vector<std::string>{"BakuAni"});
    EXPECT_FLOAT_EQ(Newest<BakuAni>()->pos.x, 595.0f);
    RunCollisions();
    EXPECT_FALSE(arrow.IsHit(0));  // gone from the ring at once
}

TEST_F(WalkerTest, FarPastTheLeftEdgeKnightsAndChargingClerksLeaveSilently) {
    // A knight judges by the box it recorded this frame, which lags its picture.
    Knight inside;
    inside.Init({-50.0f, 300.0f, 0.0f});
    Frame(inside);
    EXPECT_EQ(inside.state, TASK_ACTIVE);
    EXPECT_EQ(inside.Box(0)->x, -50);
    Frame(inside);
    EXPECT_EQ(inside.state, TASK_DEAD);

    Knight past;
    past.Init({-51.0f, 300.0f, 0.0f});
    Frame(past);
    EXPECT_EQ(past.state, TASK_DEAD);
    EXPECT_EQ(past.Box(0), nullptr);

    // A clerk records its box after moving: 10 px a frame this far left.
    Tenin clerkInside;
    clerkInside.Init({-40.0f, 300.0f, 0.0f});
    Frame(clerkInside, true);  // provoked: -50
    EXPECT_EQ(clerkInside.state, TASK_ACTIVE);
    Tenin clerkPast;
    clerkPast.Init({-41.0f, 300.0f, 0.0f});
    Frame(clerkPast, true);  // -51
    EXPECT_EQ(clerkPast.state, TASK_DEAD);
    EXPECT_EQ(clerkPast.Box(0), nullptr);

    EXPECT_TRUE(Played().empty());
    EXPECT_EQ(CountCreated("BakuAni"), 0);
}

TEST_F(WalkerTest, AKnightLeftToWalkEndsOnceItsBoxIsPastTheMargin) {
    Knight k;
    k.Init({800.0f, 300.0f, 0.0f});
    int frames = 0;
    int lastBoxX = 0;
    while (k.state == TASK_ACTIVE && frames < 1000) {
        lastBoxX = k.Box(0)->x;
        Frame(k);
        ++frames;
    }
    EXPECT_EQ(frames, 126);
    EXPECT_EQ(lastBoxX, -45);  // the box it had going into its last frame
}

TEST_F(WalkerTest, OnlyWalkingOffTheLeftEndsThem) {
    Knight waiting;
    waiting.Init({1700.0f, 300.0f, 0.0f});
    Frames(waiting, 180);
    EXPECT_EQ(waiting.state, TASK_ACTIVE);
    EXPECT_FLOAT_EQ(waiting.pos.x, 800.0f);

    Tenin standing;  // never provoked: it does not walk, so it stays wherever it was put
    standing.Init({-100.0f, 300.0f, 0.0f});
    Frames(standing, 300);
    EXPECT_EQ(standing.state, TASK_ACTIVE);
}

TEST_F(WalkerTest, JustInsideTheMarginAClerksShotCanStillReachThePlayer) {
    // Santa hard against the left edge: its box starts at x 7, the leftmost it can be.
    g_santaPos = Vec3{0.0f, 300.0f, 0.0f};
    Probe santa(HIT_GROUP_SANTA, 7, 320, 16, 32);

    Tenin near;
    near.Init({-31.0f, 300.0f, 0.0f});
    near.isCharging = 1;
    near.openTimer = 19;
    Frame(near);  // moves to -41 and fires from there: the shot's box starts at -6
    EXPECT_EQ(near.state, TASK_ACTIVE);
    EXPECT_EQ(CountCreated("tuibi"), 1);
    EXPECT_TRUE(santa.IsHit(0));

    ClearTasks();
    Tenin far;
    far.Init({-41.0f, 300.0f, 0.0f});
    far.isCharging = 1;
    far.openTimer = 19;
    Frame(far);  // at -51 its last shot is boxed and drawn wholly left of 0
    EXPECT_EQ(far.state, TASK_DEAD);
    EXPECT_EQ(CountCreated("tuibi"), 1);
    EXPECT_FALSE(santa.IsHit(0));
}

}  // namespace
