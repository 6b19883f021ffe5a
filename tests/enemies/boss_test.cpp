#include "enemies/boss.h"

#include <algorithm>

#include "enemies/knight.h"
#include "enemies/nomin.h"
#include "enemies/tenin.h"
#include "player/hanetama.h"
#include "player/tekitama.h"
#include "support/enemies_fixture.h"

namespace {

using BossTest = EnemyTest;

// Only the bullets and enemies it calls in, in creation order, without the explosions.
std::vector<std::string> Without(std::vector<std::string> classes, const std::string& drop) {
    std::erase(classes, drop);
    return classes;
}

TEST_F(BossTest, ThePhaseGoesByTheLifeLeftBeforeTheHit) {
    Boss b;
    b.Init({600.0f, 300.0f, 0.0f});
    b.guardTimer = 0;
    b.life = 31;
    Frame(b, true);  // still phase 1: 5 px
    EXPECT_EQ(b.life, 30);
    EXPECT_FLOAT_EQ(b.pos.y, 305.0f);
    Frame(b);  // phase 2: y += vy, then vy += ay
    EXPECT_FLOAT_EQ(b.pos.y, 306.0f);
    EXPECT_EQ(b.vy, 2);
    EXPECT_FLOAT_EQ(b.pos.x, 600.0f);

    b.life = 11;
    b.guardTimer = 0;
    Frames(b, 1);
    Frame(b, true);  // still phase 2
    EXPECT_EQ(b.life, 10);
    EXPECT_FLOAT_EQ(b.pos.x, 600.0f);
    const float y = b.pos.y;
    Frame(b);  // phase 3: 10 px down and a 1 px drift left
    EXPECT_FLOAT_EQ(b.pos.y, y + 10.0f);
    EXPECT_FLOAT_EQ(b.pos.x, 599.0f);
}

TEST_F(BossTest, GuardedHitsStillExplodeAndSoundButCostNoLife) {
    Boss b;
    b.Init({600.0f, 300.0f, 0.0f});
    std::vector<int> lifeAfter;
    for (int f = 1; f <= 32; ++f) {
        ClearTasks();
        Frame(b, true);
        lifeAfter.push_back(b.life);
        EXPECT_EQ(CountCreated("BakuAni"), 1) << "frame " << f;
        EXPECT_EQ(Played(), std::vector<int>{8}) << "frame " << f;
    }
    // The very first update can cost life; then 30 frames of guard after a damaging hit.
    EXPECT_EQ(lifeAfter[0], 49);
    EXPECT_EQ(lifeAfter[30], 49);  // frame 31
    EXPECT_EQ(lifeAfter[31], 48);  // frame 32
    EXPECT_EQ(b.guardTimer, 29);
    EXPECT_EQ(b.isGuarded, 1);

    // Unhit at first, it is guarded for frames 2 to 19 by its starting guard.
    Boss fresh;
    fresh.Init({600.0f, 300.0f, 0.0f});
    Frame(fresh);
    for (int f = 2; f <= 19; ++f) Frame(fresh, true);
    EXPECT_EQ(fresh.life, 50);
    Frame(fresh, true);
    EXPECT_EQ(fresh.life, 49);
}

TEST_F(BossTest, FiftyDamagingHitsTakeAtLeast1520FramesAndThenClearTheStage) {
    Boss b;
    b.Init({600.0f, 50.0f, 0.0f});
    int frame = 0;
    int phase2From = 0;
    int phase3From = 0;
    while (b.state == TASK_ACTIVE && frame < 5000) {
        ClearTasks();
        Frame(b, true);
        ++frame;
        if (b.life == 30 && phase2From == 0) phase2From = frame + 1;
        if (b.life == 10 && phase3From == 0) phase3From = frame + 1;
        if (b.state == TASK_ACTIVE) {
            EXPECT_EQ(g_stageClear, 0) << "frame " << frame;
        }
    }
    EXPECT_EQ(frame, 1 + 49 * 31);
    // Damaging hits land in frames 1, 32, 63, ...: 20 in phase 1, 20 in phase 2, 10 in phase 3.
    EXPECT_EQ(phase2From, 2 + 19 * 31);
    EXPECT_EQ(phase3From, 2 + 39 * 31);
    EXPECT_EQ(b.life, 0);
    EXPECT_EQ(g_stageClear, 1);
    EXPECT_EQ(b.Box(0), nullptr);
    EXPECT_EQ(Played().size(), 1520u);  // every hit sounds, guarded or not
}

TEST_F(BossTest, InPhaseOneFromY50ItFiresOnEveryHeightThatIsAMultipleOf16) {
    Boss b;
    b.Init({600.0f, 50.0f, 0.0f});
    std::vector<int> heights;
    for (int f = 1; f <= 210; ++f) {
        ClearTasks();
        Frame(b);
        if (CountCreated("Tekitama") == 1) heights.push_back(static_cast<int>(b.pos.y));
    }
    const std::vector<int> expected = {80,  160, 240, 320, 400, 480, 560,  // down
                                       528, 448, 368, 288, 208, 128, 48};  // up from 568
    EXPECT_EQ(heights, expected);
}

TEST_F(BossTest, EveryPhaseClampsToTheBandAndTurnsAFrameLate) {
    Boss one;
    one.Init({600.0f, 565.0f, 0.0f});
    Frame(one);
    EXPECT_FLOAT_EQ(one.pos.y, 570.0f);
    Frame(one);
    EXPECT_FLOAT_EQ(one.pos.y, 563.0f);
    EXPECT_EQ(one.vy, -1);

    Boss two;
    two.Init({600.0f, 570.0f, 0.0f});
    two.life = 20;
    two.vy = 5;
    Frame(two);
    EXPECT_FLOAT_EQ(two.pos.y, 563.0f);
    EXPECT_EQ(two.vy, -6);
    EXPECT_EQ(two.ay, -1);

    Boss three;
    three.Init({600.0f, -4.0f, 0.0f});
    three.life = 5;
    three.sweepSpeed = -10;
    Frame(three);
    EXPECT_FLOAT_EQ(three.pos.y, 10.0f);
    EXPECT_EQ(three.sweepSpeed, 10);
}

TEST_F(BossTest, InPhaseThreeItDriftsBetweenX250And580) {
    Boss b;
    b.Init({252.0f, 300.0f, 0.0f});
    b.life = 10;
    Frames(b, 2);
    EXPECT_FLOAT_EQ(b.pos.x, 250.0f);
    EXPECT_EQ(b.movingLeft, 0);
    Frame(b);
    EXPECT_FLOAT_EQ(b.pos.x, 251.0f);
    Frames(b, 329);
    EXPECT_FLOAT_EQ(b.pos.x, 580.0f);
    EXPECT_EQ(b.movingLeft, 1);
    Frame(b);
    EXPECT_FLOAT_EQ(b.pos.x, 579.0f);
}

TEST_F(BossTest, LaterPhasesFireAHomingAndTwoBouncingShotsEvery60Frames) {
    Boss two;
    two.Init({600.0f, 300.0f, 0.0f});
    two.life = 20;
    std::vector<int> volleys;
    for (int f = 1; f <= 180; ++f) {
        ClearTasks();
        Frame(two);
        if (!Created().empty()) {
            volleys.push_back(f);
            EXPECT_EQ(Created(), (std::vector<std::string>{"tuibi", "HaneTama", "HaneTama"}));
            EXPECT_EQ(Newest<HaneTama>()->vy, 4);  // the downward one comes last
        }
    }
    EXPECT_EQ(volleys, (std::vector<int>{60, 120, 180}));

    // Phase three adds a plain bullet every 70 frames; at 420 both rules fire.
    Boss three;
    three.Init({600.0f, 300.0f, 0.0f});
    three.life = 10;
    Frames(three, 419);
    ClearTasks();
    Frame(three);
    EXPECT_EQ(Created(), (std::vector<std::string>{"tuibi", "HaneTama", "HaneTama", "Tekitama"}));
}

TEST_F(BossTest, CallsAClerkEvery1500AVillagerEvery1000AndAKnightEvery200) {
    Boss b;
    b.Init({600.0f, 300.0f, 0.0f});
    std::vector<int> clerks, villagers, knights;
    for (int f = 1; f <= 3000; ++f) {
        ClearTasks();
        Frame(b);
        if (CountCreated("Tenin")) clerks.push_back(f);
        if (CountCreated("Nomin")) villagers.push_back(f);
        if (CountCreated("Knight")) knights.push_back(f);
    }
    EXPECT_EQ(clerks, (std::vector<int>{1500, 3000}));
    EXPECT_EQ(villagers, (std::vector<int>{1000, 2000, 3000}));
    EXPECT_EQ(knights.size(), 15u);
    EXPECT_EQ(knights.front(), 200);
    // Frame 3000 calls all three, clerk first, knight last: the knight is the newest task.
    const std::vector<std::string> order = {"Tenin", "Nomin", "Knight"};
    const std::vector<std::string> created = Created();
    EXPECT_TRUE(std::equal(order.rbegin(), order.rend(), created.rbegin()));
    auto* knight = Newest<Knight>();
    ASSERT_NE(knight, nullptr);
    EXPECT_FLOAT_EQ(knight->pos.x, 1700.0f);
    EXPECT_FLOAT_EQ(knight->pos.y, 300.0f);
    auto* villager = dynamic_cast<Nomin*>(g_taskHead->next->next);
    ASSERT_NE(villager, nullptr);
    EXPECT_FLOAT_EQ(villager->pos.x, 750.0f);
    EXPECT_FLOAT_EQ(villager->pos.y, 200.0f);
    auto* clerk = dynamic_cast<Tenin*>(g_taskHead->next->next->next);
    ASSERT_NE(clerk, nullptr);
    EXPECT_FLOAT_EQ(clerk->pos.x, 500.0f);
    EXPECT_FLOAT_EQ(clerk->pos.y, 300.0f);
}

TEST_F(BossTest, TheDefeatingHitStillLetsThatFramesReinforcementsThrough) {
    Boss b;
    b.Init({400.0f, 300.0f, 0.0f});
    b.life = 1;
    b.guardTimer = 0;
    b.bossTimer = 2999;
    Frame(b, true);
    EXPECT_EQ(b.life, 0);
    EXPECT_EQ(b.state, TASK_DEAD);
    EXPECT_EQ(g_stageClear, 1);
    EXPECT_EQ(b.Box(0), nullptr);
    EXPECT_EQ(
        Without(Created(), "BakuAni"),
        (std::vector<std::string>{"tuibi", "HaneTama", "HaneTama", "Tenin", "Nomin", "Knight"}));
    EXPECT_EQ(Played(), std::vector<int>{8});
}

}  // namespace
