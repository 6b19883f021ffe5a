// Shared helpers for the asset tests: where the generated files are, and how to read them.
#pragma once

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace assets_test {

inline std::string BuildDir() {
    return TINSELRUN_BUILD_DIR;
}
inline std::string AssetgenPath() {
    return BuildDir() + "/tools/assetgen/assetgen";
}
inline std::string ImgPath(int n) {
    return BuildDir() + "/img/" + std::to_string(n) + ".dat";
}
inline std::string SndPath(int n) {
    return BuildDir() + "/snd/" + std::to_string(n) + ".bom";
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

inline uint64_t Fnv1a64(const std::vector<uint8_t>& bytes) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint8_t b : bytes) {
        h ^= b;
        h *= 0x100000001b3ull;
    }
    return h;
}

struct Rgba {
    uint8_t r, g, b, a;
};

// A picture decoded by content (whatever its file name) into plain RGBA rows.
struct Picture {
    int w = 0, h = 0;
    std::vector<Rgba> px;
    bool ok() const { return w > 0; }
    const Rgba& at(int x, int y) const { return px[size_t(y) * w + x]; }
};

inline Picture LoadPicture(const std::string& path) {
    Picture pic;
    SDL_Surface* raw = IMG_Load(path.c_str());
    if (!raw) return pic;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
    if (!s) return pic;
    pic.w = s->w;
    pic.h = s->h;
    pic.px.resize(size_t(s->w) * s->h);
    for (int y = 0; y < s->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + size_t(y) * s->pitch;
        for (int x = 0; x < s->w; ++x)
            pic.px[size_t(y) * s->w + x] =
                Rgba{row[x * 4], row[x * 4 + 1], row[x * 4 + 2], row[x * 4 + 3]};
    }
    SDL_FreeSurface(s);
    return pic;
}

// A sound as SDL reads it, samples scaled to [-1, 1], interleaved.
struct Sound {
    int rate = 0, channels = 0;
    bool s16 = false;
    std::vector<float> samples;
    bool ok() const { return rate > 0; }
    double seconds() const { return double(samples.size()) / channels / rate; }
};

inline Sound LoadSound(const std::string& path) {
    Sound snd;
    SDL_AudioSpec format;
    Uint8* buf = nullptr;
    Uint32 len = 0;
    if (!SDL_LoadWAV(path.c_str(), &format, &buf, &len)) return snd;
    snd.rate = format.freq;
    snd.channels = format.channels;
    snd.s16 = format.format == AUDIO_S16LSB;
    if (snd.s16) {
        const int16_t* s = reinterpret_cast<const int16_t*>(buf);
        snd.samples.resize(len / 2);
        for (size_t i = 0; i < snd.samples.size(); ++i) snd.samples[i] = s[i] / 32768.0f;
    }
    SDL_FreeWAV(buf);
    return snd;
}

}  // namespace assets_test
