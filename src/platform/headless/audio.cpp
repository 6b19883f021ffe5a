#include "platform/audio.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/common/clock_feed.h"
#include "platform/common/mixer.h"
#include "platform/common/sound_file.h"
#include "platform/headless/headless.h"

namespace plat {
namespace {

bool g_open = false;
bool g_sdlAudio = false;  // SDL's audio was started, to try the driver the user named
common::Mixer g_mixer;
// The runner's feed: the capture and the device stand-in, moved by the virtual clock.
common::ClockFeed g_feed(&g_mixer);
// What the player's controls last asked, for tests to read.
float g_master = 1.0f;
bool g_muted = false;
bool g_paused = false;

bool Mixing() {
    return g_open && g_feed.Mixing();
}

// A sound call takes effect at the frame the clock has reached.
int64_t NowFrame() {
    return common::ClockFeed::FrameAt(ClockMs());
}

void FeedCapture() {
    if (g_open) g_feed.FeedCapture(ClockMs());
}

}  // namespace

bool OpenAudio(int slots) {
    g_mixer.Reset(slots);
    // No sound is played; an audio driver chosen in the environment is still tried, so that a
    // broken one stands in for a machine without sound. SDL's own dummy driver cannot fail.
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if (driver != nullptr && std::strcmp(driver, "dummy") != 0) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        g_sdlAudio = true;
    }
    g_open = true;
    return true;
}

void CloseAudio() {
    if (g_open) FeedCapture();
    if (g_sdlAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    g_sdlAudio = false;
    g_feed.Finish();
    g_open = false;
    g_mixer.Reset(0);
}

bool LoadSlot(int slot, const char* path) {
    if (!g_open || !g_mixer.InTable(slot)) return false;
    // Without a capture nothing is ever mixed: the file is checked and measured, not decoded.
    std::unique_ptr<common::Sound> sound = common::OpenSoundFile(path, g_feed.Mixing());
    const bool loaded = sound != nullptr;
    g_mixer.SetSound(slot, std::move(sound));
    return loaded;
}

void UnloadSlot(int slot) {
    if (!g_mixer.InTable(slot)) return;
    // The slot's voices stop at the clock's time when the runner feeds; at once otherwise.
    FeedCapture();
    g_mixer.TakeSound(slot);
}

void PlaySlot(int slot, bool loop) {
    if (Mixing()) g_mixer.Play(slot, loop, NowFrame());
}

void StopSlot(int slot) {
    if (Mixing()) g_mixer.Stop(slot, NowFrame());
}

void StopAllSlots() {
    if (Mixing()) g_mixer.StopAll(NowFrame());
}

void SetMasterVolume(float volume) {
    g_master = volume;
    if (Mixing()) g_mixer.SetVolume(volume, NowFrame());
}

void SetMuted(bool muted) {
    g_muted = muted;
    if (Mixing()) g_mixer.SetMuted(muted, NowFrame());
}

void SetPaused(bool paused) {
    g_paused = paused;
    if (Mixing()) g_mixer.SetPaused(paused, NowFrame());
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

bool CaptureAudioTo(const std::string& wavPath) {
    return g_feed.CaptureTo(wavPath);
}

bool FeedAudio() {
    FeedCapture();
    return g_feed.Error().empty();
}

std::string AudioCaptureError() {
    return g_feed.Error();
}

void RunAudioDevice(int bufferFrames, std::function<void(const int16_t*, int)> sink) {
    g_feed.RunDevice(bufferFrames, std::move(sink));
}

void ClockMoved() {
    if (g_open) g_feed.FeedDevice(ClockMs());
}

}  // namespace headless
}  // namespace plat
