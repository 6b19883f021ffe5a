#include "scenes/gameover.h"

#include "shell/graphics.h"
#include "shell/input.h"
#include "shell/scenerequest.h"
#include "shell/sound.h"

GAMEOVER::~GAMEOVER() {
    StopSound(SND_GAMEOVER);
}

void GAMEOVER::Init() {
    priority = GAMEOVER_PRIORITY;
    brightness = 0;
    isFadedIn = 0;
    isLeaving = 0;
    PlaySound(SND_GAMEOVER);
}

void GAMEOVER::Update() {
    if (isFadedIn == 0) {
        if (brightness < GAMEOVER_FULL_BRIGHTNESS) {
            brightness += GAMEOVER_FADE_STEP;
        } else if (brightness == GAMEOVER_FULL_BRIGHTNESS) {
            isFadedIn = 1;
        }
    }

    // Remembered, so a tap during the fade-in still leaves once it is complete.
    if (KeyHeld(DIK_RETURN)) isLeaving = 1;

    if (isFadedIn == 1 && isLeaving == 1) {
        brightness -= GAMEOVER_FADE_STEP;
        if (brightness == 0) {
            state = TASK_DEAD;
            RequestScene(SCENE_OP);
        }
    }
}

// No transform of its own: the identity left by the town's last Draw is in force.
void GAMEOVER::Draw() {
    const Vec3 origin{0, 0, 0};
    g_pSprite->Draw(TextureEntry(TEX_GAMEOVER), nullptr, origin, FadeColor(brightness));
}

void GAMEOVER::Describe(TaskFields& out) const {
    out.Int("brightness", brightness);
    out.Int("isLeaving", isLeaving);
    out.Int("isFadedIn", isFadedIn);
}
