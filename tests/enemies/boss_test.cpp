#include "enemies/boss.h"

#include <algorithm>

#include "enemies/knight.h"
#include "player/hanetama.h"
#include "support/enemies_fixture.h"

namespace {

using BossTest = EnemyTest;

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

    b.life = 11;
    b.guardTimer = 0;
    Frame(b);
    Frame(b, true);  // still phase 2: x stays
    EXPECT_EQ(b.life, 10);
    EXPECT_FLOAT_EQ(b.pos.x, 600.0f);
    const float y = b.pos.y;
    Frame(b);  // phase 3: 10 px down and a 1 px drift left
    EXPECT_FLOAT_EQ(b.pos.y, y + 10.0f);
    EXPECT_FLOAT_EQ(b.pos.x, 599.0f);
}

TEST_F(BossTest, GuardedHitsStillExplodeAndSoundButCostNoLife) {
    Boss b, fresh;
    b.Init({600.0f, 300.0f, 0.0f});
    fresh.Init({600.0f, 300.0f, 0.0f});
    std::vector<int> lifeAfter;
    for (int f = 1; f <= 32; ++f) {
        ClearTasks();
        Frame(b, true);
        lifeAfter.push_back(b.life);
        EXPECT_EQ(Count("BakuAni"), 1) << "frame " << f;
        EXPECT_EQ(Played(), std::vector<int>{8}) << "frame " << f;
    }
    // The first update can cost life; the 30 after a damaging hit cannot.
    EXPECT_EQ(lifeAfter[0], 49);
    EXPECT_EQ(lifeAfter[30], 49);
    EXPECT_EQ(lifeAfter[31], 48);

    // Left alone in its first frame, its starting guard covers frames 2 to 19.
    Frame(fresh);
    Frame(fresh, true, 18);
    EXPECT_EQ(fresh.life, 50);
    Frame(fresh, true);
    EXPECT_EQ(fresh.life, 49);
}

TEST_F(BossTest, FiftyDamagingHitsTake1520FramesAndThenClearTheStage) {
    Boss b;
    b.Init({600.0f, 50.0f, 0.0f});
    int frame = 0;
    std::vector<int> phaseChanges;  // the last frames with life 31 and 11
    while (b.state == TASK_ACTIVE && frame < 5000) {
        const int before = b.life;
        ClearTasks();
        Frame(b, true);
        ++frame;
        if (before != b.life && (b.life == 30 || b.life == 10)) phaseChanges.push_back(frame);
        if (b.state == TASK_ACTIVE) {
            EXPECT_EQ(g_stageClear, 0) << "frame " << frame;
        }
    }
    // Damaging hits land in frames 1, 32, 63...: 20 in phase 1, 20 in phase 2, 10 in phase 3.
    EXPECT_EQ(frame, 1 + 49 * 31);
    EXPECT_EQ(phaseChanges, (std::vector<int>{1 + 19 * 31, 1 + 39 * 31}));
    EXPECT_EQ(g_stageClear, 1);
    EXPECT_EQ(b.Box(0), nullptr);
}

TEST_F(BossTest, PhaseOneFromY50FiresOnMultiplesOf16AndClampsTo568) {
    Boss b;
    b.Init({600.0f, 50.0f, 0.0f});
    std::vector<int> heights;
    for (int f = 1; f <= 210; ++f) {
        ClearTasks();
        Frame(b);
        if (Count("Tekitama") == 1) heights.push_back(static_cast<int>(b.pos.y));
        // Past the band for one frame, then set back to 568 and on up.
        if (f == 104 || f == 105) {
            EXPECT_FLOAT_EQ(b.pos.y, f == 104 ? 570.0f : 563.0f);
        }
    }
    EXPECT_EQ(heights, (std::vector<int>{80, 160, 240, 320, 400, 480, 560,  //
                                         528, 448, 368, 288, 208, 128, 48}));
}

TEST_F(BossTest, PhaseThreeDriftsBetween250And580AndAddsAPlainShotEvery70) {
    Boss b;
    b.Init({252.0f, 300.0f, 0.0f});
    b.life = 10;
    std::vector<float> turns;
    for (int f = 1; f <= 420; ++f) {
        const uint8_t was = b.movingLeft;
        ClearTasks();
        Frame(b);
        if (b.movingLeft != was) turns.push_back(b.pos.x);
    }
    EXPECT_EQ(turns, (std::vector<float>{250.0f, 580.0f}));
    // Frame 420 is due for both: the homing and two bouncing shots (up, down), then the plain.
    EXPECT_EQ(Created(), (Classes{"tuibi", "HaneTama", "HaneTama", "Tekitama"}));
    EXPECT_EQ(dynamic_cast<HaneTama*>(g_taskHead->next->next)->vy, 4);
}

TEST_F(BossTest, CallsAClerkAVillagerAndAKnightInThatOrderEvenAsItFalls) {
    Boss b;
    b.Init({600.0f, 300.0f, 0.0f});
    std::vector<int> clerks, villagers, knights;
    for (int f = 1; f < 3000; ++f) {
        ClearTasks();
        Frame(b);
        if (Count("Tenin")) clerks.push_back(f);
        if (Count("Nomin")) villagers.push_back(f);
        if (Count("Knight")) knights.push_back(f);
    }
    EXPECT_EQ(clerks, std::vector<int>{1500});
    EXPECT_EQ(villagers, (std::vector<int>{1000, 2000}));
    EXPECT_EQ(knights.size(), 14u);

    // Frame 3000 calls all three, and the hit that defeats it does not stop them.
    b.life = 1;
    b.guardTimer = 0;
    b.isGuarded = 0;
    ClearTasks();
    Frame(b, true);
    EXPECT_EQ(b.state, TASK_DEAD);
    EXPECT_EQ(g_stageClear, 1);
    Classes created = Created();
    ASSERT_GE(created.size(), 4u);
    EXPECT_EQ(Classes(created.end() - 4, created.end()),
              (Classes{"BakuAni", "Tenin", "Nomin", "Knight"}));
    EXPECT_FLOAT_EQ(Newest<Knight>()->pos.x, 1700.0f);
}

}  // namespace
