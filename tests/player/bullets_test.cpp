#include <cmath>
#include <numbers>

#include "player/hanetama.h"
#include "player/tekitama.h"
#include "player/tuibi.h"
#include "support/player_fixture.h"

namespace {

class BulletTest : public PlayerFixture {
protected:
    template <class T>
    T* Shoot(float x, float y) {
        T* bullet = new T;
        bullet->Init(x, y, 0.0f);
        return Link(bullet);
    }
    HaneTama* Bounce(float x, float y, int direction) {
        HaneTama* bullet = new HaneTama;
        bullet->Init(x, y, 0.0f, direction);
        return Link(bullet);
    }
    // An aimed bullet whose corner starts at (x, y) with the given heading.
    tuibi* Aimed(float x, float y, float angle) {
        tuibi* bullet = Shoot<tuibi>(x - BULLET_SPAWN_DX, y - BULLET_SPAWN_DY);
        bullet->angle = angle;
        return bullet;
    }
};

TEST_F(BulletTest, EveryBulletStartsOffsetFromItsShooterInTheEnemyGroup) {
    NodeBaseClass* bullets[] = {Shoot<Tekitama>(500, 200), Shoot<tuibi>(500, 200),
                                Bounce(500, 200, 1)};
    const int priorities[] = {6, 6, 15};
    for (int i = 0; i < 3; ++i) {
        const HitObjClass* hit = dynamic_cast<HitObjClass*>(bullets[i]);
        ASSERT_NE(hit, nullptr);
        const HitBox* box = hit->Box(0);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->x, 535) << i;
        EXPECT_EQ(box->y, 230) << i;
        EXPECT_EQ(box->w, 16);
        EXPECT_EQ(box->h, 16);
        EXPECT_EQ(box->group, HIT_GROUP_ENEMY);
        EXPECT_EQ(bullets[i]->priority, priorities[i]);
    }
}

TEST_F(BulletTest, PlainBulletFromX500EndsInIts54thUpdate) {
    Tekitama* bullet = Shoot<Tekitama>(500, 200);
    EXPECT_EQ(bullet->pos.x, 535.0f);
    Tick(53);
    EXPECT_EQ(bullet->pos.x, 5.0f);
    EXPECT_EQ(bullet->pos.y, 230.0f);
    EXPECT_EQ(bullet->state, TASK_ACTIVE);
    EXPECT_EQ(bullet->Box(0)->x, 5);
    Tick();
    EXPECT_EQ(bullet->pos.x, -5.0f);
    EXPECT_EQ(bullet->state, TASK_DEAD);
    EXPECT_EQ(bullet->Box(0), nullptr);
}

TEST_F(BulletTest, BulletsFlyOnThroughWhatTheyTouch) {
    Tekitama* bullet = Shoot<Tekitama>(500, 200);
    Link(new Obstacle(0, 0, 800, 600, HIT_GROUP_SANTA));
    Link(new Obstacle(0, 0, 800, 600, HIT_GROUP_YA));
    RunCollisions();
    EXPECT_EQ(bullet->IsHit(0), 1);
    Tick(5);
    EXPECT_EQ(bullet->state, TASK_ACTIVE);
    EXPECT_EQ(bullet->pos.x, 485.0f);
    EXPECT_EQ(bullet->IsHit(0), 1);
}

TEST_F(BulletTest, AimedBulletKeepsTheHeadingItTookAtSetUp) {
    g_santaPos = Vec3{100.0f, 330.0f, 0.0f};
    tuibi* bullet = Shoot<tuibi>(465, 0);  // corner at (500, 30): 400 left, 300 down
    EXPECT_EQ(bullet->target.x, 100.0f);
    EXPECT_EQ(bullet->target.y, 330.0f);
    EXPECT_FLOAT_EQ(bullet->angle, std::atan2(300.0f, -400.0f));
    g_santaPos = Vec3{700.0f, 0.0f, 0.0f};  // Santa moving on changes nothing
    Tick(10);
    EXPECT_NEAR(bullet->pos.x, 500.0f - 40.0f, 1e-3f);
    EXPECT_NEAR(bullet->pos.y, 30.0f + 30.0f, 1e-3f);
    EXPECT_EQ(bullet->Box(0)->x, static_cast<int32_t>(bullet->pos.x));
}

TEST_F(BulletTest, AimedBulletSetUpOnSantasCornerFliesRight) {
    g_santaPos = Vec3{335.0f, 230.0f, 0.0f};
    tuibi* bullet = Shoot<tuibi>(300, 200);
    EXPECT_EQ(bullet->angle, 0.0f);
    Tick(4);
    EXPECT_EQ(bullet->pos.x, 355.0f);
    EXPECT_EQ(bullet->pos.y, 230.0f);
}

