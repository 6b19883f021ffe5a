#include "player/tekitama.h"

void Tekitama::Init(float x, float y, float z) {
    priority = TEKITAMA_PRIORITY;
    InitBullet(*this, pos, x, y, z);
}

void Tekitama::Update() {
    pos.x -= TEKITAMA_SPEED;
    MoveBulletBox(*this, *this, pos);
}

void Tekitama::Draw() {
    DrawBullet(pos);
}

void Tekitama::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
}
