// What the townsfolk share: dying in an explosion with the frame's death sound, charging at the
// player's height, and leaving for good once far past the left edge.
#pragma once

#include "player/bullet.h"
#include "player/ya.h"
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
// back. Santa's box never lies left of x 0 plus its box offset (Santa dies and loses its box as
// soon as its x drops below 0), nor an arrow's left of the spawn offset less one step. A homing
// shot a clerk still fires from this x (at the spawn offset, a bullet box wide) is boxed and
// drawn left of 0 and ends in its first move, and the walker's own box and picture (40 wide)
// lie left of 0 as well. Nothing it does can be seen or touch the player again, so it leaves
// for good instead of piling up in the task list.
constexpr float WALKER_GONE_X = -(BULLET_SPAWN_DX + BULLET_BOX_SIZE);
constexpr float WALKER_WIDTH = 40.0f;
static_assert(WALKER_GONE_X + WALKER_WIDTH <= 0.0f, "a walker this far left must be off screen");

// True when a walker's recorded box and its picture at pos are both past WALKER_GONE_X.
bool WalkerGone(const HitObjClass& hit, const Vec3& pos);
