#include "enemies/townsfolk.h"

#include "game/globals.h"
#include "player/bakuani.h"
#include "shell/sound.h"

void Perish(NodeBaseClass& task, HitObjClass& hit, const Vec3& pos) {
    Spawn<BakuAni>(pos.x, pos.y, pos.z);
    PlaySound(g_deathSound);
    hit.RemoveBox(0);
    task.state = TASK_DEAD;
}

void ChargeStep(Vec3& pos) {
    pos.x -= CHARGE_SPEED;
    if (pos.x <= CHARGE_HOMING_X) {
        if (g_santaPos.y >= pos.y) {
            pos.y += CHARGE_STEER;
        } else {
            pos.y -= CHARGE_STEER;
        }
        pos.x -= CHARGE_SPEED;
    }
}

bool WalkerGone(const HitObjClass& hit, const Vec3& pos) {
    const HitBox* box = hit.Box(0);
    return box != nullptr && box->x <= WALKER_GONE_X && pos.x <= WALKER_GONE_X;
}
