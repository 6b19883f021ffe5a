#include "player/bakuani.h"

void BakuAni::Init(float x, float y, float /*z*/) {
    priority = BAKUANI_PRIORITY;
    animFrame = 0;
    pos = Vec3{x, y, 0.0f};
    animTimer = 0;
    srcRect = Rect{0, 0, 16, 16};
}

void BakuAni::Update() {
    // The cell is taken before the counters advance: the last one still shows when it ends.
    srcRect = Rect{16 * animFrame, 0, 16 * animFrame + 16, 16};
    if (++animTimer >= BAKUANI_CELL_TICKS) {
        ++animFrame;
        animTimer = 0;
    }
    if (animFrame >= BAKUANI_CELLS) {
        animFrame = 0;
        state = TASK_DEAD;
    }
}

void BakuAni::Draw() {
    DrawSprite(TEX_BAKUANI, &srcRect, pos, COLOR_WHITE, BAKUANI_DRAW_SCALE);
}

void BakuAni::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
    out.Int("animFrame", animFrame);
    out.Rect("srcRect", srcRect.left, srcRect.top, srcRect.right, srcRect.bottom);
    out.Int("animTimer", animTimer);
}
