#include "enemies/tenin.h"

#include "enemies/townsfolk.h"
#include "game/globals.h"
#include "player/tekitama.h"
#include "player/tuibi.h"

void Tenin::Init(Vec3 at) {
    priority = TENIN_PRIORITY;
    pos = at;
    CreateSingleBox(static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y), TENIN_BOX_SIZE,
                    TENIN_BOX_SIZE, HIT_GROUP_ENEMY);
    isOpen = 0;
    openTimer = 0;
    isCharging = 0;
}

void Tenin::Update() {
    ++openTimer;

    // isOpen is still last frame's: the frame that opens it cannot yet be the frame it dies.
    if (IsHit(0) && isOpen == 1) {
        Perish(*this, *this, pos);
    } else if (IsHit(0) && isOpen == 0) {
        isCharging = 1;
    }

    if (isCharging == 0) {
        if (openTimer > TENIN_OPEN_AFTER) isOpen = 1;
        if (openTimer > TENIN_CLOSE_AFTER) {
            isOpen = 0;
            openTimer = 0;
        }
        // Runs after the death test, so a clerk dying on a volley frame still fires it.
        if (isOpen == 1 && openTimer % TENIN_VOLLEY_SPACING == 0) {
            Spawn<Tekitama>(pos.x, pos.y, pos.z);
            Spawn<tuibi>(pos.x, pos.y, pos.z);
        }
    }

    if (isCharging == 1) {
        ChargeStep(pos);
        if (openTimer % TENIN_CHARGE_SHOT_SPACING == 0) {
            Spawn<tuibi>(pos.x, pos.y, pos.z);
        }
    }

    SetBoxPos(0, static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y));

    if (isCharging == 1 && WalkerGone(*this, pos)) {
        RemoveBox(0);
        state = TASK_DEAD;
    }
}

void Tenin::Draw() {
    const Rect src{0, 0, 16, 16};
    DrawSprite(isOpen == 1 ? TEX_TENIN_OPEN : TEX_TENIN_CLOSED, &src, pos, COLOR_WHITE,
               TENIN_DRAW_SCALE);
}

void Tenin::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
    out.Int("openTimer", openTimer);
    out.Int("isOpen", isOpen);
    out.Int("isCharging", isCharging);
}
