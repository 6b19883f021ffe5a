// The boss: 50 life points over three phases, a guard after each damaging hit, and a steady
// stream of reinforcements; its defeat clears the stage.
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

constexpr int32_t BOSS_PRIORITY = 7;
constexpr int32_t BOSS_BOX_SIZE = 64;
constexpr int32_t BOSS_LIFE = 50;
constexpr int32_t BOSS_PHASE2_LIFE = 30;  // phase 1 above this
constexpr int32_t BOSS_PHASE3_LIFE = 10;  // phase 2 above this, phase 3 at or below
constexpr float BOSS_TOP = 0.0f;          // the vertical band, clamped at both edges
constexpr float BOSS_BOTTOM = 568.0f;
constexpr int32_t BOSS_SWEEP_STEP = 5;       // phase 1: vy times this per frame
constexpr int32_t BOSS_FIRE_HEIGHT = 16;     // phase 1 fires on multiples of this height
constexpr int32_t BOSS_SPEED_CAP = 25;       // phase 2: a speed this large collapses to 0
constexpr int32_t BOSS_FAST_SWEEP = 10;      // phase 3 vertical speed
constexpr float BOSS_DRIFT_LEFT_X = 250.0f;  // phase 3 drifts between these
constexpr float BOSS_DRIFT_RIGHT_X = 580.0f;
constexpr int32_t BOSS_VOLLEY_SPACING = 60;  // phases 2 and 3: homing and two bouncing
constexpr int32_t BOSS_PLAIN_SPACING = 70;   // phase 3: one plain bullet
constexpr int32_t BOSS_START_GUARD = 18;
constexpr int32_t BOSS_GUARD = 30;  // frames of protection after a damaging hit
constexpr int32_t BOSS_TENIN_SPACING = 1500;
constexpr int32_t BOSS_NOMIN_SPACING = 1000;
constexpr int32_t BOSS_KNIGHT_SPACING = 200;
constexpr Vec3 BOSS_TENIN_AT = {500.0f, 300.0f, 0.0f};
constexpr Vec3 BOSS_NOMIN_AT = {750.0f, 200.0f, 0.0f};
constexpr Vec3 BOSS_KNIGHT_AT = {1700.0f, 300.0f, 0.0f};
constexpr float BOSS_DRAW_SCALE = 2.0f;

class Boss : public NodeBaseClass, public HitObjClass {
public:
    void Init(Vec3 pos);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Boss"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
    int32_t vy = 0;
    int32_t ay = 0;
    int32_t life = 0;
    int32_t bossTimer = 0;
    int32_t sweepSpeed = 0;
    uint8_t movingLeft = 0;
    int32_t guardTimer = 0;
    uint8_t isGuarded = 0;

private:
    void SweepStraight();
    void SurgingBob();
    void FastSweep();
    void FireVolley();
    void CallReinforcements();
};
