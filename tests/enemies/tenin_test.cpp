#include "enemies/tenin.h"

#include "support/enemies_fixture.h"

namespace {

using ClerkTest = EnemyTest;

TEST_F(ClerkTest, OpensFrom101To200OfEach201FramesAndFiresAt120And180) {
    Tenin t;
    t.Init({500.0f, 300.0f, 0.0f});
    std::vector<int> opens, closes, volleys;
    for (int f = 1; f <= 402; ++f) {
        const uint8_t wasOpen = t.isOpen;
        ClearTasks();
        Frame(t);
        if (t.isOpen != wasOpen) (t.isOpen ? opens : closes).push_back(f);
        if (Count("Tekitama") > 0) {
            volleys.push_back(f);
            EXPECT_EQ(Created(), (Classes{"Tekitama", "tuibi"}));
        }
    }
    EXPECT_EQ(opens, (std::vector<int>{101, 302}));
    EXPECT_EQ(closes, (std::vector<int>{201, 402}));
    EXPECT_EQ(volleys, (std::vector<int>{120, 180, 321, 381}));
}

TEST_F(ClerkTest, AHitDestroysItFromTimer102To201AndProvokesItBefore) {
    for (int hitAt : {1, 100, 101, 102, 120, 201}) {
        const bool dies = hitAt >= 102;
        ClearTasks();
        Tenin t;
        t.Init({1500.0f, 300.0f, 0.0f});
        Frame(t, false, hitAt - 1);
        Frame(t, true);
        EXPECT_EQ(t.state, dies ? TASK_DEAD : TASK_ACTIVE) << "hit at " << hitAt;
        EXPECT_EQ(t.isCharging, dies ? 0 : 1) << "hit at " << hitAt;
        EXPECT_EQ(Played(), dies ? std::vector<int>{7} : std::vector<int>{}) << hitAt;
        if (hitAt == 120) {  // the volley comes after the death
            EXPECT_EQ(Created(), (Classes{"BakuAni", "Tekitama", "tuibi"}));
        }
    }
}

TEST_F(ClerkTest, ProvokedItChargesSteersAndShootsButCannotDie) {
    g_santaPos = Vec3{100.0f, 250.0f, 0.0f};
    Tenin t;
    t.Init({700.0f, 300.0f, 0.0f});
    Frame(t, false, 56);
    Frame(t, true);  // timer 57: it moves at once
    EXPECT_FLOAT_EQ(t.pos.x, 695.0f);
    std::vector<int> shots;
    for (int f = 58; f <= 140; ++f) {
        ClearTasks();
        Frame(t, true);
        if (Count("tuibi") > 0) shots.push_back(t.openTimer);
        EXPECT_EQ(Created().size(), static_cast<size_t>(Count("tuibi")));
        EXPECT_EQ(t.isOpen, 0);
    }
    EXPECT_EQ(shots, (std::vector<int>{60, 80, 100, 120, 140}));
    // 5 px a frame until it reaches 400 in frame 116, then 10 with a 3 px step toward the
    // player: 25 steps up from 300 get it to 249 and into a zigzag about 250.
    EXPECT_FLOAT_EQ(t.pos.x, 395.0f - 24 * 10.0f);
    EXPECT_FLOAT_EQ(t.pos.y, 249.0f);
    EXPECT_EQ(t.state, TASK_ACTIVE);
    EXPECT_TRUE(Played().empty());
}

}  // namespace
