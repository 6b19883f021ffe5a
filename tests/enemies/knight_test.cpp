#include "enemies/knight.h"

#include "enemies/tenin.h"
#include "support/enemies_fixture.h"

namespace {

using KnightTest = EnemyTest;
using WalkerTest = EnemyTest;

TEST_F(KnightTest, ReachingX400ItMoves10AndSteersInThatFrameWithItsBoxAFrameBehind) {
    Knight k;
    k.Init({800.0f, 294.0f, 0.0f});
    Frame(k, false, 79);
    EXPECT_FLOAT_EQ(k.pos.x, 405.0f);
    std::vector<float> ys;
    for (int i = 0; i < 4; ++i) {
        Frame(k);
        ys.push_back(k.pos.y);
    }
    // Toward Santa's y 300; level counts as below, so it zigzags 303, 300, 303...
    EXPECT_EQ(ys, (std::vector<float>{297.0f, 300.0f, 303.0f, 300.0f}));
    EXPECT_FLOAT_EQ(k.pos.x, 365.0f);
    EXPECT_EQ(k.Box(0)->x, 375);
    EXPECT_EQ(k.Box(0)->y, 303);
}

TEST_F(WalkerTest, KnightsAndChargingClerksEndSilentlyOncePastXMinus51) {
    // A knight goes by the box it records before moving; a clerk records it after moving.
    Knight inside, past;
    inside.Init({-50.0f, 300.0f, 0.0f});
    past.Init({-51.0f, 300.0f, 0.0f});
    Frame(inside);
    Frame(past);
    EXPECT_EQ(inside.state, TASK_ACTIVE);
    EXPECT_EQ(past.state, TASK_DEAD);
    EXPECT_EQ(past.Box(0), nullptr);
    Frame(inside);
    EXPECT_EQ(inside.state, TASK_DEAD);

    Tenin clerkInside, clerkPast;
    clerkInside.Init({-40.0f, 300.0f, 0.0f});
    clerkPast.Init({-41.0f, 300.0f, 0.0f});
    Frame(clerkInside, true);  // provoked: 10 px to -50
    Frame(clerkPast, true);    // to -51
    EXPECT_EQ(clerkInside.state, TASK_ACTIVE);
    EXPECT_EQ(clerkPast.state, TASK_DEAD);
    EXPECT_EQ(clerkPast.Box(0), nullptr);

    EXPECT_TRUE(Played().empty());
    EXPECT_TRUE(Created().empty());

    // Only walking off the left ends them: a knight waiting far right, a clerk put off screen.
    Knight waiting;
    Tenin standing;
    waiting.Init({1700.0f, 300.0f, 0.0f});
    standing.Init({-100.0f, 300.0f, 0.0f});
    Frame(waiting, false, 180);
    Frame(standing, false, 300);
    EXPECT_EQ(waiting.state, TASK_ACTIVE);
    EXPECT_EQ(standing.state, TASK_ACTIVE);
}

TEST_F(WalkerTest, AClerkJustInsideTheMarginCanStillShootThePlayer) {
    // Santa hard against the left edge: its box at x 7 is the leftmost the player has.
    g_santaPos = Vec3{0.0f, 300.0f, 0.0f};
    Probe santa(HIT_GROUP_SANTA, 7, 320, 16, 32);
    for (float from : {-31.0f, -41.0f}) {
        ClearTasks();
        Tenin t;
        t.Init({from, 300.0f, 0.0f});
        t.isCharging = 1;
        t.openTimer = 19;
        Frame(t);  // 10 px left, then a homing shot from there, boxed at x + 35
        const bool gone = from < -40.0f;
        EXPECT_EQ(Count("tuibi"), 1);
        EXPECT_EQ(t.state, gone ? TASK_DEAD : TASK_ACTIVE) << "from " << from;
        EXPECT_EQ(santa.IsHit(0), gone ? 0 : 1) << "from " << from;
    }
}

}  // namespace
