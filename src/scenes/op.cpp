#include "scenes/op.h"

#include "game/globals.h"
#include "shell/input.h"
#include "shell/scenerequest.h"
#include "shell/sound.h"

void OP::Init() {
    priority = 0;
    backPos = Vec3{0, 0, 0};
    frontPos = Vec3{0, OP_FRONT_START_Y, 0};
    g_oneLifeMode = 0;
    PlaySound(SND_OPENING);
}

void OP::Update() {
    if (KeyHeld(DIK_SPACE)) g_oneLifeMode = 1;

    if (backPos.y == OP_BACK_END_Y || KeyHeld(DIK_RETURN)) {
        // Only a cut-short opening confirms with a sound.
        if (backPos.y != OP_BACK_END_Y) PlaySound(SND_HIT);
        state = TASK_DEAD;
        Spawn<Title>();
    }

    backPos.y -= OP_BACK_SPEED;
    frontPos.y -= OP_FRONT_SPEED;
}

void OP::Draw() {
    g_pSprite->SetTransform(MatrixIdentity());
    g_pSprite->Draw(TextureEntry(TEX_OP_BACK), nullptr, backPos, COLOR_WHITE);
    g_pSprite->Draw(TextureEntry(TEX_OP_FRONT), nullptr, frontPos, COLOR_WHITE);
}

void OP::Describe(TaskFields& out) const {
    out.Vec("backPos", backPos.x, backPos.y);
    out.Vec("frontPos", frontPos.x, frontPos.y);
}

// The opening music runs on under the title and ends with it.
Title::~Title() {
    StopSound(SND_OPENING);
}

void Title::Init() {
    brightness = 255;
    blinkTimer = 0;
    blinkSign = -1;
    blinkCount = 0;
}

void Title::Update() {
    if (++blinkTimer >= TITLE_BLINK_PERIOD) {
        blinkSign = -blinkSign;
        blinkTimer = 0;
        ++blinkCount;
    }

    if (KeyHeld(DIK_RETURN) && blinkCount > TITLE_LOCKED_BLINKS) {
        isStarting = 1;
        PlaySound(SND_HIT);
    }

    if (isStarting == 1) {
        brightness -= TITLE_FADE_STEP;
        if (brightness == 0) {
            state = TASK_DEAD;
            RequestScene(SCENE_GAMETIME);
        }
    }
}

// No transform of its own: the opening's identity is still in force.
void Title::Draw() {
    const Color fade = FadeColor(brightness);
    const Vec3 origin{0, 0, 0};
    g_pSprite->Draw(TextureEntry(TEX_TITLE), nullptr, origin, fade);
    if (blinkSign == 1 || isStarting == 1) {
        g_pSprite->Draw(TextureEntry(TEX_TITLE_PROMPT), &TITLE_PROMPT_RECT, TITLE_PROMPT_POS, fade);
    }
}

void Title::Describe(TaskFields& out) const {
    out.Int("brightness", brightness);
    out.Int("isStarting", isStarting);
    out.Int("blinkTimer", blinkTimer);
    out.Int("blinkSign", blinkSign);
    out.Int("blinkCount", blinkCount);
}
