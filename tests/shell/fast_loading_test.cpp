// The faster loaders must hand the decoders the same bytes and the renderer the same pixels
// as reading through a stream and converting a copy did.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/common/read_file.h"
#include "platform/common/sdl_render.h"
#include "platform/common/sound_file.h"
#include "platform/headless/headless.h"
#include "platform/renderer.h"

namespace {

std::string TempPath(const char* name) {
    return testing::TempDir() + "/tinselrun_bench_" + std::to_string(getpid()) + "_" + name;
}

TEST(AssetFileBytes, ReadEveryByteOfRegularFilesAndRefuseAnythingElse) {
    const std::string path = TempPath("bytes");
    std::vector<uint8_t> bytes(300001);
    std::mt19937 rng(7);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string why;
    {
        plat::common::FileBytes file;
        ASSERT_TRUE(file.Open(path.c_str(), &why)) << why;
        ASSERT_EQ(file.size(), bytes.size());
        EXPECT_EQ(std::memcmp(file.data(), bytes.data(), bytes.size()), 0);
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc).close();
    {
        plat::common::FileBytes file;  // an empty file opens, with nothing in it
        ASSERT_TRUE(file.Open(path.c_str(), &why)) << why;
        EXPECT_EQ(file.size(), 0u);
    }
    // Past the limit, even when sparse and so costing no disk.
    ASSERT_EQ(truncate(path.c_str(), plat::common::MAX_ASSET_BYTES + 1), 0);
    plat::common::FileBytes huge;
    EXPECT_FALSE(huge.Open(path.c_str(), &why));
    EXPECT_NE(why.find("larger than"), std::string::npos) << why;
    std::remove(path.c_str());
    plat::common::FileBytes missing;
    EXPECT_FALSE(missing.Open(path.c_str(), &why));

    // A folder, an endless device and a pipe nobody writes: refused at once, never read.
    const std::string fifo = TempPath("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        const char* says;
    } refused[] = {{testing::TempDir(), "a folder"},
                   {"/dev/zero", "not a regular file"},
                   {fifo, "not a regular file"}};
    for (const auto& other : refused) {
        plat::common::FileBytes file;
        EXPECT_FALSE(file.Open(other.path.c_str(), &why)) << other.path;
        EXPECT_NE(why.find(other.says), std::string::npos) << other.path << ": " << why;
    }
    std::remove(fifo.c_str());
}

// Draws a texture at the top left of a cleared 800 x 600 picture and returns its w x h pixels.
std::vector<uint32_t> Drawn(const plat::Texture* texture, int w, int h) {
    plat::Clear(0xFF000000);
    plat::DrawTexture(texture, nullptr, 0, 0, 0xFFFFFFFF, 1.0f, 0, 0);
    plat::Present();
    const plat::headless::Frame frame = plat::headless::ReadFrame();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) pixels.push_back(frame.pixels[y * frame.pitch + x]);
    }
    return pixels;
}

std::vector<uint8_t> EncodePng(SDL_Surface* surface) {
    std::vector<uint8_t> png(1 << 22);
    SDL_RWops* rw = SDL_RWFromMem(png.data(), static_cast<int>(png.size()));
    EXPECT_EQ(IMG_SavePNG_RW(surface, rw, 0), 0);
    png.resize(static_cast<size_t>(SDL_RWtell(rw)));
    SDL_RWclose(rw);
    return png;
}

TEST(DecodedPictures, DrawTheColoursOfTheFileWithRedAndBlueInPlace) {
    ASSERT_EQ(plat::CreateRenderer(800, 600, true), plat::RendererResult::Ok);
    const int w = 97, h = 61;
    SDL_Surface* rgba = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ABGR8888);
    ASSERT_NE(rgba, nullptr);
    std::mt19937 rng(99);
    for (int round = 0; round < 2; ++round) {
        const bool opaque = round == 0;
        std::vector<uint32_t> argb;
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<uint8_t*>(rgba->pixels) + y * rgba->pitch;
            for (int x = 0; x < w; ++x) {
                const uint8_t r = rng(), g = rng(), b = rng(), a = opaque ? 255 : rng();
                row[4 * x] = r;  // the file's byte order: red, green, blue, alpha
                row[4 * x + 1] = g;
                row[4 * x + 2] = b;
                row[4 * x + 3] = a;
                argb.push_back((uint32_t(a) << 24) | (uint32_t(r) << 16) | (uint32_t(g) << 8) | b);
            }
        }
        const std::vector<uint8_t> png = EncodePng(rgba);
        plat::Texture* loaded = plat::common::LoadTextureFromMemory(png.data(), png.size(), "test");
        ASSERT_NE(loaded, nullptr);
        const std::vector<uint32_t> ours = Drawn(loaded, w, h);
        plat::DestroyTexture(loaded);
        if (opaque) {
            EXPECT_EQ(ours, argb);
            continue;
        }
        // With alpha, what the converter's copy draws is the reference.
        SDL_Surface* converted = SDL_ConvertSurfaceFormat(rgba, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_Texture* tex = SDL_CreateTextureFromSurface(plat::common::g_renderer, converted);
        SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(tex, SDL_ScaleModeNearest);
        plat::Clear(0xFF000000);
        const SDL_FRect to = {0, 0, float(w), float(h)};
        SDL_RenderCopyF(plat::common::g_renderer, tex, nullptr, &to);
        const plat::headless::Frame frame = plat::headless::ReadFrame();
        std::vector<uint32_t> reference;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) reference.push_back(frame.pixels[y * frame.pitch + x]);
        }
        EXPECT_EQ(ours, reference);
        SDL_DestroyTexture(tex);
        SDL_FreeSurface(converted);
    }
    SDL_FreeSurface(rgba);
    plat::DestroyRenderer();
}

