#include "player/santa.h"

#include "player/bakuani.h"
#include "player/fukki.h"
#include "player/ya.h"
#include "shell/sound.h"
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
        santa->SetBoxPos(0, static_cast<int32_t>(x) + SANTA_BOX_DX,
                         static_cast<int32_t>(y) + SANTA_BOX_DY);
        return santa;
    }
    // An enemy box over Santa's, and the collision pass that flags it.
    void TouchSanta(const Santa& santa) {
        const HitBox* box = santa.Box(0);
        Link(new Obstacle(box->x, box->y, box->w, box->h, HIT_GROUP_ENEMY));
        RunCollisions();
    }
};

TEST_F(SantaTest, EntersAtTheStartPointInvincibleAndPublishesItsPosition) {
    Santa* santa = NewSanta();
    EXPECT_EQ(santa->pos.x, 100.0f);
    EXPECT_EQ(santa->pos.y, 300.0f);
    EXPECT_EQ(santa->priority, 30);
    EXPECT_EQ(santa->invincible, 1);
    const HitBox* box = santa->Box(0);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->x, 107);
    EXPECT_EQ(box->y, 320);
    EXPECT_EQ(box->w, 16);
    EXPECT_EQ(box->h, 32);
    EXPECT_EQ(box->group, HIT_GROUP_SANTA);
    EXPECT_EQ(g_santaPos.x, 100.0f);
    EXPECT_EQ(g_santaPos.y, 300.0f);

    Hold(DIK_DOWN);
    Tick();
    EXPECT_EQ(g_santaPos.y, 305.0f);
    // The box still shows where Santa stood before this update's step.
    EXPECT_EQ(santa->Box(0)->y, 320);
    Tick();
    EXPECT_EQ(santa->Box(0)->y, 325);
}

TEST_F(SantaTest, TouchIsHarmlessThroughUpdate100AndFatalFrom101) {
    Santa* santa = NewSanta();
    TouchSanta(*santa);
    Tick(100);
    EXPECT_EQ(santa->state, TASK_ACTIVE);
    EXPECT_EQ(santa->invincible, 1);
    EXPECT_EQ(g_lives, 15);
    EXPECT_EQ(Count("BakuAni"), 0);
    Played();

    Tick();
    EXPECT_EQ(santa->state, TASK_DEAD);
    EXPECT_EQ(santa->Box(0), nullptr);
    EXPECT_EQ(g_lives, 14);
    EXPECT_EQ(Played(), std::vector<int>{SND_HIT});
    ASSERT_EQ(Count("BakuAni"), 1);
    const BakuAni* explosion = Tasks<BakuAni>("BakuAni")[0];
    EXPECT_EQ(explosion->pos.x, 84.0f);
    EXPECT_EQ(explosion->pos.y, 300.0f);
    EXPECT_EQ(Count("Fukki"), 1);
}

TEST_F(SantaTest, InvincibilityBlinksAndTheTimerStopsAt110) {
    Santa* santa = NewSanta();
    for (int update = 1; update <= 120; ++update) {
        Tick();
        EXPECT_EQ(santa->invincible, update <= 100 ? 1 : 0) << update;
        EXPECT_EQ(santa->invincibleTimer, update < 110 ? update : 110) << update;
    }
}

TEST_F(SantaTest, HoldingRightDiesAtTheRightEdgeAfter138UpdatesSilently) {
    Santa* santa = NewSanta();
    Hold(DIK_RIGHT);
    Tick(137);
    EXPECT_EQ(santa->state, TASK_ACTIVE);
    EXPECT_EQ(santa->pos.x, 785.0f);
    Played();

    Tick();
    EXPECT_EQ(santa->state, TASK_DEAD);
    EXPECT_EQ(g_santaPos.x, 790.0f);
    EXPECT_EQ(g_lives, 14);
    EXPECT_TRUE(Played().empty());
    ASSERT_EQ(Count("BakuAni"), 1);
    const BakuAni* explosion = Tasks<BakuAni>("BakuAni")[0];
    EXPECT_EQ(explosion->pos.x, 774.0f);
    EXPECT_EQ(explosion->pos.y, 300.0f);
}

TEST_F(SantaTest, EveryEdgeKillsAtItsLimit) {
    struct Case {
        float x, y;
        uint8_t key;
        bool dies;
    };
    const Case cases[] = {
        {785, 300, DIK_RIGHT, true}, {780, 300, DIK_RIGHT, false}, {0, 300, DIK_LEFT, true},
        {5, 300, DIK_LEFT, false},   {100, 0, DIK_UP, true},       {100, 5, DIK_UP, false},
        {100, 563, DIK_DOWN, true},  {100, 558, DIK_DOWN, false},
    };
    for (const Case& c : cases) {
        Santa* santa = VulnerableSantaAt(c.x, c.y);
        std::memset(g_keys, 0, sizeof g_keys);
        Hold(c.key);
        const int lives = g_lives;
        Tick();
        EXPECT_EQ(santa->state == TASK_DEAD, c.dies) << c.x << "," << c.y;
        EXPECT_EQ(g_lives, c.dies ? lives - 1 : lives);
        santa->state = TASK_DEAD;
        santa->RemoveBox(0);
    }
}

