// The revival: slides the player's picture in from the left and hands over to a new Santa.
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/node.h"

constexpr float FUKKI_START_X = -300.0f;
constexpr float FUKKI_SPEED = 5.0f;
constexpr int32_t FUKKI_PRIORITY = 30;
constexpr float FUKKI_DRAW_SCALE = 4.0f;

class Fukki : public NodeBaseClass {
public:
    void Init();
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Fukki"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
};
