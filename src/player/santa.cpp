#include "player/santa.h"

#include "game/globals.h"
#include "player/bakuani.h"
#include "player/fukki.h"
#include "player/ya.h"
#include "shell/input.h"
#include "shell/sound.h"

namespace {

Rect Cell(int32_t n) {
    return Rect{16 * n, 0, 16 * n + 16, 16};
}

}  // namespace

void Santa::Init() {
    animTimer = 0;
    priority = SANTA_PRIORITY;
    animFrame = 0;
    srcRect = Cell(0);
    pos = Vec3{SANTA_START_X, SANTA_START_Y, 0.0f};
    CreateSingleBox(static_cast<int32_t>(pos.x) + SANTA_BOX_DX,
                    static_cast<int32_t>(pos.y) + SANTA_BOX_DY, SANTA_BOX_W, SANTA_BOX_H,
                    HIT_GROUP_SANTA);
    shotCooldown = 0;
    g_santaPos = pos;
    invincible = 1;
    invincibleTimer = 0;
}

void Santa::Update() {
    if (invincibleTimer < INVINCIBLE_TIMER_MAX) ++invincibleTimer;
    if (invincibleTimer > INVINCIBLE_FRAMES) invincible = 0;

    // One death per update at most: a second cause would leave a second explosion, take a
    // second life and bring back a second Santa.
    bool died = false;
    if (IsHit(0) && !invincible) {
        KillSanta(true);
        died = true;
    }

    // The box follows the position from before this update's movement.
    SetBoxPos(0, static_cast<int32_t>(pos.x) + SANTA_BOX_DX,
              static_cast<int32_t>(pos.y) + SANTA_BOX_DY);

    if (KeyHeld(DIK_RIGHT)) pos.x += SANTA_SPEED;
    if (KeyHeld(DIK_LEFT)) pos.x -= SANTA_SPEED;
    if (KeyHeld(DIK_UP)) pos.y -= SANTA_SPEED;
    if (KeyHeld(DIK_DOWN)) pos.y += SANTA_SPEED;

    if (!died) {
        if (pos.x >= SANTA_LIMIT_X || pos.x < 0.0f || pos.y >= SANTA_LIMIT_Y || pos.y < 0.0f) {
            KillSanta(false);
        }
    }

    // A dying Santa still fires its last arrow.
    if (KeyHeld(DIK_SPACE) && shotCooldown == 0) {
        Spawn<Ya>(pos.x, pos.y, pos.z);
        PlaySound(SND_SHOT);
        shotCooldown = SHOT_INTERVAL;
    }
    if (shotCooldown > 0) --shotCooldown;

    g_santaPos = pos;

    // The cell is taken before the counters advance, so each shows for a full 5 updates.
    srcRect = Cell(animFrame);
    if (++animTimer >= SANTA_ANIM_TICKS) {
        animTimer = 0;
        if (++animFrame >= SANTA_ANIM_CELLS) animFrame = 0;
    }
}

void Santa::KillSanta(bool withSound) {
    Spawn<BakuAni>(pos.x + SANTA_EXPLOSION_DX, pos.y, 0.0f);
    if (withSound) PlaySound(SND_HIT);
    RemoveBox(0);
    state = TASK_DEAD;
    --g_lives;
    if (g_lives >= 1) {
        Spawn<Fukki>();
    }
}

void Santa::Draw() {
    // Blinks while invincible; also shows in the frame it was created in (timer 0).
    if (invincible && invincibleTimer % SANTA_BLINK != 0) return;
    DrawSprite(TEX_SANTA, &srcRect, pos, COLOR_WHITE, SANTA_DRAW_SCALE);
}

void Santa::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
    out.Int("shotCooldown", shotCooldown);
    out.Int("animFrame", animFrame);
    out.Rect("srcRect", srcRect.left, srcRect.top, srcRect.right, srcRect.bottom);
    out.Int("animTimer", animTimer);
    out.Int("invincible", invincible);
    out.Int("invincibleTimer", invincibleTimer);
}
