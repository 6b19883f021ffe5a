#include "platform/audio.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstring>
#include <memory>

#include "platform/common/mixer.h"
#include "platform/common/sound_file.h"

namespace plat {
namespace {

constexpr int DEVICE_FRAMES = 1024;  // about 23 ms a buffer

common::Mixer g_mixer;
SDL_AudioDeviceID g_device = 0;

// The callback mixes under the device's lock; the game's thread changes voices under it too.
class DeviceLock {
public:
    DeviceLock() { SDL_LockAudioDevice(g_device); }
    ~DeviceLock() { SDL_UnlockAudioDevice(g_device); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;
};

void QuietAlsa(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
               const char* /*format*/, ...) {}

// Without a card ALSA's library prints several lines of its own before the device fails; the
// game's one line says it. The library SDL loaded is asked, so the game need not link it.
void SilenceAlsa() {
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver == nullptr || std::strcmp(driver, "alsa") != 0) return;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (alsa == nullptr) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (set != nullptr) set(QuietAlsa);
    dlclose(alsa);  // SDL keeps it loaded while the device lives
}

}  // namespace

bool OpenAudio(int slots) {
    g_mixer.Reset(slots);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SilenceAlsa();
    SDL_AudioSpec want = {};
    want.freq = common::MIX_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = common::MIX_CHANNELS;
    want.samples = DEVICE_FRAMES;
    want.callback = common::MixerCallback;
    want.userdata = &g_mixer;
    // No changes allowed: SDL converts to whatever the hardware takes, the mixer never sees it.
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (g_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(g_device, 0);
    return true;
}

void CloseAudio() {
    if (g_device != 0) {
        SDL_CloseAudioDevice(g_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_device = 0;
    g_mixer.Reset(0);
}

bool LoadSlot(int slot, const char* path) {
    if (g_device == 0 || !g_mixer.InTable(slot)) return false;
    std::unique_ptr<common::Sound> sound = common::OpenSoundFile(path, true);
    const bool loaded = sound != nullptr;
    std::unique_ptr<common::Sound> old;
    {
        DeviceLock lock;
        old = g_mixer.TakeSound(slot);
        g_mixer.SetSound(slot, std::move(sound));
    }
    return loaded;
}

void UnloadSlot(int slot) {
    if (g_device == 0) return;
    std::unique_ptr<common::Sound> gone;
    {
        DeviceLock lock;
        gone = g_mixer.TakeSound(slot);
    }
}

void PlaySlot(int slot, bool loop) {
    if (g_device == 0) return;
    DeviceLock lock;
    g_mixer.Play(slot, loop, g_mixer.Position());
}

void StopSlot(int slot) {
    if (g_device == 0) return;
    DeviceLock lock;
    g_mixer.Stop(slot, g_mixer.Position());
}

void StopAllSlots() {
    if (g_device == 0) return;
    DeviceLock lock;
    g_mixer.StopAll(g_mixer.Position());
}

void SetMasterVolume(float volume) {
    if (g_device == 0) return;
    DeviceLock lock;
    g_mixer.SetVolume(volume, g_mixer.Position());
}

void SetMuted(bool muted) {
    if (g_device == 0) return;
    DeviceLock lock;
    g_mixer.SetMuted(muted, g_mixer.Position());
}

void SetPaused(bool paused) {
    if (g_device == 0) return;
    DeviceLock lock;
    g_mixer.SetPaused(paused, g_mixer.Position());
}

}  // namespace plat
