#include "enemies/knight.h"

void Knight::Init(Vec3 at) {
    priority = KNIGHT_PRIORITY;
    pos = at;
    CreateSingleBox(static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y), KNIGHT_BOX_SIZE,
                    KNIGHT_BOX_SIZE, HIT_GROUP_ENEMY);
}

void Knight::Update() {
    if (IsHit(0)) {
        Perish(*this, *this, pos);
    }

    // Recorded before the move: the box stands where the knight began the frame.
    SetBoxPos(0, static_cast<int32_t>(pos.x), static_cast<int32_t>(pos.y));

    ChargeStep(pos);

    if (WalkerGone(*this, pos)) {
        RemoveBox(0);
        state = TASK_DEAD;
    }
}

void Knight::Draw() {
    const Rect src{0, 0, 16, 16};
    DrawSprite(TEX_KNIGHT, &src, pos, COLOR_WHITE, KNIGHT_DRAW_SCALE);
}

void Knight::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
}
