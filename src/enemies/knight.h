// The knight: marches in from the right and, past the middle of the screen, rams the player.
#pragma once

#include <cstdint>

#include "enemies/townsfolk.h"
#include "shell/graphics.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

constexpr int32_t KNIGHT_PRIORITY = 8;
constexpr int32_t KNIGHT_BOX_SIZE = 40;
constexpr float KNIGHT_DRAW_SCALE = 2.5f;  // the 16 x 16 cell covers the 40 x 40 box

class Knight : public NodeBaseClass, public HitObjClass {
public:
    void Init(Vec3 pos);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Knight"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
};
