#include "player/hanetama.h"

void HaneTama::Init(float x, float y, float z, int direction) {
    priority = HANETAMA_PRIORITY;
    vy = direction * HANETAMA_SPEED_Y;
    InitBullet(*this, pos, x, y, z);
}

void HaneTama::Update() {
    pos.x -= HANETAMA_SPEED_X;
    pos.y += static_cast<float>(vy);
    if (pos.y < HANETAMA_TOP) {
        pos.y = HANETAMA_TOP;
        vy = -vy;
    } else if (pos.y > HANETAMA_BOTTOM) {
        pos.y = HANETAMA_BOTTOM;
        vy = -vy;
    }
    MoveBulletBox(*this, *this, pos);
}

void HaneTama::Draw() {
    DrawBullet(pos);
}

void HaneTama::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
    out.Int("vy", vy);
}
