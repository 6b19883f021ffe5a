#include "player/santa.h"

#include "player/bakuani.h"
#include "player/ya.h"
#include "support/player_fixture.h"

namespace {

class SantaTest : public PlayerFixture {
protected:
    Santa* NewSanta() {
        Santa* santa = new Santa;
        santa->Init();
        return Link(santa);
    }
    // A Santa past its invincible start, standing at (x, y).
    Santa* VulnerableSantaAt(float x, float y) {
        Santa* santa = NewSanta();
        santa->pos = Vec3{x, y, 0.0f};
        santa->invincibleTimer = INVINCIBLE_TIMER_MAX;
        santa->invincible = 0;
        santa->SetBoxPos(0, static_cast<int32_t>(x) + 7, static_cast<int32_t>(y) + 20);
        return santa;
    }
    // An enemy box over Santa's, and the collision pass that flags it.
    void TouchSanta(const Santa& santa) {
        const HitBox* box = santa.Box(0);
        Link(new Obstacle(box->x, box->y, box->w, box->h, HIT_GROUP_ENEMY));
        RunCollisions();
    }
};

TEST_F(SantaTest, TouchIsHarmlessThroughUpdate100AndFatalFrom101) {
    Santa* santa = NewSanta();
    TouchSanta(*santa);
    Tick(100);
    EXPECT_EQ(santa->state, TASK_ACTIVE);
    EXPECT_EQ(Count("BakuAni"), 0);
    Played();

    Tick();
    EXPECT_EQ(santa->state, TASK_DEAD);
    EXPECT_EQ(santa->Box(0), nullptr);
    EXPECT_EQ(g_lives, 14);
    EXPECT_EQ(Played(), std::vector<int>{SND_HIT});
    ASSERT_EQ(Count("BakuAni"), 1);
    EXPECT_EQ(Tasks<BakuAni>("BakuAni")[0]->pos.x, 84.0f);
    EXPECT_EQ(Count("Fukki"), 1);
}

TEST_F(SantaTest, HoldingRightDiesSilentlyAtTheRightEdgeAfter138Updates) {
    Santa* santa = NewSanta();
    Hold(DIK_RIGHT);
    Tick(137);
    EXPECT_EQ(santa->state, TASK_ACTIVE);
    // The box lags one step behind the picture.
    EXPECT_EQ(santa->Box(0)->x, 780 + 7);
    Played();
    Tick();
    EXPECT_EQ(santa->state, TASK_DEAD);
    EXPECT_EQ(g_santaPos.x, 790.0f);
    EXPECT_TRUE(Played().empty());
    ASSERT_EQ(Count("BakuAni"), 1);
    EXPECT_EQ(Tasks<BakuAni>("BakuAni")[0]->pos.x, 774.0f);
    EXPECT_EQ(Tasks<BakuAni>("BakuAni")[0]->pos.y, 300.0f);
}

TEST_F(SantaTest, EachEdgeKillsOnlyOnceCrossed) {
    struct Case {
        float x, y;
        uint8_t key;
        bool dies;
    } const cases[] = {
        {785, 300, DIK_RIGHT, true}, {780, 300, DIK_RIGHT, false}, {0, 300, DIK_LEFT, true},
        {5, 300, DIK_LEFT, false},   {100, 0, DIK_UP, true},       {100, 5, DIK_UP, false},
        {100, 563, DIK_DOWN, true},  {100, 558, DIK_DOWN, false},
    };
    for (const Case& c : cases) {
        Santa* santa = VulnerableSantaAt(c.x, c.y);
        std::memset(g_keys, 0, sizeof g_keys);
        Hold(c.key);
        Tick();
        EXPECT_EQ(santa->state == TASK_DEAD, c.dies) << c.x << "," << c.y;
        santa->state = TASK_DEAD;
        santa->RemoveBox(0);
    }
}

TEST_F(SantaTest, HeldSpaceFiresOnUpdates1And11And21FromWhereSantaMovedTo) {
    Santa* santa = NewSanta();
    santa->pos.x = 245.0f;
    Hold(DIK_SPACE);
    Hold(DIK_RIGHT);
    std::vector<int> firing;
    for (int update = 1; update <= 25; ++update) {
        Tick();
        const std::vector<int> played = Played();
        if (played.empty()) continue;
        EXPECT_EQ(played, std::vector<int>{SND_SHOT}) << update;
        firing.push_back(update);
    }
    EXPECT_EQ(firing, (std::vector<int>{1, 11, 21}));
    // The first arrow left after the step from 245 to 250, so it pierces.
    const Ya* first = Tasks<Ya>("Ya").back();
    EXPECT_EQ(first->piercing, 1);
    EXPECT_EQ(first->pos.y, 330.0f);
}

TEST_F(SantaTest, LivesCountDownAndTheLastDeathBringsNoRevival) {
    g_lives = 2;
    TouchSanta(*VulnerableSantaAt(300, 300));
    Tick();
    EXPECT_EQ(g_lives, 1);
    EXPECT_EQ(Count("Fukki"), 1);
    TouchSanta(*VulnerableSantaAt(500, 300));
    Tick();
    EXPECT_EQ(g_lives, 0);
    EXPECT_EQ(Count("Fukki"), 1);  // only the first death's
}

TEST_F(SantaTest, TwoCausesInOneUpdateAreOneDeathAndALastArrowStillFlies) {
    Santa* hitAtCorner = VulnerableSantaAt(785, 0);
    TouchSanta(*hitAtCorner);
    Hold(DIK_RIGHT);
    Hold(DIK_UP);
    Hold(DIK_SPACE);
    Played();
    Tick();
    EXPECT_EQ(hitAtCorner->state, TASK_DEAD);
    EXPECT_EQ(g_lives, 14);
    EXPECT_EQ(Count("BakuAni"), 1);
    EXPECT_EQ(Count("Fukki"), 1);
    // The touch came first, so the death has its sound; then the last arrow.
    EXPECT_EQ(Played(), (std::vector<int>{SND_HIT, SND_SHOT}));
    ASSERT_EQ(Count("Ya"), 1);
    EXPECT_EQ(Tasks<Ya>("Ya")[0]->pos.x, 825.0f);
    EXPECT_EQ(g_santaPos.y, -5.0f);
}

}  // namespace
