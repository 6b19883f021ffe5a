#include "shell/sound.h"

#include <cstdio>

#include "platform/audio.h"
#include "shell/assetdir.h"

int32_t g_segmentCount = 0;

namespace {

bool g_tableMade = false;
bool g_audioOpen = false;
bool g_logCalls = false;
std::vector<SoundCall> g_callLog;

bool InTable(int32_t slot) {
    return g_tableMade && slot >= 0 && slot < g_segmentCount;
}

void Log(const char* call, int32_t slot) {
    if (g_logCalls) g_callLog.push_back({call, slot});
}

}  // namespace

void InitSound() {
    g_audioOpen = plat::OpenAudio(SOUND_COUNT);
    if (!g_audioOpen) std::fprintf(stderr, "tinselrun: no audio device, playing on silently\n");
}

int32_t CreateSoundTable(int32_t count) {
    if (g_tableMade) return 0;
    g_segmentCount = count;
    g_tableMade = true;
    return count;
}

int32_t LoadSound(const char* path, int32_t slot) {
    if (!InTable(slot)) return -1;
    if (g_audioOpen) {
        char full[1024];
        std::snprintf(full, sizeof full, "%s/%s", AssetDir(), path);
        plat::LoadSlot(slot, full);
    }
    return 0;
}

void LoadSounds() {
    CreateSoundTable(SOUND_COUNT);
    for (int32_t i = 0; i < SOUND_COUNT; ++i) LoadSound(SoundFile(i).c_str(), i);
}

int32_t PlaySound(int32_t slot) {
    if (!InTable(slot)) return -1;
    Log("PlaySound", slot);
    plat::PlaySlot(slot, false);
    return 0;
}

int32_t PlaySoundLoop(int32_t slot) {
    if (!InTable(slot)) return -1;
    Log("PlaySoundLoop", slot);
    plat::PlaySlot(slot, true);
    return 0;
}

void StopSound(int32_t slot) {
    if (!InTable(slot)) return;
    Log("StopSound", slot);
    plat::StopSlot(slot);
}

void StopAllSounds() {
    Log("StopAllSounds", -1);
    plat::StopAllSlots();
}

void UnloadSound(int32_t slot) {
    if (!InTable(slot)) return;
    Log("UnloadSound", slot);
    plat::UnloadSlot(slot);
}

void ReleaseSound() {
    plat::CloseAudio();
    g_tableMade = false;
    g_segmentCount = 0;
    g_audioOpen = false;
}

void KeepSoundCallLog(bool on) {
    g_logCalls = on;
    g_callLog.clear();
}

std::vector<SoundCall> TakeSoundCallLog() {
    std::vector<SoundCall> calls;
    calls.swap(g_callLog);
    return calls;
}
