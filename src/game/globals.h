// The state the stage's scenes and actors share: plain globals, touched only in the update pass.
#pragma once

#include <cstdint>

#include "shell/graphics.h"

extern int32_t g_lives;        // remaining lives; 0 ends the stage in the game-over scene
extern int32_t g_oneLifeMode;  // 1: the next run starts with one life
extern uint8_t g_stageClear;   // 1: the boss is defeated; the stage ends in the ending
extern int32_t g_deathSound;   // sound slot (2 to 11) of an enemy's death
extern Vec3 g_santaPos;        // the current Santa's position, kept after its death
