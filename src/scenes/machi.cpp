#include "scenes/machi.h"

#include "game/globals.h"
#include "shell/scenerequest.h"

void Machi::Init(Vec3 position) {
    priority = 0;
    pos.x = position.x;
    pos.y = position.y;
    pos.z = 0;
    brightness = 0;
    endTimer = 0;
    g_stageClear = 0;
}

void Machi::Update() {
    // Test before the step, so a copy shows from 795 down to -800 and the pair stays 800 apart.
    if (pos.x <= MACHI_WRAP_AT) pos.x = MACHI_WRAP_TO;
    pos.x -= MACHI_SCROLL_SPEED;

    if (g_lives == 0 || g_stageClear == 1) {
        if (endTimer < MACHI_END_TIMER_MAX) ++endTimer;
        if (endTimer > MACHI_END_WAIT && brightness > 0) {
            brightness -= MACHI_FADE_STEP;
            if (brightness <= MACHI_COVER_BRIGHTNESS) priority += MACHI_COVER_STEP;
            if (brightness == 0) {
                // No lives left wins over a defeated boss.
                if (g_lives == 0) {
                    state = TASK_DEAD;
                    RequestScene(SCENE_GAMEOVER);
                } else if (g_stageClear == 1) {
                    g_stageClear = 0;
                    state = TASK_DEAD;
                    RequestScene(SCENE_ED);
                }
            }
        }
    }

    if (g_lives >= 1 && g_stageClear == 0 && brightness < MACHI_FULL_BRIGHTNESS) {
        brightness += MACHI_FADE_STEP;
        priority = 0;
    }
}

void Machi::Draw() {
    DrawSprite(TEX_MACHI, nullptr, pos, FadeColor(brightness));
}

void Machi::Describe(TaskFields& out) const {
    out.Vec("pos", pos.x, pos.y);
    out.Int("brightness", brightness);
    out.Int("endTimer", endTimer);
}
