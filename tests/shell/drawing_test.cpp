#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/common/sdl_render.h"
#include "support/shell_fixture.h"

namespace {

constexpr uint32_t GREY = 0xFF646464;

// Writes a picture whose pixel (x, y) is colour(x, y), and returns its path.
template <typename F>
std::string WritePicture(const char* name, int w, int h, F colour) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x) row[x] = colour(x, y);
    }
    const std::string path = testing::TempDir() + name;
    EXPECT_EQ(IMG_SavePNG(s, path.c_str()), 0);
    SDL_FreeSurface(s);
    return path;
}

uint32_t Pixel(int x, int y) {
    const plat::headless::Frame f = plat::headless::ReadFrame();
    return f.pixels[y * f.pitch + x] | 0xFF000000u;
}

struct Bounds {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};

Bounds NotGrey() {
    const plat::headless::Frame f = plat::headless::ReadFrame();
    Bounds b;
    for (int y = 0; y < f.height; ++y) {
        for (int x = 0; x < f.width; ++x) {
            if ((f.pixels[y * f.pitch + x] | 0xFF000000u) == GREY) continue;
            b.left = std::min(b.left, x);
            b.top = std::min(b.top, y);
            b.right = std::max(b.right, x + 1);
            b.bottom = std::max(b.bottom, y + 1);
            ++b.count;
        }
    }
    return b;
}

class Drawing : public ShellFixture {
protected:
    void Use(int entry, const std::string& path) {
        ReleaseTexture(entry);
        g_textures[entry] = plat::LoadTexture(path.c_str());
        ASSERT_NE(g_textures[entry], nullptr);
    }
};

TEST_F(Drawing, ACellAtScaleFourCoversExactly64PixelsSquareFromItsPosition) {
    Use(1, WritePicture("strip.png", 64, 16,
                        [](int x, int) { return x < 16 ? 0xFFFF0000u : 0xFF0000FFu; }));
    plat::Clear(GREY);
    const Rect cell0{0, 0, 16, 16};
    DrawSprite(1, &cell0, Vec3{100, 50, 0}, COLOR_WHITE, 4.0f);
    const Bounds b = NotGrey();
    EXPECT_EQ(b.left, 100);
    EXPECT_EQ(b.top, 50);
    EXPECT_EQ(b.right, 164);
    EXPECT_EQ(b.bottom, 114);
    EXPECT_EQ(b.count, 64 * 64);
    EXPECT_EQ(Pixel(163, 113), 0xFFFF0000u);  // only cell 0, never its blue neighbour
}

TEST_F(Drawing, AGreyColourDarkensAndTransparencyComesFromThePicture) {
    Use(2, WritePicture("half.png", 16, 16,
                        [](int x, int) { return x < 8 ? 0xFFFFFFFFu : 0x00FFFFFFu; }));
    plat::Clear(GREY);
    DrawSprite(2, nullptr, Vec3{0, 0, 0}, FadeColor(128));
    EXPECT_EQ(Pixel(3, 3), 0xFF808080u);
    EXPECT_EQ(Pixel(12, 3), GREY);
    DrawSprite(2, nullptr, Vec3{20, 0, 0}, FadeColor(0));
    EXPECT_EQ(Pixel(23, 3), 0xFF000000u);
}

TEST_F(Drawing, EmptyOrOutOfRangeEntriesDrawNothing) {
    ReleaseTexture(3);
    plat::Clear(GREY);
    DrawSprite(3, nullptr, Vec3{0, 0, 0}, COLOR_WHITE, 4.0f);
    DrawSprite(-1, nullptr, Vec3{0, 0, 0}, COLOR_WHITE);
    DrawSprite(TEXTURE_COUNT, nullptr, Vec3{0, 0, 0}, COLOR_WHITE);
    EXPECT_EQ(NotGrey().count, 0);
    EXPECT_EQ(LoadTexture("img/1.dat", TEXTURE_COUNT), -1);
    EXPECT_EQ(LoadTexture("img/1.dat", -1), -1);
}

