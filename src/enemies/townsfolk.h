// What the townsfolk share: dying in an explosion with the frame's death sound, charging at the
// player's height, and leaving for good once far past the left edge.
#pragma once

#include "shell/graphics.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

// Explosion at pos, the death sound g_deathSound holds now, box gone, task dead.
void Perish(NodeBaseClass& task, HitObjClass& hit, const Vec3& pos);

// One step to the left; at or past the homing line a second one, and a step towards the
// player's height (equal heights count as below, so it zigzags around it).
constexpr float CHARGE_SPEED = 5.0f;
constexpr float CHARGE_HOMING_X = 400.0f;
constexpr float CHARGE_STEER = 3.0f;
void ChargeStep(Vec3& pos);

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
