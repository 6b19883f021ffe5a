// The player character: moved by the arrow keys, fires arrows, dies on a touch or at an edge.
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

constexpr float SANTA_START_X = 100.0f;
constexpr float SANTA_START_Y = 300.0f;
constexpr float SANTA_SPEED = 5.0f;
constexpr int32_t SHOT_INTERVAL = 10;
constexpr int32_t INVINCIBLE_FRAMES = 100;
constexpr int32_t INVINCIBLE_TIMER_MAX = 110;  // the timer stops here
constexpr int32_t SANTA_PRIORITY = 30;

// Play area: a position must stay at or above 0 and below these.
constexpr float SANTA_LIMIT_X = 790.0f;
constexpr float SANTA_LIMIT_Y = 568.0f;

// The hit box, relative to the picture's top-left corner.
constexpr int32_t SANTA_BOX_DX = 7;
constexpr int32_t SANTA_BOX_DY = 20;
constexpr int32_t SANTA_BOX_W = 16;
constexpr int32_t SANTA_BOX_H = 32;

constexpr int32_t SANTA_ANIM_CELLS = 4;
constexpr int32_t SANTA_ANIM_TICKS = 5;  // updates per cell
constexpr int32_t SANTA_BLINK = 5;       // while invincible, shown when the timer is a multiple
constexpr float SANTA_DRAW_SCALE = 4.0f;
constexpr float SANTA_EXPLOSION_DX = -16.0f;

class Santa : public NodeBaseClass, public HitObjClass {
public:
    void Init();
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Santa"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
    int32_t shotCooldown = 0;
    int32_t animFrame = 0;
    Rect srcRect;
    int32_t animTimer = 0;
    uint8_t invincible = 0;
    int32_t invincibleTimer = 0;

private:
    // The death sequence; withSound for a touch, not for an edge.
    void KillSanta(bool withSound);
};