TEST_F(Drawing, TheTransformPersistsIntoTheNextBatchUntilSetAgain) {
    Use(4, WritePicture("dot.png", 4, 4, [](int, int) { return 0xFFFFFFFFu; }));
    DrawSprite(4, nullptr, Vec3{10, 10, 0}, COLOR_WHITE, 2.5f);
    plat::Clear(GREY);
    const Vec3 pos{10, 10, 0};
    g_pSprite->Draw(TextureEntry(4), nullptr, pos, COLOR_WHITE);
    EXPECT_EQ(NotGrey().count, 10 * 10);
    // A full-screen toggle makes a new sprite object, whose transform is the identity.
    ToggleFullscreen();
    plat::Clear(GREY);
    g_pSprite->Draw(TextureEntry(4), nullptr, pos, COLOR_WHITE);
    EXPECT_EQ(NotGrey().count, 4 * 4);
}

TEST_F(Drawing, APictureTallerThanATextureIsSplitIntoTilesThatDrawAsOne) {
    Use(5, WritePicture("tall.png", 8, 5000, [](int, int y) {
            const uint32_t v = static_cast<uint32_t>(y % 251);
            return 0xFF000000u | (v << 16) | (v << 8) | v;
        }));
    EXPECT_EQ(plat::TextureHeight(TextureEntry(5)), 5000);
    plat::Clear(GREY);
    const Rect across{0, 4090, 8, 4102};  // straddles the 4096 tile edge
    DrawSprite(5, &across, Vec3{0, 0, 0}, COLOR_WHITE);
    for (int row = 0; row < 12; ++row) {
        const uint32_t v = static_cast<uint32_t>((4090 + row) % 251);
        EXPECT_EQ(Pixel(3, row), 0xFF000000u | (v << 16) | (v << 8) | v) << row;
    }
}

// The real window makes tall pictures in bands as they come into view: drawn across a band's
// edge, at a position between pixels, and after a later band was made first, they are one picture.
TEST_F(Drawing, ATallPictureInBandsDrawsAsOne) {
    plat::common::AttachRenderer(plat::common::g_renderer, 256);
    Use(5, WritePicture("banded.png", 8, 1000, [](int, int y) {
            const uint32_t v = static_cast<uint32_t>(y % 251);
            return 0xFF000000u | (v << 16) | (v << 8) | v;
        }));
    plat::Clear(GREY);
    const Rect late{0, 700, 8, 702};
    DrawSprite(5, &late, Vec3{0, 20, 0}, COLOR_WHITE);
    const Rect across{0, 250, 8, 262};
    DrawSprite(5, &across, Vec3{0, 0.5f, 0}, COLOR_WHITE);
    plat::common::AttachRenderer(plat::common::g_renderer, 0);
    for (int row = 0; row < 12; ++row) {
        const uint32_t v = static_cast<uint32_t>((250 + row) % 251);
        EXPECT_EQ(Pixel(3, row), 0xFF000000u | (v << 16) | (v << 8) | v) << row;
    }
    EXPECT_EQ(Pixel(3, 20), 0xFF000000u | (198u << 16) | (198u << 8) | 198u);  // 700 % 251
    EXPECT_EQ(Pixel(3, 12), GREY);
}

TEST_F(Drawing, TheTextureTableReleasesOnce) {
    EXPECT_EQ(g_textureCount, TEXTURE_COUNT);
    EXPECT_EQ(ReleaseTextures(), 1);
    EXPECT_EQ(g_textureCount, 0);
    EXPECT_EQ(ReleaseTextures(), 0);
    EXPECT_EQ(TextureEntry(0), nullptr);
}

TEST_F(Drawing, AFrameIsClearedToGreyAndDrawsEveryTask) {
    DrawFrame();
    EXPECT_EQ(Pixel(0, 0), GREY);
    EXPECT_EQ(Pixel(799, 599), GREY);
}

}  // namespace
