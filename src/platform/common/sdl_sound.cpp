#include "platform/common/sdl_sound.h"

#include <cstdio>
#include <vector>

#include "platform/common/read_file.h"

namespace plat::common {
namespace {

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool Tag(const uint8_t* p, const char* tag) {
    return p[0] == tag[0] && p[1] == tag[1] && p[2] == tag[2] && p[3] == tag[3];
}

}  // namespace

double WavHeaderSeconds(const uint8_t* data, size_t size) {
    if (size < 12 || !Tag(data, "RIFF") || !Tag(data + 8, "WAVE")) return WAV_NOT_A_WAV;
    uint32_t byteRate = 0;
    size_t at = 12;
    while (at + 8 <= size) {
        const uint32_t chunkSize = Le32(data + at + 4);
        if (Tag(data + at, "fmt ")) {
            if (at + 24 > size || chunkSize < 16) return WAV_BAD_FORMAT;
            const uint32_t channels = data[at + 10] | (data[at + 11] << 8);
            const uint32_t rate = Le32(data + at + 12);
            const uint32_t bits = data[at + 22] | (data[at + 23] << 8);
            byteRate = Le32(data + at + 16);
            // Rates and layouts outside what any sound file uses make the converter run away.
            if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000 || bits == 0 ||
                bits > 64 || byteRate == 0 || byteRate > rate * channels * 8) {
                return WAV_BAD_FORMAT;
            }
        } else if (Tag(data + at, "data")) {
            if (byteRate == 0) return WAV_BAD_FORMAT;
            const double seconds = static_cast<double>(chunkSize) / byteRate;
            if (seconds <= MAX_SOUND_SECONDS && at + 8 + static_cast<size_t>(chunkSize) > size) {
                return WAV_TRUNCATED;
            }
            return seconds;
        }
        at += 8 + static_cast<size_t>(chunkSize) + (chunkSize & 1);
    }
    return WAV_BAD_FORMAT;
}

Mix_Chunk* LoadChunk(const char* path) {
    FileBytes bytes;
    if (!bytes.Open(path)) {
        std::fprintf(stderr, "tinselrun: %s: cannot open sound\n", path);
        return nullptr;
    }
    return LoadChunkFromMemory(bytes.data(), bytes.size(), path);
}

Mix_Chunk* LoadChunkFromMemory(const uint8_t* data, size_t size, const char* path) {
    if (size == 0) {
        std::fprintf(stderr, "tinselrun: %s: empty sound file\n", path);
        return nullptr;
    }
    const double seconds = WavHeaderSeconds(data, size);
    if (seconds == WAV_NOT_A_WAV && !(size >= 4 && (Tag(data, "OggS") || Tag(data, "fLaC")))) {
        std::fprintf(stderr, "tinselrun: %s: not a sound (WAV, OGG or FLAC)\n", path);
        return nullptr;
    }
    if (seconds == WAV_TRUNCATED) {
        std::fprintf(stderr, "tinselrun: %s: truncated WAV sound, refused\n", path);
        return nullptr;
    }
    if (seconds == WAV_BAD_FORMAT) {
        std::fprintf(stderr, "tinselrun: %s: WAV file with a bad format header, refused\n", path);
        return nullptr;
    }
    if (seconds > MAX_SOUND_SECONDS) {
        std::fprintf(stderr, "tinselrun: %s: sound claims %.0f s, refused\n", path, seconds);
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    Mix_Chunk* chunk = rw != nullptr ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (chunk == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: not a sound (%s)\n", path, Mix_GetError());
        return nullptr;
    }
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    const double bytesPerSecond =
        static_cast<double>(frequency) * channels * (SDL_AUDIO_BITSIZE(format) / 8);
    if (bytesPerSecond > 0 && chunk->alen / bytesPerSecond > MAX_SOUND_SECONDS) {
        std::fprintf(stderr, "tinselrun: %s: sound longer than %.0f s, refused\n", path,
                     MAX_SOUND_SECONDS);
        Mix_FreeChunk(chunk);
        return nullptr;
    }
    return chunk;
}

}  // namespace plat::common
