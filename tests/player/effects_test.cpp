#include <string>
#include <vector>

#include "player/bakuani.h"
#include "player/fukki.h"
#include "player/hanetama.h"
#include "player/santa.h"
#include "player/tekitama.h"
#include "player/tuibi.h"
#include "player/ya.h"
#include "support/player_fixture.h"

namespace {

class EffectTest : public PlayerFixture {
protected:
    BakuAni* Explode(float x, float y) {
        BakuAni* explosion = new BakuAni;
        explosion->Init(x, y, 7.0f);
        return Link(explosion);
    }
    Fukki* Revive() {
        Fukki* revival = new Fukki;
        revival->Init();
        return Link(revival);
    }
};

TEST_F(EffectTest, ExplosionShowsElevenCellsTwoUpdatesEachThenEnds) {
    BakuAni* explosion = Explode(40, 50);
    EXPECT_EQ(explosion->priority, 30);
    EXPECT_EQ(explosion->pos.z, 0.0f);
    EXPECT_EQ(explosion->srcRect.right, 16);  // cell 0 before its first update
    for (int update = 1; update <= 21; ++update) {
        Tick();
        const int cell = (update - 1) / 2;
        EXPECT_EQ(explosion->srcRect.left, 16 * cell) << update;
        EXPECT_EQ(explosion->srcRect.right, 16 * cell + 16) << update;
        EXPECT_EQ(explosion->state, TASK_ACTIVE) << update;
    }
    Tick();
    EXPECT_EQ(explosion->state, TASK_DEAD);
    EXPECT_EQ(explosion->srcRect.left, 160);  // still the last cell in its last frame
    Tick();
    EXPECT_EQ(Count("BakuAni"), 0);
}

TEST_F(EffectTest, ExplosionsBornApartEndApart) {
    BakuAni* first = Explode(0, 0);
    Tick(5);
    BakuAni* second = Explode(0, 0);
    Tick(17);
    EXPECT_EQ(first->state, TASK_DEAD);
    EXPECT_EQ(second->state, TASK_ACTIVE);
    Tick(5);
    EXPECT_EQ(second->state, TASK_DEAD);
}

TEST_F(EffectTest, RevivalSlidesIn80UpdatesAndBringsExactlyOneSanta) {
    Fukki* revival = Revive();
    EXPECT_EQ(revival->priority, 30);
    EXPECT_EQ(revival->pos.x, -300.0f);
    EXPECT_EQ(revival->pos.y, 300.0f);
    Tick(79);
    EXPECT_EQ(revival->pos.x, 95.0f);
    EXPECT_EQ(revival->state, TASK_ACTIVE);
    EXPECT_EQ(Count("Santa"), 0);

    Tick();
    EXPECT_EQ(revival->pos.x, 100.0f);
    EXPECT_EQ(revival->state, TASK_DEAD);
    ASSERT_EQ(Count("Santa"), 1);
    const Santa* santa = Tasks<Santa>("Santa")[0];
    EXPECT_EQ(santa->pos.x, 100.0f);
    EXPECT_EQ(santa->pos.y, 300.0f);
    EXPECT_EQ(santa->invincible, 1);

    Tick(5);
    EXPECT_EQ(Count("Fukki"), 0);
    EXPECT_EQ(Count("Santa"), 1);
}

TEST_F(EffectTest, RevivalIgnoresTheLivesLeft) {
    g_lives = 0;
    Revive();
    Tick(80);
    EXPECT_EQ(Count("Santa"), 1);
}

// The headless runner's trace names every field; a wrong or missing name breaks its readers.
TEST_F(EffectTest, EveryClassReportsItsOwnFieldsInOrder) {
    struct Recorder : TaskFields {
        std::vector<std::string> names;
        void Int(const char* n, int64_t) override { names.push_back(n); }
        void Float(const char* n, float) override { names.push_back(n); }
        void Vec(const char* n, float, float) override { names.push_back(n); }
        void Rect(const char* n, int32_t, int32_t, int32_t, int32_t) override {
            names.push_back(n);
        }
    };
    using Names = std::vector<std::string>;
    auto names = [](const NodeBaseClass& task) {
        Recorder recorder;
        task.Describe(recorder);
        return recorder.names;
    };
    Santa santa;
    santa.Init();
    Ya ya;
    ya.Init(0, 0, 0);
    Tekitama tekitama;
    tekitama.Init(0, 0, 0);
    tuibi aimed;
    aimed.Init(0, 0, 0);
    HaneTama bouncing;
    bouncing.Init(0, 0, 0, 1);
    BakuAni explosion;
    explosion.Init(0, 0, 0);
    Fukki revival;
    revival.Init();
    EXPECT_EQ(names(santa), (Names{"pos", "shotCooldown", "animFrame", "srcRect", "animTimer",
                                   "invincible", "invincibleTimer"}));
    EXPECT_EQ(names(ya), (Names{"pos", "piercing"}));
    EXPECT_EQ(names(tekitama), (Names{"pos"}));
    EXPECT_EQ(names(aimed), (Names{"pos", "target", "angle"}));
    EXPECT_EQ(names(bouncing), (Names{"pos", "vy"}));
    EXPECT_EQ(names(explosion), (Names{"pos", "animFrame", "srcRect", "animTimer"}));
    EXPECT_EQ(names(revival), (Names{"pos"}));
    EXPECT_STREQ(aimed.ClassName(), "tuibi");
    EXPECT_STREQ(bouncing.ClassName(), "HaneTama");
    EXPECT_STREQ(explosion.ClassName(), "BakuAni");
}

}  // namespace
