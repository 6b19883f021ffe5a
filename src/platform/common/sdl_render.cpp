#include "platform/common/sdl_render.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/common/bytes.h"
#include "platform/common/png_check.h"
#include "platform/common/read_file.h"
#include "platform/renderer.h"

namespace plat {

// A picture as one or more textures: a picture larger than the renderer's largest texture
// is split into tiles that draw as one.
struct Texture {
    struct Tile {
        SDL_Texture* texture;
        int x, y, w, h;  // where the tile lies in the picture
    };
    int width = 0;
    int height = 0;
    std::vector<Tile> tiles;
};

namespace common {

SDL_Renderer* g_renderer = nullptr;

namespace {

int g_maxTextureSide = 4096;

// ABGR8888 to ARGB8888 in place: the same pixels with red and blue trading places.
void SwapRedAndBlue(SDL_Surface* surface) {
    for (int y = 0; y < surface->h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                                static_cast<ptrdiff_t>(y) * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            const uint32_t v = row[x];
            row[x] = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
        }
    }
}

}  // namespace

void AttachRenderer(SDL_Renderer* renderer) {
    g_renderer = renderer;
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_RendererInfo info;
    g_maxTextureSide = 4096;
    if (SDL_GetRendererInfo(renderer, &info) == 0) {
        const int side = std::min(info.max_texture_width, info.max_texture_height);
        if (side > 0) g_maxTextureSide = side;
    }
}

void DetachRenderer() {
    g_renderer = nullptr;
}

bool PictureHeaderTooLarge(const uint8_t* data, size_t size, int64_t* width, int64_t* height) {
    int64_t w = -1, h = -1;
    if (size >= 24 && Be32(data) == 0x89504E47u && Be32(data + 12) == 0x49484452u) {
        w = Be32(data + 16);  // PNG: IHDR comes first
        h = Be32(data + 20);
    } else if (size >= 26 && data[0] == 'B' && data[1] == 'M') {
        w = static_cast<int32_t>(Le32(data + 18));
        h = static_cast<int32_t>(Le32(data + 22));
        if (h < 0) h = -h;
    } else if (size >= 10 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F') {
        w = Le16(data + 6);
        h = Le16(data + 8);
    } else if (size >= 12 && data[0] == 'q' && data[1] == 'o' && data[2] == 'i' && data[3] == 'f') {
        w = Be32(data + 4);
        h = Be32(data + 8);
    }
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
    if (w < 0 || h < 0) return false;  // unknown header: the decoder and its own limits decide
    return w > MAX_PICTURE_SIDE || h > MAX_PICTURE_SIDE || w * h > MAX_PICTURE_PIXELS;
}

}  // namespace common

using common::g_renderer;

Texture* LoadTexture(const char* path) {
    common::FileBytes bytes;
    if (!bytes.Open(path)) {
        std::fprintf(stderr, "tinselrun: %s: cannot open picture\n", path);
        return nullptr;
    }
    return common::LoadTextureFromMemory(bytes.data(), bytes.size(), path);
}

