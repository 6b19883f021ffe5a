// The player's arrow: flies right, stops on its first touch unless fired from the right side.
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

constexpr float YA_SPEED = 20.0f;
// Where a shot starts, relative to the shooter's position (arrows and enemy bullets alike).
constexpr float BULLET_SPAWN_DX = 35.0f;
constexpr float BULLET_SPAWN_DY = 30.0f;
constexpr float PIERCE_X = 250.0f;    // shooters at or right of this fire piercing arrows
constexpr float YA_LIMIT_X = 800.0f;  // an arrow beyond this (strictly) ends
constexpr int32_t YA_BOX_SIZE = 16;
constexpr int32_t YA_PRIORITY = 9;

class Ya : public NodeBaseClass, public HitObjClass {
public:
    void Init(float x, float y, float z);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Ya"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
    uint8_t piercing = 0;
};
