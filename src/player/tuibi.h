// The aimed enemy bullet: heads for where Santa was when it was fired, and never turns.
#pragma once

#include <algorithm>
#include <cstdint>

#include "player/bullet.h"
#include "player/santa.h"
#include "player/ya.h"

constexpr float TUIBI_SPEED = 5.0f;
constexpr int32_t TUIBI_PRIORITY = 6;

// Where the boxes of Santa and of its arrows can ever be (exclusive right and bottom, inclusive
// top). Boxes take positions truncated, so a position below a whole limit L gives at most L - 1.
// Santa's box follows a position at or above 0 and below Santa's limits; an arrow starts from a
// position up to one step beyond them (Santa still fires in the update it dies) plus the spawn
// offset, and only moves right until it passes the screen's edge.
constexpr int32_t SANTA_REACH_RIGHT = int32_t(SANTA_LIMIT_X) - 1 + SANTA_BOX_DX + SANTA_BOX_W;
constexpr int32_t SANTA_REACH_BOTTOM = int32_t(SANTA_LIMIT_Y) - 1 + SANTA_BOX_DY + SANTA_BOX_H;
constexpr int32_t YA_REACH_RIGHT =
    int32_t(SANTA_LIMIT_X + SANTA_SPEED + BULLET_SPAWN_DX) - 1 + YA_BOX_SIZE;
constexpr int32_t YA_REACH_TOP = int32_t(BULLET_SPAWN_DY - SANTA_SPEED);
constexpr int32_t YA_REACH_BOTTOM =
    int32_t(SANTA_LIMIT_Y + SANTA_SPEED + BULLET_SPAWN_DY) - 1 + YA_BOX_SIZE;
constexpr int32_t PLAYER_REACH_RIGHT = std::max(SANTA_REACH_RIGHT, YA_REACH_RIGHT);
constexpr int32_t PLAYER_REACH_TOP = std::min(SANTA_BOX_DY, YA_REACH_TOP);
constexpr int32_t PLAYER_REACH_BOTTOM = std::max(SANTA_REACH_BOTTOM, YA_REACH_BOTTOM);
// The picture (16 x 16, unscaled) leaves the screen here.
constexpr float SCREEN_RIGHT = SCREEN_WIDTH;
constexpr float SCREEN_BOTTOM = SCREEN_HEIGHT;

class tuibi : public NodeBaseClass, public HitObjClass {
public:
    void Init(float x, float y, float z);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "tuibi"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
    Vec3 target;
    float angle = 0.0f;
};

// True when a bullet at pos moving by (dx, dy) per update can never again touch Santa or an
// arrow, nor show: beyond the players' reach and off screen on one axis, and moving away on it.
bool TuibiGoneForGood(const Vec3& pos, float dx, float dy);
