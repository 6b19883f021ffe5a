#include "enemies/nomin.h"

#include "player/bakuani.h"
#include "player/tuibi.h"
#include "support/enemies_fixture.h"

namespace {

using VillagerTest = EnemyTest;

TEST_F(VillagerTest, SurgesCollapseAt25AndThePauseFrameFiresASecondVolley) {
    Nomin n;
    n.Init({700.0f, 120.0f, 0.0f});
    std::vector<int> volleys;
    for (int k = 1; k <= 26; ++k) {
        ClearTasks();
        Frame(n);
        // From rest the speed grows by one a frame: y = 120 + k (k + 1) / 2 until it collapses.
        if (k <= 24) {
            EXPECT_FLOAT_EQ(n.pos.y, 120.0f + k * (k + 1) / 2.0f);
            EXPECT_EQ(n.vy, k == 24 ? 0 : k + 1);
        }
        if (Count("Tekitama") > 0) {
            volleys.push_back(k);
            EXPECT_EQ(Created(), (Classes{"Tekitama", "tuibi"}));
            EXPECT_FLOAT_EQ(Newest<tuibi>()->pos.x, 735.0f);
        }
    }
    EXPECT_EQ(volleys, (std::vector<int>{15, 24, 25}));  // y 240, 420, and 420 standing
    EXPECT_FLOAT_EQ(n.pos.y, 421.0f);
    EXPECT_EQ(n.vy, 2);
}

TEST_F(VillagerTest, FiresWheneverTheTruncatedHeightIsAMultipleOf60) {
    struct Case {
        float y;
        int32_t vy;
        bool fires;
    };
    // At or above the top it turns first, so a vy of -1 there moves it down by one.
    for (const Case& c : {Case{0.5f, -1, true}, Case{0.75f, -1, true}, Case{-60.5f, -1, false},
                          Case{-61.0f, -1, true}, Case{59.5f, 1, true}, Case{58.5f, 1, false}}) {
        ClearTasks();
        Nomin n;
        n.Init({700.0f, c.y, 0.0f});
        n.vy = c.vy;
        Frame(n);
        EXPECT_EQ(Count("tuibi"), c.fires ? 1 : 0) << "from " << c.y << " to " << n.pos.y;
    }
}

TEST_F(VillagerTest, TurnsOnOrPastTheLinesBeforeMovingAndIsNeverClamped) {
    Nomin top, bottom, past;
    top.Init({700.0f, 0.0f, 0.0f});
    bottom.Init({700.0f, 568.0f, 0.0f});
    past.Init({700.0f, 567.5f, 0.0f});
    std::vector<float> ys;
    for (int i = 0; i < 3; ++i) {
        Frame(top);
        Frame(past);
        ys.push_back(top.pos.y);
        ys.push_back(past.pos.y);
    }
    EXPECT_EQ(ys, (std::vector<float>{-1.0f, 568.5f, 1.0f, 566.5f, 4.0f, 563.5f}));
    Frame(bottom);
    EXPECT_FLOAT_EQ(bottom.pos.y, 567.0f);
}

TEST_F(VillagerTest, AnArrowDestroysItAfterItsVolleyButItsOwnBulletsDoNot) {
    Nomin n;
    n.Init({700.0f, 59.0f, 0.0f});  // its first move takes it to 60: a volley
    Probe bullet(HIT_GROUP_ENEMY, 700, 60, 32, 32);
    RunCollisions();
    EXPECT_FALSE(n.IsHit(0));
    Probe arrow(HIT_GROUP_YA, 700, 70, 16, 16);
    RunCollisions();
    g_deathSound = 9;
    n.Update();
    EXPECT_EQ(Created(), (Classes{"Tekitama", "tuibi", "BakuAni"}));
    EXPECT_FLOAT_EQ(Newest<BakuAni>()->pos.y, 60.0f);
    EXPECT_EQ(Played(), std::vector<int>{9});
    EXPECT_EQ(n.state, TASK_DEAD);
    EXPECT_EQ(n.Box(0), nullptr);
}

}  // namespace
