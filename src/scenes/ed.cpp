#include "scenes/ed.h"

#include "shell/input.h"
#include "shell/scenerequest.h"
#include "shell/sound.h"

ED::~ED() {
    StopSound(SND_ENDING);
}

void ED::Init() {
    priority = 0;
    upperPos = Vec3{0, 0, 0};
    lowerPos = Vec3{0, static_cast<float>(ED_UPPER_RECT.bottom), 0};
    PlaySound(SND_ENDING);
}

void ED::Update() {
    if (upperPos.y < ED_STOP_Y) {
        lowerPos.y = ED_LOWER_REST_Y;
    } else {
        upperPos.y -= ED_SCROLL_SPEED;
        lowerPos.y -= ED_SCROLL_SPEED;
    }

    if (KeyHeld(DIK_RETURN)) {
        state = TASK_DEAD;
        RequestScene(SCENE_OP);
    }
}

void ED::Draw() {
    g_pSprite->SetTransform(MatrixIdentity());
    g_pSprite->Draw(TextureEntry(TEX_ED_UPPER), &ED_UPPER_RECT, upperPos, COLOR_WHITE);
    g_pSprite->Draw(TextureEntry(TEX_ED_LOWER), &ED_LOWER_RECT, lowerPos, COLOR_WHITE);
}

void ED::Describe(TaskFields& out) const {
    out.Vec("upperPos", upperPos.x, upperPos.y);
    out.Vec("lowerPos", lowerPos.x, lowerPos.y);
}
