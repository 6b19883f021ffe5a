// The sound service: 16 slots played once or looped as overlapping instances.
#pragma once

#include <cstdint>

#include "shell/catalog.h"

extern int32_t g_segmentCount;

void InitSound();
int32_t CreateSoundTable(int32_t count);
int32_t LoadSound(const char* path, int32_t slot);
void LoadSounds();
int32_t PlaySound(int32_t slot);
int32_t PlaySoundLoop(int32_t slot);
void StopSound(int32_t slot);
void StopAllSounds();
void UnloadSound(int32_t slot);
void ReleaseSound();
