// Any bytes given to the sound loader either load or are refused with one line; never a crash.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/common/sdl_sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 &&
               Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024) == 0;
    }();
    if (!ready) return 0;
    (void)plat::common::WavHeaderSeconds(data, size);
    if (Mix_Chunk* chunk = plat::common::LoadChunkFromMemory(data, size, "fuzz")) {
        Mix_FreeChunk(chunk);
    }
    return 0;
}
