// The villager: stays in its column and bobs the height of the screen in surges, firing as it goes.
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

constexpr int32_t NOMIN_PRIORITY = 7;
constexpr int32_t NOMIN_BOX_SIZE = 32;
constexpr float NOMIN_TOP = 0.0f;        // turns at or above this
constexpr float NOMIN_BOTTOM = 568.0f;   // and at or below this (568 + 32 = 600)
constexpr int32_t NOMIN_SPEED_CAP = 25;  // a speed this large collapses to 0
constexpr int32_t NOMIN_FIRE_SPACING = 60;

class Nomin : public NodeBaseClass, public HitObjClass {
public:
    void Init(Vec3 pos);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Nomin"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
    int32_t vy = 0;
    int32_t ay = 0;
};
