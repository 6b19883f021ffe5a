// The bouncing enemy bullet: drifts left while bouncing between the top and bottom limits.
#pragma once

#include <cstdint>

#include "player/bullet.h"

constexpr float HANETAMA_SPEED_X = 2.0f;
constexpr int32_t HANETAMA_SPEED_Y = 4;  // times the direction, +1 down or -1 up
constexpr float HANETAMA_TOP = 0.0f;
constexpr float HANETAMA_BOTTOM = 590.0f;
constexpr int32_t HANETAMA_PRIORITY = 15;

class HaneTama : public NodeBaseClass, public HitObjClass {
public:
    void Init(float x, float y, float z, int direction);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "HaneTama"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
    int32_t vy = 0;
};
