#include "player/bullet.h"

void InitBullet(HitObjClass& hit, Vec3& pos, float x, float y, float z) {
    pos = Vec3{x + BULLET_SPAWN_DX, y + BULLET_SPAWN_DY, z};
    hit.CreateSingleBox(static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y), BULLET_BOX_SIZE,
                        BULLET_BOX_SIZE, HIT_GROUP_ENEMY);
}

bool MoveBulletBox(NodeBaseClass& task, HitObjClass& hit, const Vec3& pos) {
    // Bullets fly on through whatever they touch: the flag is read and nothing more.
    (void)hit.IsHit(0);
    hit.SetBoxPos(0, static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y));
    if (pos.x < 0.0f) {
        task.state = TASK_DEAD;
        hit.RemoveBox(0);
        return true;
    }
    return false;
}

void DrawBullet(const Vec3& pos) {
    const Rect src{0, 0, 16, 16};
    DrawSprite(TEX_BULLET, &src, pos, COLOR_WHITE);
}
