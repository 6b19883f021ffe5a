#include "player/bakuani.h"
#include "player/fukki.h"
#include "player/santa.h"
#include "support/player_fixture.h"

namespace {

using EffectTest = PlayerFixture;

TEST_F(EffectTest, ExplosionShowsElevenCellsTwoUpdatesEachAndEndsInUpdate22) {
    BakuAni* explosion = new BakuAni;
    explosion->Init(40, 50, 7);
    Link(explosion);
    for (int update = 1; update <= 21; ++update) {
        Tick();
        EXPECT_EQ(explosion->srcRect.left, 16 * ((update - 1) / 2)) << update;
        EXPECT_EQ(explosion->state, TASK_ACTIVE) << update;
    }
    Tick();
    EXPECT_EQ(explosion->state, TASK_DEAD);
    EXPECT_EQ(explosion->srcRect.left, 160);  // the last cell shows in its last frame
}

TEST_F(EffectTest, RevivalHandsOverInUpdate80ToExactlyOneSanta) {
    Fukki* revival = new Fukki;
    revival->Init();
    Link(revival);
    Tick(79);
    EXPECT_EQ(Count("Santa"), 0);
    Tick();
    EXPECT_EQ(revival->state, TASK_DEAD);
    EXPECT_EQ(revival->pos.x, 100.0f);
    Tick(5);
    EXPECT_EQ(Count("Fukki"), 0);
    ASSERT_EQ(Count("Santa"), 1);
    const Santa* santa = Tasks<Santa>("Santa")[0];
    EXPECT_EQ(santa->pos.y, 300.0f);
    EXPECT_EQ(santa->invincible, 1);
}

}  // namespace
