// The aimed enemy bullet: heads for where Santa was when it was fired, and never turns.
#pragma once

#include <cstdint>

#include "player/bullet.h"

constexpr float TUIBI_SPEED = 5.0f;
constexpr int32_t TUIBI_PRIORITY = 6;

// Where the boxes of Santa and of its arrows can ever be (exclusive right and bottom, inclusive
// top). Santa's box follows a position with 0 <= x < 790 and 0 <= y < 568, so it lies in
// [7, 812) x [20, 619); an arrow starts from a position up to one 5 px step beyond those limits
// (Santa still fires in the update it dies) plus (35, 30), so its box lies in [30, 845) x
// [25, 618), and it only moves right until it passes 800.
constexpr int32_t PLAYER_REACH_RIGHT = 845;
constexpr int32_t PLAYER_REACH_TOP = 20;
constexpr int32_t PLAYER_REACH_BOTTOM = 619;
// The picture (16 x 16, unscaled) leaves the 800 x 600 screen here.
constexpr float SCREEN_RIGHT = 800.0f;
constexpr float SCREEN_BOTTOM = 600.0f;

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
