// Every reader gives a picture the same pixels: our own (8-bit RGBA PNG), stb_image (every other
// kind, and every picture in the browser) and SDL_image, which read them all before. Built twice:
// in test_shell as the game has it, and alone without libdeflate as the browser has it
// (PICTURES_AS_IN_THE_BROWSER). Damage is refused when the file is checked, with one line.
#include "platform/common/picture.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#if !defined(PICTURES_AS_IN_THE_BROWSER)
#include "platform/renderer.h"
#endif

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint32_t> Pixels(const plat::common::Picture& picture) {
    const uint32_t* p = picture.Pixels();
    return std::vector<uint32_t>(p, p + size_t(picture.width) * picture.height);
}

// What SDL_image made of the file, converted to ARGB8888 as the game converted it.
std::vector<uint32_t> SdlImagePixels(const Bytes& bytes) {
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* loaded = IMG_Load_RW(rw, 1);
    if (loaded == nullptr) return {};
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    std::vector<uint32_t> pixels;
    for (int y = 0; argb != nullptr && y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch);
        pixels.insert(pixels.end(), row, row + argb->w);
    }
    SDL_FreeSurface(argb);
    return pixels;
}

TEST(PictureReaders, GiveEveryPictureTheSamePixels) {
    std::vector<std::string> files;
    for (int i = 1; i <= 18; ++i)
        files.push_back(TINSELRUN_BUILD_DIR "/img/" + std::to_string(i) + ".dat");
    // Kinds our own reader leaves to stb_image: palettes of 1 and 4 bits, a BMP.
    for (const char* name : {"red4.png", "grad16.png", "green.bmp"}) {
        files.push_back(std::string(TINSELRUN_SOURCE_DIR "/tests/fuzz/corpus/picture/") + name);
    }
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const Bytes bytes = ReadBytes(file);
        const std::vector<uint32_t> reference = SdlImagePixels(bytes);
        ASSERT_FALSE(reference.empty());
        plat::common::Picture ours, stb;
        ASSERT_TRUE(plat::common::DecodePicture(bytes.data(), bytes.size(), "test", &ours));
        const char* why = "";
        ASSERT_TRUE(plat::common::DecodeWithStb(bytes.data(), bytes.size(), &stb, &why)) << why;
        EXPECT_TRUE(Pixels(ours) == reference);
        EXPECT_TRUE(Pixels(stb) == reference);
        plat::common::Recycle(&ours);
    }
    plat::common::TrimPictureMemory(0);
}

uint32_t Crc(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return ~c;
}

uint32_t Be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// A copy of the town with the byte at `offset` into its (one) IDAT chunk changed, and its CRC
// made right again (fixCrc) or left wrong.
Bytes DamagedTown(int64_t offset, bool fixCrc) {
    Bytes png = ReadBytes(TINSELRUN_BUILD_DIR "/img/7.dat");
    size_t at = 8;
    while (std::string(png.begin() + at + 4, png.begin() + at + 8) != "IDAT")
        at += 12 + Be32(&png[at]);
    const uint32_t length = Be32(&png[at]);
    png[at + 8 + (offset >= 0 ? offset : length + offset)] ^= 0x5A;
    if (fixCrc) {
        const uint32_t crc = Crc(&png[at + 4], 4 + length);
        for (int i = 0; i < 4; ++i) png[at + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
    }
    return png;
}

// Decoding the damaged bytes fails, with exactly one line on stderr naming the file.
void ExpectRefusedWithOneLine(const Bytes& png) {
    testing::internal::CaptureStderr();
    plat::common::Picture picture;
    EXPECT_FALSE(plat::common::DecodePicture(png.data(), png.size(), "img/7.dat", &picture));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "tinselrun: img/7.dat: truncated or corrupt PNG picture, refused\n");
}

TEST(PictureReaders, RefuseADamagedPngWithOneLine) {
    ExpectRefusedWithOneLine(DamagedTown(1000, false));  // the chunk's CRC tells
#if !defined(PICTURES_AS_IN_THE_BROWSER)
    // Damage the CRC does not show: the compressed pixels, or the checksum that ends them.
    ExpectRefusedWithOneLine(DamagedTown(1000, true));
    ExpectRefusedWithOneLine(DamagedTown(-1, true));
    // The game's loader refuses it as it loads, not when the picture is first drawn.
    const std::string path = testing::TempDir() + "damaged_town.png";
    const Bytes png = DamagedTown(-1, true);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), png.size());
    testing::internal::CaptureStderr();
    EXPECT_EQ(plat::LoadTexture(path.c_str()), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tinselrun: " + path + ": truncated or corrupt PNG picture, refused\n");
    std::remove(path.c_str());
#endif
}

// A 4 x 1 BMP of 4 bits a pixel whose palette has two colours, red and blue.
Bytes TwoColourBmp(uint8_t firstTwo, uint8_t lastTwo) {
    Bytes bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,  // 14 + 40 + 2 * 4 = 62
                 40,  0,   0,  0, 4, 0, 0, 0, 1, 0, 0,  0, 1, 0, 4, 0};
    bmp.resize(14 + 40);
    bmp.insert(bmp.end(), {0, 0, 255, 0, 255, 0, 0, 0});  // B, G, R, unused
    bmp.insert(bmp.end(), {firstTwo, lastTwo, 0, 0});
    return bmp;
}

TEST(PictureReaders, RefuseABmpWhosePixelsNameColoursItsPaletteLacks) {
    const Bytes good = TwoColourBmp(0x01, 0x10);
    plat::common::Picture picture;
    ASSERT_TRUE(plat::common::DecodePicture(good.data(), good.size(), "t.bmp", &picture));
    EXPECT_EQ(Pixels(picture),
              (std::vector<uint32_t>{0xFFFF0000u, 0xFF0000FFu, 0xFF0000FFu, 0xFFFF0000u}));
    plat::common::Recycle(&picture);
    // Colour 5 of two, and a palette that would end before it begins: stb_image would fill those
    // pixels from memory it never wrote.
    Bytes past = TwoColourBmp(0x05, 0x10), negative = good;
    negative[10] = 1;
    for (const Bytes* bad : {&past, &negative}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(plat::common::DecodePicture(bad->data(), bad->size(), "t.bmp", &picture));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "tinselrun: t.bmp: not a picture (a BMP with colours outside its palette)\n");
    }
}

}  // namespace
