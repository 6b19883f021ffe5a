#include "player/ya.h"

#include "shell/sound.h"
#include "support/player_fixture.h"

namespace {

class YaTest : public PlayerFixture {
protected:
    Ya* Fire(float shooterX, float shooterY) {
        Ya* ya = new Ya;
        ya->Init(shooterX, shooterY, 0.0f);
        return Link(ya);
    }
    void EnemyAt(int32_t x, int32_t y, int32_t w = 40, int32_t h = 40) {
        Link(new Obstacle(x, y, w, h, HIT_GROUP_ENEMY));
    }
};

TEST_F(YaTest, StartsOffsetFromTheShooterAndFlies20PerUpdate) {
    Ya* ya = Fire(100, 300);
    EXPECT_EQ(ya->priority, 9);
    EXPECT_EQ(ya->pos.x, 135.0f);
    EXPECT_EQ(ya->pos.y, 330.0f);
    const HitBox* box = ya->Box(0);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->x, 135);
    EXPECT_EQ(box->y, 330);
    EXPECT_EQ(box->w, 16);
    EXPECT_EQ(box->h, 16);
    EXPECT_EQ(box->group, HIT_GROUP_YA);
    Tick(3);
    EXPECT_EQ(ya->pos.x, 195.0f);
    EXPECT_EQ(ya->pos.y, 330.0f);
    EXPECT_EQ(ya->Box(0)->x, 195);
}

TEST_F(YaTest, ArrowFiredFromX249StopsAtItsFirstTouch) {
    Ya* ya = Fire(249, 300);
    EXPECT_EQ(ya->piercing, 0);
    EnemyAt(300, 320);  // reached by the box at 304 after the first update
    Tick();
    EXPECT_EQ(ya->state, TASK_ACTIVE);
    EXPECT_TRUE(Played().empty());
    Tick();
    EXPECT_EQ(ya->state, TASK_DEAD);
    EXPECT_EQ(ya->Box(0), nullptr);
    EXPECT_EQ(Played(), std::vector<int>{SND_HIT});
}

TEST_F(YaTest, ArrowFiredFromX250PassesThroughSoundingEveryUpdateOfOverlap) {
    Ya* ya = Fire(250, 300);
    EXPECT_EQ(ya->piercing, 1);
    EnemyAt(300, 320, 40, 40);  // overlapped by boxes at 305, 325 (x + 16 > 300, x < 340)
    std::vector<int> sounding;
    for (int update = 1; update <= 5; ++update) {
        Tick();
        EXPECT_EQ(ya->state, TASK_ACTIVE) << update;
        if (!Played().empty()) sounding.push_back(update);
    }
    // The box touches after updates 1 and 2; each shows as a sound one update later.
    EXPECT_EQ(sounding, (std::vector<int>{2, 3}));
    EXPECT_NE(ya->Box(0), nullptr);
}

TEST_F(YaTest, AnEnemyBulletStopsTheArrow) {
    Ya* ya = Fire(100, 300);
    Obstacle* bullet = Link(new Obstacle(135, 330, 16, 16, HIT_GROUP_ENEMY));
    RunCollisions();
    EXPECT_EQ(bullet->IsHit(0), 1);
    Tick();
    EXPECT_EQ(ya->state, TASK_DEAD);
    EXPECT_EQ(Played(), std::vector<int>{SND_HIT});
}

TEST_F(YaTest, ArrowAtExactly800LivesOneMoreUpdate) {
    Ya* ya = Fire(745, 300);  // starts at 780
    Tick();
    EXPECT_EQ(ya->pos.x, 800.0f);
    EXPECT_EQ(ya->state, TASK_ACTIVE);
    EXPECT_NE(ya->Box(0), nullptr);
    Tick();
    EXPECT_EQ(ya->pos.x, 820.0f);
    EXPECT_EQ(ya->state, TASK_DEAD);
    EXPECT_EQ(ya->Box(0), nullptr);
    Tick();
    EXPECT_EQ(Count("Ya"), 0);
}

}  // namespace
