#include "enemies/knight.h"

#include "game/globals.h"
#include "player/bakuani.h"
#include "shell/sound.h"

bool WalkerGone(const HitObjClass& hit, const Vec3& pos) {
    const HitBox* box = hit.Box(0);
    return box != nullptr && box->x <= WALKER_GONE_X && pos.x <= WALKER_GONE_X;
}

void Knight::Init(Vec3 at) {
    priority = KNIGHT_PRIORITY;
    pos = at;
    AllocBoxes(1);
    CreateBox(0, static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y), KNIGHT_BOX_SIZE,
              KNIGHT_BOX_SIZE);
    SetBoxInfo(0, 0, HIT_GROUP_ENEMY, 0);
}

void Knight::Update() {
    if (IsHit(0)) {
        auto* boom = new BakuAni;
        boom->Init(pos.x, pos.y, pos.z);
        AddTask(boom);
        PlaySound(g_deathSound);
        RemoveBox(0);
        state = TASK_DEAD;
    }

    // Recorded before the move: the box stands where the knight began the frame.
    SetBoxPos(0, static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y));

    pos.x -= KNIGHT_SPEED;
    if (pos.x <= KNIGHT_HOMING_X) {
        // Equal heights count as below, so it zigzags around the player's height.
        if (g_santaPos.y >= pos.y) {
            pos.y += KNIGHT_STEER;
        } else {
            pos.y -= KNIGHT_STEER;
        }
        pos.x -= KNIGHT_SPEED;
    }

    if (WalkerGone(*this, pos)) {
        RemoveBox(0);
        state = TASK_DEAD;
    }
}

void Knight::Draw() {
    const Rect src{0, 0, 16, 16};
    DrawSprite(KNIGHT_TEXTURE, &src, pos, COLOR_WHITE, KNIGHT_DRAW_SCALE);
}

void Knight::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
}
