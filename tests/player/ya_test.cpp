#include "player/ya.h"

#include "support/player_fixture.h"

namespace {

class YaTest : public PlayerFixture {
protected:
    Ya* Fire(float shooterX) {
        Ya* ya = new Ya;
        ya->Init(shooterX, 300.0f, 0.0f);
        return Link(ya);
    }
};

TEST_F(YaTest, ArrowFromX249StopsAtItsFirstTouchAndFrom250PassesThrough) {
    Ya* stopping = Fire(249);
    Ya* piercing = Fire(250);
    Link(new Obstacle(300, 320, 40, 40, HIT_GROUP_ENEMY));
    std::vector<int> sounding;
    for (int update = 1; update <= 4; ++update) {
        Tick();
        sounding.push_back(static_cast<int>(Played().size()));
        if (update == 2) {
            EXPECT_EQ(stopping->state, TASK_DEAD);
            EXPECT_EQ(stopping->Box(0), nullptr);
        }
    }
    // Both touch after update 1 and sound in update 2; the piercing one again in update 3.
    EXPECT_EQ(sounding, (std::vector<int>{0, 2, 1, 0}));
    EXPECT_EQ(piercing->state, TASK_ACTIVE);
    EXPECT_EQ(piercing->pos.x, 365.0f);
}

TEST_F(YaTest, ArrowAtExactly800LivesOneMoreUpdate) {
    Ya* ya = Fire(745);  // starts at 780
    Tick();
    EXPECT_EQ(ya->pos.x, 800.0f);
    EXPECT_EQ(ya->state, TASK_ACTIVE);
    Tick();
    EXPECT_EQ(ya->pos.x, 820.0f);
    EXPECT_EQ(ya->state, TASK_DEAD);
    EXPECT_EQ(ya->Box(0), nullptr);
}

}  // namespace