TEST_F(SantaTest, OppositeKeysCancelAndDiagonalsAreNotSlowed) {
    Santa* santa = NewSanta();
    Hold(DIK_LEFT);
    Hold(DIK_RIGHT);
    Hold(DIK_UP);
    Hold(DIK_DOWN);
    Tick(3);
    EXPECT_EQ(santa->pos.x, 100.0f);
    EXPECT_EQ(santa->pos.y, 300.0f);
    Release(DIK_LEFT);
    Release(DIK_DOWN);
    Tick(2);
    EXPECT_EQ(santa->pos.x, 110.0f);
    EXPECT_EQ(santa->pos.y, 290.0f);
}

TEST_F(SantaTest, HeldSpaceFiresOnUpdates1And11And21) {
    NewSanta();
    Hold(DIK_SPACE);
    std::vector<int> firing;
    for (int update = 1; update <= 25; ++update) {
        Tick();
        const std::vector<int> played = Played();
        if (!played.empty()) {
            EXPECT_EQ(played, std::vector<int>{SND_SHOT}) << update;
            firing.push_back(update);
        }
    }
    EXPECT_EQ(firing, (std::vector<int>{1, 11, 21}));
    EXPECT_EQ(Count("Ya"), 3);
}

TEST_F(SantaTest, ArrowLeavesFromThePositionAfterMoving) {
    Santa* santa = NewSanta();
    santa->pos.x = 245.0f;
    Hold(DIK_RIGHT);
    Hold(DIK_SPACE);
    Tick();
    ASSERT_EQ(Count("Ya"), 1);
    const Ya* ya = Tasks<Ya>("Ya")[0];
    EXPECT_EQ(ya->pos.x, 285.0f);
    EXPECT_EQ(ya->pos.y, 330.0f);
    // Moved from 245 to 250 first, so the arrow pierces.
    EXPECT_EQ(ya->piercing, 1);
}

TEST_F(SantaTest, CellsTurnEvery5UpdatesInA20UpdateCycle) {
    Santa* santa = NewSanta();
    EXPECT_EQ(santa->srcRect.left, 0);
    for (int update = 1; update <= 40; ++update) {
        Tick();
        const int cell = ((update - 1) / 5) % 4;
        EXPECT_EQ(santa->srcRect.left, 16 * cell) << update;
        EXPECT_EQ(santa->srcRect.right, 16 * cell + 16) << update;
        EXPECT_EQ(santa->srcRect.bottom, 16) << update;
    }
}

TEST_F(SantaTest, LivesCountDownAndTheLastDeathBringsNoRevival) {
    g_lives = 2;
    Santa* first = VulnerableSantaAt(300, 300);
    TouchSanta(*first);
    Tick();
    EXPECT_EQ(g_lives, 1);
    EXPECT_EQ(Count("Fukki"), 1);

    Santa* second = VulnerableSantaAt(500, 300);
    TouchSanta(*second);
    Tick();
    EXPECT_EQ(second->state, TASK_DEAD);
    EXPECT_EQ(g_lives, 0);
    EXPECT_EQ(Count("Fukki"), 1);  // only the first one's
    EXPECT_EQ(Count("BakuAni"), 2);
}

TEST_F(SantaTest, AHitAtAnEdgeCostsOneLifeAndStillFiresALastArrow) {
    Santa* santa = VulnerableSantaAt(785, 0);
    TouchSanta(*santa);
    Hold(DIK_RIGHT);
    Hold(DIK_UP);
    Hold(DIK_SPACE);
    Played();
    Tick();
    EXPECT_EQ(santa->state, TASK_DEAD);
    EXPECT_EQ(g_lives, 14);
    EXPECT_EQ(Count("BakuAni"), 1);
    EXPECT_EQ(Count("Fukki"), 1);
    // The hit came first, so the death has its sound; then the last arrow.
    EXPECT_EQ(Played(), (std::vector<int>{SND_HIT, SND_SHOT}));
    ASSERT_EQ(Count("Ya"), 1);
    EXPECT_EQ(Tasks<Ya>("Ya")[0]->pos.x, 825.0f);
    EXPECT_EQ(g_santaPos.x, 790.0f);
    EXPECT_EQ(g_santaPos.y, -5.0f);
}

TEST_F(SantaTest, ACornerIsOneDeath) {
    Santa* santa = VulnerableSantaAt(0, 563);
    Hold(DIK_LEFT);
    Hold(DIK_DOWN);
    Tick();
    EXPECT_EQ(santa->state, TASK_DEAD);
    EXPECT_EQ(g_lives, 14);
    EXPECT_EQ(Count("BakuAni"), 1);
    EXPECT_EQ(Count("Fukki"), 1);
    EXPECT_TRUE(Played().empty());
}

}  // namespace
