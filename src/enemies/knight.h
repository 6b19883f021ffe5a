// The knight: marches in from the right and, past the middle of the screen, rams the player.
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

constexpr int32_t KNIGHT_PRIORITY = 8;
constexpr int32_t KNIGHT_BOX_SIZE = 40;
constexpr float KNIGHT_SPEED = 5.0f;       // per frame; doubled left of the homing line
constexpr float KNIGHT_HOMING_X = 400.0f;  // at or left of this it homes in on the player
constexpr float KNIGHT_STEER = 3.0f;       // vertical step toward the player's y
constexpr int KNIGHT_TEXTURE = 3;
constexpr float KNIGHT_DRAW_SCALE = 2.5f;  // the 16 x 16 cell covers the 40 x 40 box

// Knights and charging clerks only ever walk left, so once past the left edge they never come
// back. Santa's box never lies left of x 7: Santa dies and loses its box as soon as its x drops
// below 0, and the box is at x + 7. An arrow's box starts at least 30 (fired at x + 35 from at
// worst one step past 0) and flies right. A walker whose box and picture (40 wide) both start at
// or left of this x ends by x -11, and a homing shot a clerk still fires from there (at x + 35,
// 16 wide) is boxed and drawn left of 0 and ends in its first move. Nothing it does can be seen
// or touch the player again, so it leaves for good instead of piling up in the task list.
constexpr float WALKER_GONE_X = -51.0f;

// True when a walker's recorded box and its picture at pos are both past WALKER_GONE_X.
bool WalkerGone(const HitObjClass& hit, const Vec3& pos);

class Knight : public NodeBaseClass, public HitObjClass {
public:
    void Init(Vec3 pos);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Knight"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
};
