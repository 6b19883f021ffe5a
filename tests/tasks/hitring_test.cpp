#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tasks/hitobj.h"
#include "tasks/node.h"

namespace {

struct Actor : HitObjClass {
    Actor(int x, int y, int w, int h, int group, int id = 0) {
        AllocBoxes(1);
        CreateBox(0, x, y, w, h);
        SetBoxInfo(0, id, group, 0);
    }
};

class HitRing : public testing::Test {
protected:
    void SetUp() override { InitHitList(); }
    void TearDown() override {
        actors.clear();
        ReleaseHitList();
    }
    Actor& Make(int x, int y, int w, int h, int group, int id = 0) {
        actors.push_back(std::make_unique<Actor>(x, y, w, h, group, id));
        return *actors.back();
    }
    std::vector<std::unique_ptr<Actor>> actors;
};

TEST_F(HitRing, OverlapsOnlyAcrossGroupsAndNotAlongAnEdge) {
    Actor& santa = Make(0, 0, 16, 16, HIT_GROUP_SANTA);
    Actor& touching = Make(16, 0, 16, 16, HIT_GROUP_ENEMY);  // shares the edge x = 16
    Actor& below = Make(0, 16, 16, 16, HIT_GROUP_ENEMY);     // shares the edge y = 16
    Actor& friendA = Make(100, 100, 20, 20, HIT_GROUP_ENEMY);
    Actor& friendB = Make(105, 105, 20, 20, HIT_GROUP_ENEMY);  // same group: never collide
    RunCollisions();
    EXPECT_EQ(santa.IsHit(0), 0);
    EXPECT_EQ(touching.IsHit(0), 0);
    EXPECT_EQ(below.IsHit(0), 0);
    EXPECT_EQ(friendA.IsHit(0), 0);
    EXPECT_EQ(friendB.IsHit(0), 0);

    Actor& inside = Make(4, 4, 4, 4, HIT_GROUP_YA);      // fully inside: both sides are hit
    Actor& corner = Make(15, 15, 16, 16, HIT_GROUP_YA);  // one pixel of overlap
    RunCollisions();
    EXPECT_EQ(santa.IsHit(0), 1);
    EXPECT_EQ(inside.IsHit(0), 1);
    EXPECT_EQ(corner.IsHit(0), 1);
    EXPECT_EQ(touching.IsHit(0), 1);  // the corner box overlaps it too
}

TEST_F(HitRing, IgnoredBoxNeitherHitsNorIsHit) {
    Actor& ghost = Make(0, 0, 50, 50, HIT_GROUP_ENEMY);
    ghost.SetBoxInfo(0, 0, HIT_GROUP_ENEMY, 1);
    Actor& santa = Make(10, 10, 10, 10, HIT_GROUP_SANTA);
    RunCollisions();
    EXPECT_EQ(ghost.IsHit(0), 0);
    EXPECT_EQ(santa.IsHit(0), 0);
}

TEST_F(HitRing, KeepsTenRecordsAndTheEleventhOverwritesTheFirst) {
    Actor& target = Make(0, 0, 100, 100, HIT_GROUP_SANTA);
    // Created in id order 1..12; the ring runs newest first, so they are met 12, 11, ..., 1.
    for (int id = 1; id <= 12; ++id) Make(10, 10, 5, 5, HIT_GROUP_ENEMY, id);
    RunCollisions();
    const HitBox* box = target.Box(0);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->hit, 1);
    EXPECT_EQ(box->hitIds[0], 2);  // 12 was recorded first, then overwritten by the 11th: 2
    EXPECT_EQ(box->hitIds[1], 1);
    EXPECT_EQ(box->hitIds[2], 10);
    EXPECT_EQ(box->hitIds[9], 3);
    EXPECT_TRUE(target.HasHitId(0, 7));
    EXPECT_FALSE(target.HasHitId(0, 12));
    EXPECT_EQ(target.MaxHitId(0), 10);  // 11 and 12 were overwritten
}

