#include "enemies/boss.h"

#include "enemies/knight.h"
#include "enemies/nomin.h"
#include "enemies/tenin.h"
#include "game/globals.h"
#include "player/bakuani.h"
#include "player/hanetama.h"
#include "player/tekitama.h"
#include "player/tuibi.h"
#include "shell/sound.h"

namespace {

// Clamps y into the band when it is on or past an edge; true when it was, so the caller turns.
bool ClampToBand(float& y) {
    if (!(y <= BOSS_TOP || y >= BOSS_BOTTOM)) return false;
    y = y <= BOSS_TOP ? BOSS_TOP : BOSS_BOTTOM;
    return true;
}

}  // namespace

void Boss::Init(Vec3 at) {
    priority = BOSS_PRIORITY;
    pos = at;
    vy = 1;
    ay = 1;
    guardTimer = BOSS_START_GUARD;
    isGuarded = 0;
    life = BOSS_LIFE;
    movingLeft = 1;
    sweepSpeed = BOSS_FAST_SWEEP;
    CreateSingleBox(static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y), BOSS_BOX_SIZE,
                    BOSS_BOX_SIZE, HIT_GROUP_ENEMY);
    bossTimer = 0;
}

void Boss::Update() {
    ++bossTimer;

    // The phase goes by the life left before this frame's hit is counted.
    if (life > BOSS_PHASE2_LIFE) {
        SweepStraight();
    } else if (life > BOSS_PHASE3_LIFE) {
        SurgingBob();
    } else if (life >= 0) {
        FastSweep();
    }

    if (IsHit(0)) {
        // Guarded or not, every hit shows and sounds.
        Spawn<BakuAni>(pos.x, pos.y, pos.z);
        PlaySound(SND_BOSS_HIT);
        if (isGuarded == 0) {
            --life;
            guardTimer = BOSS_GUARD;
        }
        if (life <= 0) {
            g_stageClear = 1;
            RemoveBox(0);
            state = TASK_DEAD;
        }
    }

    if (guardTimer > 0) {
        isGuarded = 1;
        --guardTimer;
    } else {
        isGuarded = 0;
    }

    SetBoxPos(0, static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y));

    // Also in the frame of the defeat.
    CallReinforcements();
}

void Boss::SweepStraight() {
    if (ClampToBand(pos.y)) vy = -vy;
    pos.y += static_cast<float>(vy * BOSS_SWEEP_STEP);
    if (static_cast<int32_t>(pos.y) % BOSS_FIRE_HEIGHT == 0) {
        Spawn<Tekitama>(pos.x, pos.y, pos.z);
    }
}

void Boss::SurgingBob() {
    if (ClampToBand(pos.y)) {
        vy = -vy;
        ay = -ay;
    }
    pos.y += static_cast<float>(vy);
    vy += ay;
    if (vy >= BOSS_SPEED_CAP || vy <= -BOSS_SPEED_CAP) vy = 0;
    if (bossTimer % BOSS_VOLLEY_SPACING == 0) FireVolley();
}

void Boss::FastSweep() {
    if (ClampToBand(pos.y)) sweepSpeed = -sweepSpeed;
    pos.y += static_cast<float>(sweepSpeed);
    if (movingLeft == 1) {
        pos.x -= 1.0f;
        if (pos.x <= BOSS_DRIFT_LEFT_X) movingLeft = 0;
    } else {
        pos.x += 1.0f;
        if (pos.x >= BOSS_DRIFT_RIGHT_X) movingLeft = 1;
    }
    if (bossTimer % BOSS_VOLLEY_SPACING == 0) FireVolley();
    if (bossTimer % BOSS_PLAIN_SPACING == 0) {
        Spawn<Tekitama>(pos.x, pos.y, pos.z);
    }
}

void Boss::FireVolley() {
    Spawn<tuibi>(pos.x, pos.y, pos.z);
    Spawn<HaneTama>(pos.x, pos.y, pos.z, -1);
    Spawn<HaneTama>(pos.x, pos.y, pos.z, +1);
}

void Boss::CallReinforcements() {
    if (bossTimer % BOSS_TENIN_SPACING == 0) {
        Spawn<Tenin>(BOSS_TENIN_AT);
    }
    if (bossTimer % BOSS_NOMIN_SPACING == 0) {
        Spawn<Nomin>(BOSS_NOMIN_AT);
    }
    if (bossTimer % BOSS_KNIGHT_SPACING == 0) {
        Spawn<Knight>(BOSS_KNIGHT_AT);
    }
}

void Boss::Draw() {
    const Rect src{0, 0, 32, 32};
    DrawSprite(TEX_BOSS, &src, pos, COLOR_WHITE, BOSS_DRAW_SCALE);
}

void Boss::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
    out.Int("vy", vy);
    out.Int("ay", ay);
    out.Int("life", life);
    out.Int("bossTimer", bossTimer);
    out.Int("sweepSpeed", sweepSpeed);
    out.Int("movingLeft", movingLeft);
    out.Int("guardTimer", guardTimer);
    out.Int("isGuarded", isGuarded);
}
