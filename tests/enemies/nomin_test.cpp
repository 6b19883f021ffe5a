#include "enemies/nomin.h"

#include "player/bakuani.h"
#include "player/tekitama.h"
#include "player/tuibi.h"
#include "support/enemies_fixture.h"

namespace {

using VillagerTest = EnemyTest;

TEST_F(VillagerTest, SurgesBuildUpCollapseAtSpeed25AndPauseForAFrame) {
    Nomin n;
    n.Init({700.0f, 120.0f, 0.0f});
    // From rest the speed grows by one a frame: after k frames y = 120 + k (k + 1) / 2.
    for (int k = 1; k <= 23; ++k) {
        Frame(n);
        EXPECT_EQ(n.vy, k + 1) << "frame " << k;
        EXPECT_FLOAT_EQ(n.pos.y, 120.0f + k * (k + 1) / 2.0f) << "frame " << k;
    }
    Frame(n);  // would reach 25: collapses
    EXPECT_EQ(n.vy, 0);
    EXPECT_FLOAT_EQ(n.pos.y, 420.0f);
    Frame(n);  // the pause: no move, and the build-up starts again downwards
    EXPECT_FLOAT_EQ(n.pos.y, 420.0f);
    EXPECT_EQ(n.vy, 1);
    EXPECT_EQ(n.ay, 1);
    Frame(n);
    EXPECT_FLOAT_EQ(n.pos.y, 421.0f);
    EXPECT_FLOAT_EQ(n.pos.x, 700.0f);
}

TEST_F(VillagerTest, FiresAPairOnEachMultipleOf60IncludingTheSecondVolleyOfAPause) {
    Nomin n;
    n.Init({700.0f, 120.0f, 0.0f});
    std::vector<int> volleyFrames;
    for (int k = 1; k <= 26; ++k) {
        ClearTasks();
        Frame(n);
        if (!Created().empty()) {
            volleyFrames.push_back(k);
            EXPECT_EQ(Created(), (std::vector<std::string>{"Tekitama", "tuibi"}));
            // Both start from the villager's own corner plus the bullets' spawn offset.
            auto* homing = Newest<tuibi>();
            ASSERT_NE(homing, nullptr);
            EXPECT_FLOAT_EQ(homing->pos.x, 735.0f);
            EXPECT_FLOAT_EQ(homing->pos.y, n.pos.y + 30.0f);
        }
    }
    // y 240 at frame 15, y 420 at frame 24 and again, standing, at frame 25.
    EXPECT_EQ(volleyFrames, (std::vector<int>{15, 24, 25}));
}

TEST_F(VillagerTest, TruncatedHeightDecidesFiringAroundZeroAndBelowIt) {
    struct Case {
        float startY;
        int32_t vy;
        float endY;
        bool fires;
    };
    const Case cases[] = {
        {0.5f, -1, -0.5f, true},  // -0.5 truncates to 0
        {0.75f, -1, -0.25f, true},
        {-60.5f, -1, -59.5f, false},  // on or above the top it turns first; -59.5 is -59
        {-61.0f, -1, -60.0f, true},   // negative multiples count
        {59.5f, 1, 60.5f, true},      // 60.5 is 60
        {58.5f, 1, 59.5f, false},
    };
    for (const Case& c : cases) {
        ClearTasks();
        Nomin n;
        n.Init({700.0f, c.startY, 0.0f});
        n.vy = c.vy;
        Frame(n);
        EXPECT_FLOAT_EQ(n.pos.y, c.endY) << "from " << c.startY;
        EXPECT_EQ(CountCreated("Tekitama"), c.fires ? 1 : 0) << "from " << c.startY;
        EXPECT_EQ(CountCreated("tuibi"), c.fires ? 1 : 0) << "from " << c.startY;
    }
}

TEST_F(VillagerTest, TurnsOnTheLinesBeforeMovingAndSwingsPastThem) {
    Nomin top;
    top.Init({700.0f, 0.0f, 0.0f});
    Frame(top);  // at 0: turns, goes up to -1
    EXPECT_FLOAT_EQ(top.pos.y, -1.0f);
    EXPECT_EQ(top.vy, -2);
    Frame(top);  // above the line: turns back down
    EXPECT_FLOAT_EQ(top.pos.y, 1.0f);
    EXPECT_EQ(top.vy, 3);
    EXPECT_EQ(top.ay, 1);
    Frame(top);
    EXPECT_FLOAT_EQ(top.pos.y, 4.0f);

    Nomin bottom;
    bottom.Init({700.0f, 568.0f, 0.0f});
    Frame(bottom);  // exactly 568 turns
    EXPECT_FLOAT_EQ(bottom.pos.y, 567.0f);
    EXPECT_EQ(bottom.ay, -1);

    Nomin above;
    above.Init({700.0f, 567.5f, 0.0f});
    Frame(above);  // just above the line: no turn, and no clamp on the way past it
    EXPECT_FLOAT_EQ(above.pos.y, 568.5f);
    Frame(above);  // turns with the speed it had built up
    EXPECT_FLOAT_EQ(above.pos.y, 566.5f);
    EXPECT_EQ(above.vy, -3);
}

TEST_F(VillagerTest, OneArrowDestroysItAfterThatFramesVolley) {
    Nomin n;
    n.Init({700.0f, 59.0f, 0.0f});  // its first move takes it to 60: a volley
    Probe arrow(HIT_GROUP_YA, 700, 70, 16, 16);
    RunCollisions();
    ASSERT_TRUE(n.IsHit(0));
    g_deathSound = 9;
    n.Update();
    EXPECT_EQ(Created(), (std::vector<std::string>{"Tekitama", "tuibi", "BakuAni"}));
    auto* boom = Newest<BakuAni>();
    ASSERT_NE(boom, nullptr);
    EXPECT_FLOAT_EQ(boom->pos.x, 700.0f);
    EXPECT_FLOAT_EQ(boom->pos.y, 60.0f);
    EXPECT_EQ(Played(), (std::vector<int>{9}));
    EXPECT_EQ(n.state, TASK_DEAD);
    EXPECT_EQ(n.Box(0), nullptr);
}

TEST_F(VillagerTest, ItsOwnBulletsDoNotHurtIt) {
    Nomin n;
    n.Init({700.0f, 300.0f, 0.0f});
    Probe bullet(HIT_GROUP_ENEMY, 705, 305, 16, 16);
    Probe santa(HIT_GROUP_SANTA, 400, 300, 16, 32);
    for (int i = 0; i < 5; ++i) Frame(n);
    EXPECT_EQ(n.state, TASK_ACTIVE);
    EXPECT_TRUE(Played().empty());
    // The box follows the villager, truncated.
    ASSERT_NE(n.Box(0), nullptr);
    EXPECT_EQ(n.Box(0)->x, 700);
    EXPECT_EQ(n.Box(0)->y, 315);
    EXPECT_EQ(n.Box(0)->w, 32);
}

}  // namespace
