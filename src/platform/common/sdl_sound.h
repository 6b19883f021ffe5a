// Loading sounds through SDL_mixer, shared by the real and the headless backend.
#pragma once

#include <SDL_mixer.h>

#include <cstddef>
#include <cstdint>

namespace plat::common {

constexpr double MAX_SOUND_SECONDS = 600.0;

// Seconds that a WAV header claims its data lasts; WAV_NOT_A_WAV for bytes that are no WAV
// file, WAV_BAD_FORMAT for one whose format header no real sound has, WAV_TRUNCATED for one cut
// short.
constexpr double WAV_NOT_A_WAV = -1.0;
constexpr double WAV_BAD_FORMAT = -2.0;
constexpr double WAV_TRUNCATED = -3.0;  // the data chunk runs past the end of the file
double WavHeaderSeconds(const uint8_t* data, size_t size);

// Loads any sound SDL_mixer reads, by content, refusing one longer than MAX_SOUND_SECONDS
// (from the header when it has one). Needs an open mixer. Prints one stderr line on failure.
Mix_Chunk* LoadChunk(const char* path);
Mix_Chunk* LoadChunkFromMemory(const uint8_t* data, size_t size, const char* name);

}  // namespace plat::common
