// The collision pass finds overlapping pairs by a sweep; every box must still end up with
// exactly the records that comparing every pair in ring order gives.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "tasks/hitobj.h"

namespace {

struct Records {
    int32_t ids[HIT_RECORDS], v1[HIT_RECORDS], v2[HIT_RECORDS];
    uint8_t hit;
    bool operator==(const Records& o) const {
        for (int k = 0; k < HIT_RECORDS; ++k) {
            if (ids[k] != o.ids[k] || v1[k] != o.v1[k] || v2[k] != o.v2[k]) return false;
        }
        return hit == o.hit;
    }
};

Records Read(const HitBox& b) {
    Records r{};
    for (int k = 0; k < HIT_RECORDS; ++k) {
        r.ids[k] = b.hitIds[k];
        r.v1[k] = b.hitValue1[k];
        r.v2[k] = b.hitValue2[k];
    }
    r.hit = b.hit;
    return r;
}

// The rule as it reads: every box against every other, from the one after it round the ring.
std::vector<Records> EveryPair() {
    std::vector<Records> out;
    for (HitBox* p = g_hitHead->next; p != g_hitHead; p = p->next) {
        Records r{};
        if (!p->ignored) {
            int k = 0;
            for (HitBox* q = p->next; q != p; q = q->next) {
                if (q->group != p->group && !q->ignored && Overlaps(*q, *p)) {
                    r.ids[k] = q->id;
                    r.v1[k] = q->value1;
                    r.v2[k] = q->value2;
                    r.hit = 1;
                    if (++k == HIT_RECORDS) k = 0;
                }
            }
        }
        out.push_back(r);
    }
    return out;
}

std::vector<Records> AfterPass() {
    RunCollisions();
    std::vector<Records> out;
    for (HitBox* p = g_hitHead->next; p != g_hitHead; p = p->next) out.push_back(Read(*p));
    return out;
}

class CollisionSweep : public testing::Test {
protected:
    void SetUp() override { InitHitList(); }
    void TearDown() override { ReleaseHitList(); }

    HitBox* Add(int32_t x, int32_t y, int32_t w, int32_t h, int32_t group, int32_t id,
                uint8_t ignored = 0) {
        auto* box = new HitBox;
        box->x = x;
        box->y = y;
        box->w = w;
        box->h = h;
        box->group = group;
        box->id = id;
        box->value1 = id * 7 + 1;
        box->value2 = -id;
        box->ignored = ignored;
        box->prev = g_hitHead;
        box->next = g_hitHead->next;
        g_hitHead->next->prev = box;
        g_hitHead->next = box;
        return box;
    }

    // Leftovers from an earlier pass must not survive into the next.
    void Dirty() {
        for (HitBox* p = g_hitHead->next; p != g_hitHead; p = p->next) {
            for (int k = 0; k < HIT_RECORDS; ++k)
                p->hitIds[k] = p->hitValue1[k] = p->hitValue2[k] = 99;
            p->hit = 1;
        }
    }
};

TEST_F(CollisionSweep, CrowdedScreensGiveTheRecordsOfEveryPair) {
    std::mt19937 rng(12345);
    const int32_t groups[] = {HIT_GROUP_SANTA, HIT_GROUP_YA, HIT_GROUP_ENEMY};
    for (int round = 0; round < 300; ++round) {
        ReleaseHitList();
        InitHitList();
        const int boxes = 1 + static_cast<int>(rng() % 120);
        // Small areas make crowds: more than ten records per box, shared edges, equal lefts.
        const int area = 20 + static_cast<int>(rng() % 400);
        for (int i = 0; i < boxes; ++i) {
            const int32_t w = static_cast<int32_t>(rng() % 50) - 3;  // a few empty or inverted
            const int32_t h = static_cast<int32_t>(rng() % 50) - 3;
            Add(static_cast<int32_t>(rng() % area) - 40, static_cast<int32_t>(rng() % area) - 40, w,
                h, groups[rng() % 3], static_cast<int32_t>(i % 7), rng() % 9 == 0);
        }
        const std::vector<Records> expected = EveryPair();
        Dirty();
        ASSERT_EQ(AfterPass(), expected) << "round " << round;
    }
}

TEST_F(CollisionSweep, MoreThanTenHitsWrapRoundTheRecordsInRingOrder) {
    HitBox* target = Add(100, 100, 50, 50, HIT_GROUP_ENEMY, 1);
    for (int i = 0; i < 13; ++i) Add(110 + i, 110, 10, 10, HIT_GROUP_YA, 100 + i);
    // Boxes added later sit earlier in the ring; the target, added first, comes last, so its
    // hits come round from the head: ids 112 down to 100, the 11th to 13th overwriting.
    const std::vector<Records> expected = EveryPair();
    ASSERT_EQ(AfterPass(), expected);
    EXPECT_EQ(target->hitIds[0], 102);
    EXPECT_EQ(target->hitIds[2], 100);
    EXPECT_EQ(target->hitIds[3], 109);
}

TEST_F(CollisionSweep, EdgesPastTheIntegerRangeGiveTheSameRecords) {
    Add(INT32_MAX - 5, 0, 20, 20, HIT_GROUP_YA, 1);
    Add(INT32_MAX - 10, 0, 20, 20, HIT_GROUP_ENEMY, 2);
    Add(INT32_MIN + 3, 5, 20, 20, HIT_GROUP_ENEMY, 3);
    Add(0, 0, 10, 10, HIT_GROUP_SANTA, 4);
    Add(5, 5, 10, 10, HIT_GROUP_ENEMY, 5);
    const std::vector<Records> expected = EveryPair();
    Dirty();
    ASSERT_EQ(AfterPass(), expected);
}

TEST_F(CollisionSweep, IgnoredBoxesAndOneGroupMakeNoHits) {
    Add(0, 0, 30, 30, HIT_GROUP_ENEMY, 1);
    Add(10, 10, 30, 30, HIT_GROUP_ENEMY, 2);
    Add(5, 5, 30, 30, HIT_GROUP_YA, 3, 1);
    Dirty();
    for (const Records& r : AfterPass()) EXPECT_EQ(r, Records{});
}

}  // namespace
