#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <vector>

#include "platform/common/limiter.h"
#include "platform/common/sdl_sound.h"

namespace plat {
namespace {

bool g_open = false;
std::vector<Mix_Chunk*> g_chunks;
int g_channels = 32;
constexpr int MAX_CHANNELS = 256;
// Channels mix at an eighth of full volume, so the sum keeps headroom; the limiter makes it up.
constexpr int CHANNEL_VOLUME = MIX_MAX_VOLUME / 8;
constexpr double MAKEUP_GAIN = 8.0;
float g_master = 1.0f;
bool g_muted = false;

// Every channel at the game's level times the player's volume; new channels start at full.
void ApplyVolume() {
    if (g_open) Mix_Volume(-1, g_muted ? 0 : static_cast<int>(CHANNEL_VOLUME * g_master + 0.5f));
}

void LimitMix(void* /*udata*/, Uint8* stream, int bytes) {
    auto* samples = reinterpret_cast<Sint16*>(stream);
    for (int i = 0; i < bytes / 2; ++i) samples[i] = common::LimitSample(samples[i] * MAKEUP_GAIN);
}

}  // namespace

bool OpenAudio(int slots) {
    g_chunks.assign(static_cast<size_t>(slots), nullptr);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {  // the format LimitMix expects
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    g_channels = Mix_AllocateChannels(32);
    Mix_SetPostMix(LimitMix, nullptr);
    g_open = true;
    ApplyVolume();
    return true;
}

void CloseAudio() {
    if (g_open) Mix_HaltChannel(-1);
    for (Mix_Chunk*& chunk : g_chunks) {
        if (chunk != nullptr) Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    if (g_open) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_open = false;
}

bool LoadSlot(int slot, const char* path) {
    if (slot < 0 || slot >= static_cast<int>(g_chunks.size())) return false;
    if (!g_open) return false;
    g_chunks[slot] = common::LoadChunk(path);
    return g_chunks[slot] != nullptr;
}

void UnloadSlot(int slot) {
    if (slot < 0 || slot >= static_cast<int>(g_chunks.size()) || g_chunks[slot] == nullptr) return;
    StopSlot(slot);
    Mix_FreeChunk(g_chunks[slot]);
    g_chunks[slot] = nullptr;
}

void PlaySlot(int slot, bool loop) {
    if (!g_open || slot < 0 || slot >= static_cast<int>(g_chunks.size())) return;
    Mix_Chunk* chunk = g_chunks[slot];
    if (chunk == nullptr) return;
    // Every sound is its own instance: when all channels are busy, make more rather than drop it.
    while (Mix_PlayChannel(-1, chunk, loop ? -1 : 0) < 0) {
        if (g_channels >= MAX_CHANNELS) return;
        g_channels =
            Mix_AllocateChannels(g_channels * 2 > MAX_CHANNELS ? MAX_CHANNELS : g_channels * 2);
        ApplyVolume();
    }
}

void StopSlot(int slot) {
    if (!g_open || slot < 0 || slot >= static_cast<int>(g_chunks.size())) return;
    Mix_Chunk* chunk = g_chunks[slot];
    if (chunk == nullptr) return;
    for (int ch = 0; ch < g_channels; ++ch) {
        if (Mix_Playing(ch) && Mix_GetChunk(ch) == chunk) Mix_HaltChannel(ch);
    }
}

void StopAllSlots() {
    if (g_open) Mix_HaltChannel(-1);
}

void SetMasterVolume(float volume) {
    g_master = volume < 0.0f ? 0.0f : (volume > 1.0f ? 1.0f : volume);
    ApplyVolume();
}

void SetMuted(bool muted) {
    g_muted = muted;
    ApplyVolume();
}

void PauseAudio(bool paused) {
    if (!g_open) return;
    if (paused) {
        Mix_Pause(-1);
    } else {
        Mix_Resume(-1);
    }
}

}  // namespace plat
