// The plain enemy bullet: straight left.
#pragma once

#include <cstdint>

#include "player/bullet.h"

constexpr float TEKITAMA_SPEED = 10.0f;
constexpr int32_t TEKITAMA_PRIORITY = 6;

class Tekitama : public NodeBaseClass, public HitObjClass {
public:
    void Init(float x, float y, float z);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Tekitama"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
};
