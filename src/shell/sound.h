// The sound service: 16 slots played once or looped as overlapping instances.
#pragma once

#include <cstdint>
#include <vector>

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

// The calls the game made to this service (PlaySound, PlaySoundLoop, StopSound, StopAllSounds,
// UnloadSound with their slot, -1 for StopAllSounds), kept while the log is on: for the trace.
struct SoundCall {
    const char* call;
    int32_t slot;
};
void KeepSoundCallLog(bool on);
std::vector<SoundCall> TakeSoundCallLog();
