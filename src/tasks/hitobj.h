// Hit boxes, the global ring that holds them, and the collision pass.
#pragma once

#include <cstdint>

enum : int32_t {
    HIT_GROUP_SANTA = 0,
    HIT_GROUP_YA = 1,
    HIT_GROUP_ENEMY = 3,
};

constexpr int HIT_RECORDS = 10;

struct HitBox {
    int32_t hitIds[HIT_RECORDS] = {};
    int32_t hitValue1[HIT_RECORDS] = {};
    int32_t hitValue2[HIT_RECORDS] = {};
    uint8_t hit = 0;
    int32_t x = 0, y = 0;
    int32_t w = 0, h = 0;
    int32_t id = 0;
    int32_t value1 = 0, value2 = 0;
    int32_t group = 0;
    uint8_t ignored = 0;
    HitBox* next = nullptr;
    HitBox* prev = nullptr;

    HitBox() = default;
    ~HitBox();  // unlinks itself from the ring
    HitBox(const HitBox&) = delete;
    HitBox& operator=(const HitBox&) = delete;
};

extern HitBox* g_hitHead;
extern HitBox* g_hitTail;

void InitHitList();
void RunCollisions();
void ReleaseHitList();

// Q against P: rectangles that only share an edge do not overlap.
bool Overlaps(const HitBox& q, const HitBox& p);

// The second base of every actor that can hit or be hit: owns that actor's boxes.
class HitObjClass {
public:
    HitObjClass() = default;
    ~HitObjClass();
    HitObjClass(const HitObjClass&) = delete;
    HitObjClass& operator=(const HitObjClass&) = delete;

    // The set-up of every actor here: one row, its box w x h at (x, y), in its group.
    void CreateSingleBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t group);

    void AllocBoxes(int32_t rows);
    void CreateBox(int32_t row, int32_t x, int32_t y, int32_t w, int32_t h);
    void RemoveBox(int32_t row);
    void SetBoxPos(int32_t row, int32_t x, int32_t y);
    void SetBoxInfo(int32_t row, int32_t id, int32_t group, uint8_t ignored);
    void SetBoxValues(int32_t row, int32_t value1, int32_t value2);
    uint8_t IsHit(int32_t row) const;
    bool HasHitId(int32_t row, int32_t id) const;
    int32_t MaxHitId(int32_t row) const;
    bool FindHitById(int32_t row, int32_t id, int32_t* value1, int32_t* value2) const;
    bool FindHitByValue1(int32_t row, int32_t value1, int32_t* value2) const;

    // The box in a row, or nullptr (for tests and the trace).
    const HitBox* Box(int32_t row) const;

    HitBox** boxes = nullptr;
    int32_t boxCount = 0;

private:
    HitBox* Row(int32_t row) const;
};
