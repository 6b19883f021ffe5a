// What the three enemy bullets share: the box, the picture and the left-edge exit.
#pragma once

#include <cstdint>

#include "player/ya.h"  // the spawn offset, shared with the arrow
#include "shell/graphics.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

constexpr int32_t BULLET_BOX_SIZE = 16;

// Sets pos to the shooter's position plus the spawn offset and creates the enemy box there.
void InitBullet(HitObjClass& hit, Vec3& pos, float x, float y, float z);
// Places the box at pos; past the left edge the bullet ends. Returns true when it ended.
bool MoveBulletBox(NodeBaseClass& task, HitObjClass& hit, const Vec3& pos);
void DrawBullet(const Vec3& pos);