std::vector<int16_t> Decoded(const plat::common::Sound& sound, int fetch) {
    std::vector<int16_t> out;
    if (!sound.Streamed()) {
        return {sound.Samples(), sound.Samples() + sound.Frames() * sound.Channels()};
    }
    const auto stream = sound.OpenStream(false);
    const int16_t* samples = nullptr;
    for (int got; (got = stream->Fetch(&samples, fetch)) > 0;) {
        out.insert(out.end(), samples, samples + got * sound.Channels());
    }
    return out;
}

// Other decoders are the reference: SDL's WAV reader for the effects, libvorbis for the music.
// The mixer gets the samples of the file, whether a sound is decoded whole (the effects) or
// read in blocks as it plays (the music).
TEST(DecodedSounds, AreTheSamplesOfTheFileWhetherDecodedOrStreamed) {
    for (int i = 1; i <= 16; ++i) {
        const std::string path =
            std::string(TINSELRUN_BUILD_DIR) + "/snd/" + std::to_string(i) + ".bom";
        std::vector<int16_t> reference;
        int channels = 0;
        if (i <= 12) {
            SDL_AudioSpec format;
            Uint8* buffer = nullptr;
            Uint32 length = 0;
            ASSERT_NE(SDL_LoadWAV(path.c_str(), &format, &buffer, &length), nullptr) << path;
            ASSERT_EQ(format.format, AUDIO_S16LSB);
            ASSERT_EQ(format.freq, plat::common::MIX_RATE);
            reference.assign(reinterpret_cast<int16_t*>(buffer),
                             reinterpret_cast<int16_t*>(buffer + length));
            channels = format.channels;
            SDL_FreeWAV(buffer);
        } else {
            OggVorbis_File file;
            ASSERT_EQ(ov_fopen(path.c_str(), &file), 0) << path;
            ASSERT_EQ(ov_info(&file, -1)->rate, plat::common::MIX_RATE);
            channels = ov_info(&file, -1)->channels;
            char block[8192];
            int section = 0;
            for (long got; (got = ov_read(&file, block, sizeof block, 0, 2, 1, &section)) > 0;) {
                const auto* samples = reinterpret_cast<const int16_t*>(block);
                reference.insert(reference.end(), samples, samples + got / 2);
            }
            ov_clear(&file);
        }
        const auto sound = plat::common::OpenSoundFile(path.c_str(), true);
        ASSERT_NE(sound, nullptr) << path;
        EXPECT_EQ(sound->Channels(), channels) << path;
        EXPECT_EQ(sound->Streamed(), i >= 13) << path << ": only the music is streamed";
        // An odd size, so blocks and fetches never line up.
        const std::vector<int16_t> ours = Decoded(*sound, 777);
        ASSERT_EQ(ours.size(), reference.size()) << path;
        if (i <= 12) {
            EXPECT_TRUE(ours == reference) << path;
            continue;
        }
        if (i == 13) {
            // The stage loop comes round to the same samples, frame for frame, without a gap.
            const auto loop = sound->OpenStream(true);
            std::vector<int16_t> twice;
            const int16_t* samples = nullptr;
            for (int got;
                 twice.size() < 2 * ours.size() && (got = loop->Fetch(&samples, 4096)) > 0;)
                twice.insert(twice.end(), samples, samples + got * sound->Channels());
            ASSERT_GE(twice.size(), 2 * ours.size());
            EXPECT_TRUE(std::equal(ours.begin(), ours.end(), twice.begin()));
            EXPECT_TRUE(std::equal(ours.begin(), ours.end(), twice.begin() + ours.size()));
        }
        // Two float decoders round their last bit apart, never more.
        int most = 0;
        for (size_t k = 0; k < ours.size(); ++k)
            most = std::max(most, std::abs(ours[k] - reference[k]));
        EXPECT_LE(most, 2) << path;
    }
}

}  // namespace
