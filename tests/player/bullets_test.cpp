#include <cmath>
#include <numbers>

#include "player/hanetama.h"
#include "player/tekitama.h"
#include "player/tuibi.h"
#include "support/player_fixture.h"

namespace {

constexpr float PI = std::numbers::pi_v<float>;

class BulletTest : public PlayerFixture {
protected:
    template <class T>
    T* Shoot(float x, float y) {
        T* bullet = new T;
        bullet->Init(x, y, 0.0f);
        return Link(bullet);
    }
    // An aimed bullet whose corner starts at (x, y), with the given heading.
    tuibi* Aimed(float x, float y, float angle) {
        tuibi* bullet = Shoot<tuibi>(x - BULLET_SPAWN_DX, y - BULLET_SPAWN_DY);
        bullet->angle = angle;
        return bullet;
    }
};

TEST_F(BulletTest, PlainBulletFromX500FliesThroughEverythingAndEndsInIts54thUpdate) {
    Tekitama* bullet = Shoot<Tekitama>(500, 200);
    EXPECT_EQ(bullet->pos.x, 535.0f);
    EXPECT_EQ(bullet->pos.y, 230.0f);
    Link(new Obstacle(0, 0, 800, 600, HIT_GROUP_SANTA));
    Tick(53);
    EXPECT_EQ(bullet->pos.x, 5.0f);
    EXPECT_EQ(bullet->state, TASK_ACTIVE);
    EXPECT_EQ(bullet->IsHit(0), 1);
    Tick();
    EXPECT_EQ(bullet->state, TASK_DEAD);
    EXPECT_EQ(bullet->Box(0), nullptr);
}

TEST_F(BulletTest, AimedBulletKeepsTheHeadingItTookAtSetUp) {
    g_santaPos = Vec3{100.0f, 330.0f, 0.0f};
    tuibi* bullet = Shoot<tuibi>(465, 0);  // corner at (500, 30): 400 left, 300 down
    g_santaPos = Vec3{700.0f, 0.0f, 0.0f};
    Tick(10);
    EXPECT_NEAR(bullet->pos.x, 460.0f, 1e-3f);
    EXPECT_NEAR(bullet->pos.y, 60.0f, 1e-3f);

    // Set up on Santa's own corner: atan2(0, 0) is 0, to the right.
    g_santaPos = Vec3{335.0f, 230.0f, 0.0f};
    tuibi* level = Shoot<tuibi>(300, 200);
    EXPECT_EQ(level->angle, 0.0f);
    Tick(4);
    EXPECT_EQ(level->pos.x, 355.0f);
    EXPECT_EQ(level->pos.y, 230.0f);
}

TEST_F(BulletTest, AimedBulletAimedUpEndsOnlyWhenItsPictureHasLeftTheScreen) {
    g_santaPos = Vec3{335.0f, 0.0f, 0.0f};
    tuibi* bullet = Shoot<tuibi>(300, 200);  // corner (335, 230), straight up
    Tick(49);
    EXPECT_NEAR(bullet->pos.y, -15.0f, 1e-3f);  // its last row still shows
    EXPECT_EQ(bullet->state, TASK_ACTIVE);
    Tick();
    EXPECT_EQ(bullet->state, TASK_DEAD);
    EXPECT_EQ(bullet->Box(0), nullptr);
}

TEST_F(BulletTest, AimedBulletLivesOnWhileAnArrowOrSantaCouldStillMeetIt) {
    // An arrow's box reaches x 844 at most, Santa's box y 618.
    tuibi* right = Aimed(839.5f, 300.0f, 0.0f);
    tuibi* rightGone = Aimed(840.0f, 300.0f, 0.0f);
    tuibi* down = Aimed(300.0f, 613.9f, PI / 2);
    tuibi* downGone = Aimed(300.0f, 614.0f, PI / 2);
    tuibi* comingBack = Aimed(300.0f, 700.0f, -PI / 2);
    Tick();
    EXPECT_EQ(right->Box(0)->x, 844);
    EXPECT_EQ(right->state, TASK_ACTIVE);
    EXPECT_EQ(rightGone->state, TASK_DEAD);
    EXPECT_EQ(down->Box(0)->y, 618);
    EXPECT_EQ(down->state, TASK_ACTIVE);
    EXPECT_EQ(downGone->state, TASK_DEAD);
    EXPECT_EQ(comingBack->state, TASK_ACTIVE);
    // Out of reach above, but moving right: it stays.
    EXPECT_FALSE(TuibiGoneForGood(Vec3{300, -100, 0}, 5, 0));
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
    HaneTama* down = new HaneTama;
    down->Init(100, 556, 0, 1);  // y 586
    Link(down);
    HaneTama* up = new HaneTama;
    up->Init(100, -28, 0, -1);  // y 2
    Link(up);
    Tick();
    EXPECT_EQ(down->pos.y, 590.0f);  // reaching the limit is no bounce yet
    EXPECT_EQ(down->vy, 4);
    EXPECT_EQ(up->pos.y, 0.0f);
    EXPECT_EQ(up->vy, 4);
    Tick();
    EXPECT_EQ(down->pos.y, 590.0f);
    EXPECT_EQ(down->vy, -4);
    EXPECT_EQ(up->pos.y, 4.0f);
    EXPECT_EQ(down->pos.x, 131.0f);
}

}  // namespace
