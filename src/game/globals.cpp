#include "game/globals.h"

int32_t g_lives = 0;
int32_t g_oneLifeMode = 0;
uint8_t g_stageClear = 0;
int32_t g_deathSound = 0;
Vec3 g_santaPos;