TEST_F(BulletTest, AimedBulletAimedUpEndsOnceOutOfReachAboveTheScreen) {
    g_santaPos = Vec3{335.0f, 0.0f, 0.0f};
    tuibi* bullet = Shoot<tuibi>(300, 200);  // corner (335, 230), straight up
    EXPECT_FLOAT_EQ(bullet->angle, -std::numbers::pi_v<float> / 2);
    // 230 - 5 * 49 = -15: the picture's last row is still on screen.
    Tick(49);
    EXPECT_NEAR(bullet->pos.y, -15.0f, 1e-3f);
    EXPECT_EQ(bullet->state, TASK_ACTIVE);
    Tick();
    EXPECT_NEAR(bullet->pos.y, -20.0f, 1e-3f);
    EXPECT_EQ(bullet->state, TASK_DEAD);
    EXPECT_EQ(bullet->Box(0), nullptr);
}

TEST_F(BulletTest, AimedBulletJustInsideTheRightReachLivesOn) {
    // An arrow's box can reach up to x 844; a bullet's box from 845 on never meets it.
    tuibi* inside = Aimed(839.5f, 300.0f, 0.0f);
    tuibi* beyond = Aimed(840.0f, 300.0f, 0.0f);
    Tick();
    EXPECT_EQ(inside->Box(0)->x, 844);
    EXPECT_EQ(inside->state, TASK_ACTIVE);
    EXPECT_EQ(beyond->state, TASK_DEAD);
    EXPECT_EQ(beyond->Box(0), nullptr);
}

TEST_F(BulletTest, AimedBulletJustInsideTheBottomReachLivesOn) {
    // Santa's box reaches down to y 618; a bullet's box from 619 on never meets it.
    const float down = std::numbers::pi_v<float> / 2;
    tuibi* inside = Aimed(300.0f, 613.9f, down);
    tuibi* beyond = Aimed(300.0f, 614.0f, down);
    Tick();
    EXPECT_EQ(inside->Box(0)->y, 618);
    EXPECT_EQ(inside->state, TASK_ACTIVE);
    EXPECT_EQ(beyond->state, TASK_DEAD);
}

TEST_F(BulletTest, AimedBulletOutOfReachButHeadingBackLivesOn) {
    const float up = -std::numbers::pi_v<float> / 2;
    tuibi* below = Aimed(300.0f, 700.0f, up);
    tuibi* left = Aimed(900.0f, 300.0f, std::numbers::pi_v<float>);
    Tick(3);
    EXPECT_EQ(below->state, TASK_ACTIVE);
    EXPECT_EQ(left->state, TASK_ACTIVE);
    EXPECT_NEAR(left->pos.x, 885.0f, 1e-3f);
}

TEST_F(BulletTest, OutOfReachNeedsMovingAwayOnTheSameAxis) {
    EXPECT_TRUE(TuibiGoneForGood(Vec3{300, -16, 0}, 0, -5));
    EXPECT_FALSE(TuibiGoneForGood(Vec3{300, -15.9f, 0}, 0, -5));
    EXPECT_FALSE(TuibiGoneForGood(Vec3{300, -100, 0}, 5, 0));  // above, but moving right
    EXPECT_TRUE(TuibiGoneForGood(Vec3{845, 300, 0}, 3, -4));
    EXPECT_FALSE(TuibiGoneForGood(Vec3{844.9f, 300, 0}, 3, -4));
    EXPECT_TRUE(TuibiGoneForGood(Vec3{300, 619, 0}, -3, 4));
    EXPECT_FALSE(TuibiGoneForGood(Vec3{300, 618.9f, 0}, -3, 4));
}

TEST_F(BulletTest, AimedBulletsFiredUpForeverDoNotFillTheTaskList) {
    g_santaPos = Vec3{335.0f, 0.0f, 0.0f};
    for (int update = 0; update < 3000; ++update) {
        Shoot<tuibi>(300, 200);
        Tick();
    }
    EXPECT_LT(g_taskCount, 100);
}

TEST_F(BulletTest, BouncingBulletIsClampedAt590And0AndTurns) {
    HaneTama* down = Bounce(100, 556, 1);  // y 586
    EXPECT_EQ(down->vy, 4);
    Tick();
    EXPECT_EQ(down->pos.y, 590.0f);  // reaching the limit is no bounce yet
    EXPECT_EQ(down->vy, 4);
    Tick();
    EXPECT_EQ(down->pos.y, 590.0f);
    EXPECT_EQ(down->vy, -4);
    Tick();
    EXPECT_EQ(down->pos.y, 586.0f);
    EXPECT_EQ(down->pos.x, 129.0f);

    HaneTama* up = Bounce(100, -28, -1);  // y 2
    EXPECT_EQ(up->vy, -4);
    Tick();
    EXPECT_EQ(up->pos.y, 0.0f);
    EXPECT_EQ(up->vy, 4);
    EXPECT_EQ(up->Box(0)->y, 0);
    Tick();
    EXPECT_EQ(up->pos.y, 4.0f);
}

TEST_F(BulletTest, BouncingBulletEndsPastTheLeftEdge) {
    HaneTama* bullet = Bounce(-34, 200, 1);  // x 1
    Tick();
    EXPECT_EQ(bullet->pos.x, -1.0f);
    EXPECT_EQ(bullet->state, TASK_DEAD);
    EXPECT_EQ(bullet->Box(0), nullptr);
}

}  // namespace
