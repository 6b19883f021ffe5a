#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/common/limiter.h"
#include "platform/common/sdl_sound.h"
#include "platform/headless/headless.h"

namespace plat {
namespace {

constexpr int RATE = 44100;

// One played instance, placed on the virtual clock's time line in sample frames.
struct Instance {
    int slot;
    int64_t start;
    int64_t stop;  // -1 while it plays on
    bool loop;
};

bool g_open = false;
std::vector<Mix_Chunk*> g_chunks;
std::vector<headless::SoundCall> g_calls;
std::string g_capturePath;
std::vector<Instance> g_instances;
float g_master = 1.0f;
bool g_muted = false;
bool g_paused = false;

int64_t NowFrame() {
    return static_cast<int64_t>(ClockMs() * RATE / 1000.0);
}

void Log(const char* call, int slot) {
    g_calls.push_back({call, slot});
}

bool InTable(int slot) {
    return slot >= 0 && slot < static_cast<int>(g_chunks.size());
}

void EndInstances(int slot) {
    const int64_t now = NowFrame();
    for (Instance& i : g_instances) {
        if ((slot < 0 || i.slot == slot) && i.stop < 0) i.stop = now;
    }
}

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Mixes every instance into one stereo 16-bit track that ends at the clock's last time.
void WriteCapture() {
    const int64_t frames = std::max<int64_t>(NowFrame(), 0);
    std::vector<int32_t> mix(static_cast<size_t>(frames) * 2, 0);
    for (const Instance& i : g_instances) {
        const Mix_Chunk* chunk = g_chunks[i.slot];
        if (chunk == nullptr || chunk->alen < 4) continue;
        const auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
        const int64_t length = chunk->alen / 4;
        const int64_t end = i.stop >= 0 ? std::min(i.stop, frames) : frames;
        for (int64_t f = i.start; f < end; ++f) {
            int64_t at = f - i.start;
            if (at >= length) {
                if (!i.loop) break;
                at %= length;
            }
            mix[2 * f] += samples[2 * at];
            mix[2 * f + 1] += samples[2 * at + 1];
        }
    }
    std::vector<uint8_t> out;
    const uint32_t dataBytes = static_cast<uint32_t>(mix.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLe(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);
    PutLe(out, 2, 2);
    PutLe(out, RATE, 4);
    PutLe(out, RATE * 4, 4);
    PutLe(out, 4, 2);
    PutLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe(out, dataBytes, 4);
    for (int32_t s : mix) PutLe(out, static_cast<uint16_t>(common::LimitSample(s)), 2);
    FILE* file = std::fopen(g_capturePath.c_str(), "wb");
    if (file == nullptr || std::fwrite(out.data(), 1, out.size(), file) != out.size()) {
        std::fprintf(stderr, "tinselrun: %s: cannot write the captured sound\n",
                     g_capturePath.c_str());
    }
    if (file != nullptr) std::fclose(file);
}

}  // namespace

bool OpenAudio(int slots) {
    g_chunks.assign(static_cast<size_t>(slots), nullptr);
    g_instances.clear();
    // Sounds are decoded through the mixer, on a device that plays nothing; an audio driver
    // chosen in the environment is respected, so a broken one can be tried.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(RATE, AUDIO_S16LSB, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_Pause(-1);
    g_open = true;
    return true;
}

void CloseAudio() {
    if (g_open && !g_capturePath.empty()) WriteCapture();
    for (Mix_Chunk*& chunk : g_chunks) {
        if (chunk != nullptr) Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    if (g_open) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_open = false;
    g_instances.clear();
}

bool LoadSlot(int slot, const char* path) {
    if (!InTable(slot) || !g_open) return false;
    g_chunks[slot] = common::LoadChunk(path);
    return g_chunks[slot] != nullptr;
}

void UnloadSlot(int slot) {
    Log("UnloadSound", slot);
    if (!InTable(slot)) return;
    EndInstances(slot);
    if (g_chunks[slot] != nullptr) Mix_FreeChunk(g_chunks[slot]);
    g_chunks[slot] = nullptr;
}

void PlaySlot(int slot, bool loop) {
    Log(loop ? "PlaySoundLoop" : "PlaySound", slot);
    if (!InTable(slot) || g_chunks[slot] == nullptr || g_capturePath.empty()) return;
    g_instances.push_back({slot, NowFrame(), -1, loop});
}

void StopSlot(int slot) {
    Log("StopSound", slot);
    if (InTable(slot)) EndInstances(slot);
}

void StopAllSlots() {
    Log("StopAllSounds", -1);
    EndInstances(-1);
}

// Kept only, for tests to read: the capture is the game's own sound, whatever the player chose.
void SetMasterVolume(float volume) {
    g_master = volume;
}
void SetMuted(bool muted) {
    g_muted = muted;
}
void PauseAudio(bool paused) {
    g_paused = paused;
}

namespace headless {

float MasterVolume() {
    return g_master;
}
bool Muted() {
    return g_muted;
}
bool AudioPaused() {
    return g_paused;
}

std::vector<SoundCall> TakeSoundCalls() {
    std::vector<SoundCall> calls;
    calls.swap(g_calls);
    return calls;
}

void CaptureAudioTo(const std::string& wavPath) {
    g_capturePath = wavPath;
}

}  // namespace headless
}  // namespace plat