namespace common {

Texture* LoadTextureFromMemory(const uint8_t* data, size_t size, const char* path) {
    int64_t w = 0, h = 0;
    if (size == 0) {
        std::fprintf(stderr, "tinselrun: %s: empty picture file\n", path);
        return nullptr;
    }
    if (common::PictureHeaderTooLarge(data, size, &w, &h)) {
        std::fprintf(stderr, "tinselrun: %s: picture claims %lld x %lld pixels, refused\n", path,
                     static_cast<long long>(w), static_cast<long long>(h));
        return nullptr;
    }
    if (size >= 8 && Be32(data) == 0x89504E47u && !PngChunksIntact(data, size)) {
        std::fprintf(stderr, "tinselrun: %s: truncated or corrupt PNG picture, refused\n", path);
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (rw == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: cannot read picture (%s)\n", path, SDL_GetError());
        return nullptr;
    }
    // The formats a picture file has always been allowed to be, told apart by content. GIF and PNM
    // are not: their readers could be made to allocate gigabytes by a file of a few bytes.
    const char* type = IMG_isPNG(rw)   ? "PNG"
                       : IMG_isBMP(rw) ? "BMP"
                       : IMG_isJPG(rw) ? "JPG"
                                       : nullptr;
    if (type == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: not a picture (PNG, BMP or JPEG)\n", path);
        SDL_RWclose(rw);
        return nullptr;
    }
    SDL_Surface* loaded = IMG_LoadTyped_RW(rw, 1, type);
    if (loaded == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: not a picture (%s)\n", path, IMG_GetError());
        return nullptr;
    }
    if (loaded->w > common::MAX_PICTURE_SIDE || loaded->h > common::MAX_PICTURE_SIDE) {
        std::fprintf(stderr, "tinselrun: %s: picture of %d x %d pixels refused\n", path, loaded->w,
                     loaded->h);
        SDL_FreeSurface(loaded);
        return nullptr;
    }
    SDL_Surface* surface = nullptr;
    if (loaded->format->format == SDL_PIXELFORMAT_ABGR8888 && !SDL_HasColorKey(loaded) &&
        !SDL_MUSTLOCK(loaded)) {
        // What the converter would make of it, without a second picture-sized copy.
        SwapRedAndBlue(loaded);
        surface = loaded;
    } else {
        surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(loaded);
    }
    if (surface == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: cannot convert picture (%s)\n", path, SDL_GetError());
        return nullptr;
    }
    auto* texture = new Texture;
    texture->width = surface->w;
    texture->height = surface->h;
    const int side = common::g_maxTextureSide;
    bool ok = g_renderer != nullptr;
    for (int ty = 0; ok && ty < surface->h; ty += side) {
        for (int tx = 0; ok && tx < surface->w; tx += side) {
            const int tw = std::min(side, surface->w - tx);
            const int th = std::min(side, surface->h - ty);
            SDL_Texture* tile = SDL_CreateTexture(g_renderer, SDL_PIXELFORMAT_ARGB8888,
                                                  SDL_TEXTUREACCESS_STATIC, tw, th);
            if (tile == nullptr) {
                ok = false;
                break;
            }
            const auto* pixels =
                static_cast<const uint8_t*>(surface->pixels) + ty * surface->pitch + tx * 4;
            SDL_UpdateTexture(tile, nullptr, pixels, surface->pitch);
            SDL_SetTextureBlendMode(tile, SDL_BLENDMODE_BLEND);
            SDL_SetTextureScaleMode(tile, SDL_ScaleModeNearest);
            texture->tiles.push_back({tile, tx, ty, tw, th});
        }
    }
    SDL_FreeSurface(surface);
    if (!ok) {
        std::fprintf(stderr, "tinselrun: %s: cannot make a texture (%s)\n", path, SDL_GetError());
        DestroyTexture(texture);
        return nullptr;
    }
    return texture;
}

}  // namespace common

void DestroyTexture(Texture* texture) {
    if (texture == nullptr) return;
    for (const Texture::Tile& tile : texture->tiles) SDL_DestroyTexture(tile.texture);
    delete texture;
}

int TextureWidth(const Texture* texture) {
    return texture != nullptr ? texture->width : 0;
}
int TextureHeight(const Texture* texture) {
    return texture != nullptr ? texture->height : 0;
}

void DrawTexture(const Texture* texture, const int32_t* src, float x, float y, uint32_t argb,
                 float scale, float cx, float cy) {
    if (texture == nullptr || g_renderer == nullptr) return;
    int32_t left = 0, top = 0, right = texture->width, bottom = texture->height;
    if (src != nullptr) {
        left = src[0];
        top = src[1];
        right = src[2];
        bottom = src[3];
    }
    // The picture lies at the top-left of a texture that is transparent beyond it, so only
    // the part of the source inside the picture has anything to draw.
    const float ox = scale * (x - cx) + cx;
    const float oy = scale * (y - cy) + cy;
    const Uint8 a = static_cast<Uint8>(argb >> 24), r = static_cast<Uint8>(argb >> 16);
    const Uint8 g = static_cast<Uint8>(argb >> 8), b = static_cast<Uint8>(argb);
    for (const Texture::Tile& tile : texture->tiles) {
        const int l = std::max<int>(left, tile.x), t = std::max<int>(top, tile.y);
        const int rr = std::min<int>(right, tile.x + tile.w),
                  bb = std::min<int>(bottom, tile.y + tile.h);
        if (l >= rr || t >= bb) continue;
        const SDL_Rect from = {l - tile.x, t - tile.y, rr - l, bb - t};
        const SDL_FRect to = {
            ox + scale * static_cast<float>(l - left), oy + scale * static_cast<float>(t - top),
            scale * static_cast<float>(rr - l), scale * static_cast<float>(bb - t)};
        SDL_SetTextureColorMod(tile.texture, r, g, b);
        SDL_SetTextureAlphaMod(tile.texture, a);
        SDL_RenderCopyF(g_renderer, tile.texture, &from, &to);
    }
}

void DrawLineStrip(const float* xy, int points, uint32_t argb) {
    if (g_renderer == nullptr || points < 2) return;
    std::vector<SDL_FPoint> strip(static_cast<size_t>(points));
    for (int i = 0; i < points; ++i) strip[i] = {xy[2 * i], xy[2 * i + 1]};
    SDL_SetRenderDrawColor(g_renderer, static_cast<Uint8>(argb >> 16),
                           static_cast<Uint8>(argb >> 8), static_cast<Uint8>(argb),
                           static_cast<Uint8>(argb >> 24));
    SDL_RenderDrawLinesF(g_renderer, strip.data(), points);
}

void FillRects(const FillRect* rects, int count) {
    if (g_renderer == nullptr) return;
    for (int i = 0; i < count; ++i) {
        const FillRect& r = rects[i];
        const SDL_Rect rect = {r.x, r.y, r.w, r.h};
        SDL_SetRenderDrawColor(g_renderer, static_cast<Uint8>(r.argb >> 16),
                               static_cast<Uint8>(r.argb >> 8), static_cast<Uint8>(r.argb),
                               static_cast<Uint8>(r.argb >> 24));
        SDL_RenderFillRect(g_renderer, &rect);
    }
}

void Clear(uint32_t argb) {
    if (g_renderer == nullptr) return;
    SDL_SetRenderDrawColor(g_renderer, static_cast<Uint8>(argb >> 16),
                           static_cast<Uint8>(argb >> 8), static_cast<Uint8>(argb),
                           static_cast<Uint8>(argb >> 24));
    SDL_RenderClear(g_renderer);
}

bool BeginScene() {
    return g_renderer != nullptr;
}
void EndScene() {}

}  // namespace plat
