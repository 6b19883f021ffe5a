#include "player/fukki.h"

#include "player/santa.h"

void Fukki::Init() {
    priority = FUKKI_PRIORITY;
    pos = Vec3{FUKKI_START_X, SANTA_START_Y, 0.0f};
}

void Fukki::Update() {
    pos.x += FUKKI_SPEED;
    if (pos.x >= SANTA_START_X) {
        state = TASK_DEAD;
        Spawn<Santa>();
    }
}

void Fukki::Draw() {
    const Rect src{0, 0, 16, 16};
    DrawSprite(TEX_FUKKI, &src, pos, COLOR_WHITE, FUKKI_DRAW_SCALE);
}

void Fukki::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
}
