// Shared helpers for the asset tests: where the generated files are, and how to read them.
#pragma once

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/bytes.h"
#include "platform/common/sound_file.h"

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

// A sound as the game decodes it (at the mix rate, samples scaled to [-1, 1], interleaved), and
// what its file holds: "WAV" (16-bit PCM) or "OGG" (Vorbis), at its own rate.
struct Sound {
    int rate = 0, channels = 0;
    std::string format;
    int fileRate = 0;
    std::vector<float> samples;
    bool ok() const { return rate > 0; }
    double seconds() const { return double(samples.size()) / channels / rate; }
};

inline Sound LoadSound(const std::string& path) {
    Sound snd;
    const auto sound = plat::common::OpenSoundFile(path.c_str(), true);
    if (!sound) return snd;
    snd.rate = plat::common::MIX_RATE;
    snd.channels = sound->Channels();
    std::vector<int16_t> pcm;
    if (sound->Streamed()) {
        const auto stream = sound->OpenStream(false);
        const int16_t* samples = nullptr;
        for (int got; (got = stream->Fetch(&samples, 4096)) > 0;)
            pcm.insert(pcm.end(), samples, samples + got * snd.channels);
    } else {
        pcm.assign(sound->Samples(), sound->Samples() + sound->Frames() * snd.channels);
    }
    snd.samples.reserve(pcm.size());
    for (int16_t v : pcm) snd.samples.push_back(v / 32768.0f);
    const std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.size() > 44 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
        plat::common::Le16(bytes.data() + 34) == 16) {
        snd.format = "WAV";
        snd.fileRate = int(plat::common::Le32(bytes.data() + 24));
    } else if (bytes.size() > 44 && std::memcmp(bytes.data(), "OggS", 4) == 0 &&
               std::memcmp(bytes.data() + 29, "vorbis", 6) == 0) {
        snd.format = "OGG";  // the Vorbis identification header opens the first page
        snd.fileRate = int(plat::common::Le32(bytes.data() + 40));
    }
    return snd;
}

}  // namespace assets_test
