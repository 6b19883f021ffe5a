#include "scenes/gametime.h"

#include "game/globals.h"
#include "player/fukki.h"
#include "scenes/machi.h"
#include "scenes/timeline.h"
#include "shell/sound.h"

GameTime::~GameTime() {
    StopSound(SND_STAGE);
}

void GameTime::Init() {
    // Two copies 800 px apart scroll as one endless strip.
    Spawn<Machi>(Vec3{0, 0, 0});
    Spawn<Machi>(Vec3{800, 0, 0});

    stageFrame = 0;
    if (g_oneLifeMode == 0) {
        g_lives = STAGE_LIVES;
    } else if (g_oneLifeMode == 1) {
        g_lives = ONE_LIFE_LIVES;
    }
    PlaySoundLoop(SND_STAGE);
}

void GameTime::Update() {
    // From the frame count before this update's step, so the first update gives slot 2.
    g_deathSound = stageFrame % DEATH_SOUND_COUNT + SND_DEATH_0;
    ++stageFrame;

    if (stageFrame == ENTRY_FRAME) {
        Spawn<Fukki>();
    }
    RunTimeline(stageFrame);
}

void GameTime::Describe(TaskFields& out) const {
    out.Int("stageFrame", stageFrame);
}
