// The explosion: eleven cells, two updates each, drawn four times enlarged.
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/node.h"

constexpr int32_t BAKUANI_CELLS = 11;
constexpr int32_t BAKUANI_CELL_TICKS = 2;
constexpr int32_t BAKUANI_PRIORITY = 30;
constexpr float BAKUANI_DRAW_SCALE = 4.0f;

class BakuAni : public NodeBaseClass {
public:
    void Init(float x, float y, float z);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "BakuAni"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
    int32_t animFrame = 0;
    Rect srcRect;
    int32_t animTimer = 0;
};