TEST_F(HitRing, RecordsCarryTheOtherBoxValues) {
    Actor& target = Make(0, 0, 10, 10, HIT_GROUP_SANTA);
    Actor& other = Make(0, 0, 10, 10, HIT_GROUP_ENEMY, 5);
    other.SetBoxValues(0, 40, 41);
    RunCollisions();
    int32_t v1 = 0, v2 = 0;
    EXPECT_TRUE(target.FindHitById(0, 5, &v1, &v2));
    EXPECT_EQ(v1, 40);
    EXPECT_EQ(v2, 41);
    EXPECT_FALSE(target.FindHitById(0, 0, &v1, &v2));  // id 0 is never looked up
    EXPECT_TRUE(target.FindHitByValue1(0, 40, &v2));
    EXPECT_EQ(v2, 41);
    EXPECT_FALSE(target.FindHitByValue1(0, 99, &v2));
}

TEST_F(HitRing, FlagsAreRewrittenEveryPassAndGoWithARemovedBox) {
    Actor& santa = Make(0, 0, 10, 10, HIT_GROUP_SANTA);
    Actor& enemy = Make(5, 5, 10, 10, HIT_GROUP_ENEMY);
    RunCollisions();
    EXPECT_EQ(santa.IsHit(0), 1);
    enemy.SetBoxPos(0, 200, 200);
    RunCollisions();
    EXPECT_EQ(santa.IsHit(0), 0);
    santa.RemoveBox(0);
    EXPECT_EQ(santa.IsHit(0), 0);
    EXPECT_EQ(santa.Box(0), nullptr);
    EXPECT_EQ(g_hitHead->next, enemy.Box(0));
}

TEST_F(HitRing, RowOperationsOutsideTheTableDoNothing) {
    Actor& a = Make(0, 0, 10, 10, HIT_GROUP_SANTA);
    a.SetBoxPos(1, 5, 5);
    a.SetBoxPos(-1, 5, 5);
    a.RemoveBox(3);
    EXPECT_EQ(a.IsHit(2), 0);
    EXPECT_EQ(a.MaxHitId(2), 0);
    a.AllocBoxes(4);  // a second call keeps the boxes the actor already has
    EXPECT_EQ(a.boxCount, 1);
    HitObjClass empty;
    empty.CreateBox(0, 0, 0, 1, 1);
    EXPECT_EQ(empty.Box(0), nullptr);
    EXPECT_EQ(a.Box(0)->x, 0);
}

TEST_F(HitRing, DeletingAnActorTakesItsBoxOutOfTheRing) {
    Make(0, 0, 10, 10, HIT_GROUP_SANTA);
    Make(0, 0, 10, 10, HIT_GROUP_ENEMY);
    actors.erase(actors.begin());
    RunCollisions();
    EXPECT_EQ(actors[0]->IsHit(0), 0);
    EXPECT_EQ(g_hitHead->next->next, g_hitTail);
}

// A box created during the update pass is tested in that frame's collision pass.
class Spawner : public NodeBaseClass {
public:
    void Update() override {
        if (spawned == nullptr) spawned = new Actor(0, 0, 10, 10, HIT_GROUP_ENEMY);
    }
    Actor* spawned = nullptr;
    ~Spawner() override { delete spawned; }
};

TEST_F(HitRing, BoxCreatedDuringTheUpdatePassCollidesInTheSameFrame) {
    InitTaskList();
    Actor& santa = Make(0, 0, 10, 10, HIT_GROUP_SANTA);
    auto* spawner = new Spawner;
    AddTask(spawner);
    UpdateTasks();
    RunCollisions();
    EXPECT_EQ(santa.IsHit(0), 1);
    EXPECT_EQ(spawner->spawned->IsHit(0), 1);
    ReleaseTaskList();
}

}  // namespace
