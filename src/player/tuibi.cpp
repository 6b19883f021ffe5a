#include "player/tuibi.h"

#include <cmath>

#include "game/globals.h"

void tuibi::Init(float x, float y, float z) {
    priority = TUIBI_PRIORITY;
    InitBullet(*this, pos, x, y, z);
    target = Vec3{g_santaPos.x, g_santaPos.y, 0.0f};
    // Corner to corner; with both differences 0 the heading is 0, to the right.
    const float dx = target.x - pos.x;
    const float dy = target.y - pos.y;
    angle = static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)));
}

void tuibi::Update() {
    const float dx = static_cast<float>(TUIBI_SPEED * std::cos(static_cast<double>(angle)));
    const float dy = static_cast<float>(TUIBI_SPEED * std::sin(static_cast<double>(angle)));
    pos.x += dx;
    pos.y += dy;
    if (MoveBulletBox(*this, *this, pos)) return;
    // One aimed up, down or right never reaches the left edge; left alone it would fly forever
    // and, with enough of them, fill the task list so that not even a revival could be made.
    if (TuibiGoneForGood(pos, dx, dy)) {
        state = TASK_DEAD;
        RemoveBox(0);
    }
}

bool TuibiGoneForGood(const Vec3& pos, float dx, float dy) {
    // Its heading never changes, so a bullet moving away on an axis never comes back on it.
    // Beyond the players' reach on that axis its box can never again overlap theirs, and with
    // its picture off screen there as well nothing that ends it here could be seen or felt.
    const int32_t bx = static_cast<int32_t>(pos.x);
    const int32_t by = static_cast<int32_t>(pos.y);
    const float size = static_cast<float>(BULLET_BOX_SIZE);
    if (dx > 0.0f && bx >= PLAYER_REACH_RIGHT && pos.x >= SCREEN_RIGHT) return true;
    if (dy < 0.0f && by + BULLET_BOX_SIZE <= PLAYER_REACH_TOP && pos.y + size <= 0.0f) return true;
    if (dy > 0.0f && by >= PLAYER_REACH_BOTTOM && pos.y >= SCREEN_BOTTOM) return true;
    return false;
}

void tuibi::Draw() {
    DrawBullet(pos);
}

void tuibi::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
    out.Vec("target", target.x, target.y);
    out.Float("angle", angle);
}
