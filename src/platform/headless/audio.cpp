#include "platform/audio.h"

#include <SDL.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/common/mixer.h"
#include "platform/common/sound_file.h"
#include "platform/common/wav.h"
#include "platform/headless/headless.h"

namespace plat {
namespace {

constexpr int FEED_FRAMES = 4096;  // the most the runner's feed mixes in one go

bool g_open = false;
bool g_sdlAudio = false;  // SDL's audio was started, to try the driver the user named
common::Mixer g_mixer;
// What the player's controls last asked, for tests to read.
float g_master = 1.0f;
bool g_muted = false;
bool g_paused = false;

// The runner's capture: a WAV file written as the clock moves, its sizes filled in at the end.
struct Capture {
    std::string path;
    std::FILE* file = nullptr;
    uint64_t dataBytes = 0;
    std::string error;  // the first failure to write, or empty
} g_capture;

// The device stand-in: buffers of a fixed size through the real backend's callback.
int g_deviceFrames = 0;
std::function<void(const int16_t*, int)> g_deviceSink;
std::vector<int16_t> g_buffer;

// A frame of the time line is due once the clock has passed its start.
int64_t NowFrame() {
    return static_cast<int64_t>(ClockMs() * common::MIX_RATE / 1000.0);
}

bool Mixing() {
    return g_open && (g_capture.file != nullptr || g_deviceFrames > 0);
}

void Mix(int frames) {
    g_buffer.resize(static_cast<size_t>(frames) * common::MIX_CHANNELS);
    common::MixerCallback(&g_mixer, reinterpret_cast<uint8_t*>(g_buffer.data()),
                          static_cast<int>(g_buffer.size() * sizeof(int16_t)));
}

void CaptureFailed(const char* why) {
    if (g_capture.error.empty()) g_capture.error = why;
}

void WriteCapture(const int16_t* samples, int frames) {
    if (!g_capture.error.empty()) return;
    const uint64_t bytes = static_cast<uint64_t>(frames) * common::MIX_CHANNELS * 2;
    if (g_capture.dataBytes + bytes > common::WAV_MAX_DATA_BYTES) {
        CaptureFailed("over 4 GiB of sound, more than a WAV file holds");
        return;
    }
    std::vector<uint8_t> out;
    out.reserve(bytes);
    for (int i = 0; i < frames * common::MIX_CHANNELS; ++i) {
        common::PutLe16(out, static_cast<uint16_t>(samples[i]));
    }
    if (std::fwrite(out.data(), 1, out.size(), g_capture.file) != out.size()) {
        CaptureFailed(std::strerror(errno));
    }
    g_capture.dataBytes += bytes;
}

// Mixes the capture up to the clock.
void FeedCapture() {
    if (!Mixing() || g_capture.file == nullptr) return;
    for (int64_t left; (left = NowFrame() - g_mixer.Position()) > 0;) {
        const int frames = static_cast<int>(std::min<int64_t>(left, FEED_FRAMES));
        Mix(frames);
        WriteCapture(g_buffer.data(), frames);
    }
}

// Writes the header with the sizes now known, and closes the file.
void FinishCapture() {
    if (g_capture.file == nullptr) return;
    const std::vector<uint8_t> header = common::WavHeader(
        common::MIX_CHANNELS, common::MIX_RATE, 16, static_cast<uint32_t>(g_capture.dataBytes));
    if (std::fflush(g_capture.file) != 0 || std::fseek(g_capture.file, 0, SEEK_SET) != 0 ||
        std::fwrite(header.data(), 1, header.size(), g_capture.file) != header.size()) {
        CaptureFailed(std::strerror(errno));
    }
    if (std::fclose(g_capture.file) != 0) CaptureFailed(std::strerror(errno));
    g_capture.file = nullptr;
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
    FinishCapture();
    g_open = false;
    g_mixer.Reset(0);
}

bool LoadSlot(int slot, const char* path) {
    if (!g_open || !g_mixer.InTable(slot)) return false;
    // Without a capture nothing is ever mixed: the file is checked and measured, not decoded.
    std::unique_ptr<common::Sound> sound =
        common::OpenSoundFile(path, g_capture.file != nullptr || g_deviceFrames > 0);
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
    g_capture = Capture{};
    g_capture.path = wavPath;
    g_capture.file = std::fopen(wavPath.c_str(), "wb");
    if (g_capture.file == nullptr) {
        g_capture.error = std::strerror(errno);
        return false;
    }
    // The sizes are filled in when the capture ends.
    const std::vector<uint8_t> header =
        common::WavHeader(common::MIX_CHANNELS, common::MIX_RATE, 16, 0);
    if (std::fwrite(header.data(), 1, header.size(), g_capture.file) != header.size()) {
        CaptureFailed(std::strerror(errno));
    }
    return true;
}

bool FeedAudio() {
    FeedCapture();
    return g_capture.error.empty();
}

std::string AudioCaptureError() {
    return g_capture.error;
}

void RunAudioDevice(int bufferFrames, std::function<void(const int16_t*, int)> sink) {
    g_deviceFrames = bufferFrames;
    g_deviceSink = std::move(sink);
}

void ClockMoved() {
    if (!Mixing() || g_deviceFrames <= 0) return;
    while (g_mixer.Position() + g_deviceFrames <= NowFrame()) {
        Mix(g_deviceFrames);
        if (g_deviceSink) g_deviceSink(g_buffer.data(), g_deviceFrames);
    }
}

}  // namespace headless
}  // namespace plat
