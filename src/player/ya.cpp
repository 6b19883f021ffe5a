#include "player/ya.h"

#include "shell/sound.h"

void Ya::Init(float x, float y, float z) {
    priority = YA_PRIORITY;
    pos = Vec3{x + BULLET_SPAWN_DX, y + BULLET_SPAWN_DY, z};
    CreateSingleBox(static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y), YA_BOX_SIZE,
                    YA_BOX_SIZE, HIT_GROUP_YA);
    // Judged on the shooter's x, not the arrow's.
    piercing = x >= PIERCE_X ? 1 : 0;
}

void Ya::Update() {
    pos.x += YA_SPEED;
    if (IsHit(0)) {
        PlaySound(SND_HIT);
        if (!piercing) {
            state = TASK_DEAD;
            RemoveBox(0);
        }
    }
    SetBoxPos(0, static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y));
    if (pos.x > YA_LIMIT_X) {
        state = TASK_DEAD;
        RemoveBox(0);
    }
}

void Ya::Draw() {
    const Rect src{0, 0, 16, 16};
    DrawSprite(TEX_YA, &src, pos, COLOR_WHITE);
}

void Ya::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
    out.Int("piercing", piercing);
}
