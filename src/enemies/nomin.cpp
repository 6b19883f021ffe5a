#include "enemies/nomin.h"

#include "enemies/townsfolk.h"
#include "game/globals.h"
#include "player/tekitama.h"
#include "player/tuibi.h"
#include "shell/sound.h"

void Nomin::Init(Vec3 at) {
    priority = NOMIN_PRIORITY;
    pos = at;
    vy = 1;
    ay = 1;
    CreateSingleBox(static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y), NOMIN_BOX_SIZE,
                    NOMIN_BOX_SIZE, HIT_GROUP_ENEMY);
}

void Nomin::Update() {
    // Tested before the move and never clamped: it swings past the line and comes back.
    if (pos.y <= NOMIN_TOP || pos.y >= NOMIN_BOTTOM) {
        vy = -vy;
        ay = -ay;
    }

    pos.y += static_cast<float>(vy);
    vy += ay;
    if (vy >= NOMIN_SPEED_CAP || vy <= -NOMIN_SPEED_CAP) vy = 0;

    if (static_cast<int32_t>(pos.y) % NOMIN_FIRE_SPACING == 0) {
        Spawn<Tekitama>(pos.x, pos.y, pos.z);
        Spawn<tuibi>(pos.x, pos.y, pos.z);
    }

    if (IsHit(0)) {
        Perish(*this, *this, pos);
    }

    SetBoxPos(0, static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y));
}

void Nomin::Draw() {
    const Rect src{0, 0, 32, 32};
    DrawSprite(TEX_NOMIN, &src, pos, COLOR_WHITE);
}

void Nomin::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
    out.Int("vy", vy);
    out.Int("ay", ay);
}
