#include "platform/common/sdl_render.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/read_file.h"
#include "platform/renderer.h"

namespace plat {

// A picture as one or more textures: a picture larger than the renderer's largest texture, or
// taller than a band where the backend asks for bands, is split into tiles that draw as one.
// Loading only checks the file; it is decoded when first drawn (or made ready ahead of that), and
// each tile is made when a draw first reaches it: the first frame of a tall picture that scrolls
// makes only the part it shows.
struct Texture {
    struct Tile {
        SDL_Texture* texture;  // null until first drawn
        int x, y, w, h;        // where the tile lies in the picture
    };
    // The checked file, until the tiles are made.
    struct Pending {
        common::FileBytes file;
        std::string name;
        common::CheckedPicture picture;
    };
    int width = 0;
    int height = 0;
    mutable std::vector<Tile> tiles;
    mutable std::unique_ptr<Pending> pending;
    mutable common::Picture decoded;  // the pixels, while a tile is still to be made
    mutable std::string name;         // for the line of a tile that cannot be made
};

namespace common {

SDL_Renderer* g_renderer = nullptr;

namespace {

int g_maxTextureSide = 4096;
int g_bandRows = 0;  // the tallest tile the backend wants; 0: as tall as a texture may be
// Loaded pictures not decoded yet, and decoded ones with tiles still to make.
std::vector<const Texture*> g_waiting;
std::vector<const Texture*> g_unfinished;

// Checks a picture file (one line when it fails) and keeps it to be made when first drawn.
Texture* LoadChecked(std::unique_ptr<Texture::Pending> pending) {
    if (!pending->picture.Check(pending->file.data(), pending->file.size(),
                                pending->name.c_str())) {
        return nullptr;
    }
    auto* texture = new Texture;
    texture->width = pending->picture.Width();
    texture->height = pending->picture.Height();
    texture->pending = std::move(pending);
    g_waiting.push_back(texture);
    return texture;
}

// Lays out the tiles of a decoded picture, none made yet.
void LayOutTiles(const Texture* texture) {
    const int side = g_maxTextureSide;
    const int rows = g_bandRows > 0 ? std::min(g_bandRows, side) : side;
    for (int ty = 0; ty < texture->height; ty += rows) {
        for (int tx = 0; tx < texture->width; tx += side) {
            texture->tiles.push_back({nullptr, tx, ty, std::min(side, texture->width - tx),
                                      std::min(rows, texture->height - ty)});
        }
    }
}

void Finished(const Texture* texture) {
    Recycle(&texture->decoded);
    g_unfinished.erase(std::remove(g_unfinished.begin(), g_unfinished.end(), texture),
                       g_unfinished.end());
    // Once every picture is made, the block kept for the next decoding goes too.
    if (g_waiting.empty() && g_unfinished.empty()) TrimPictureMemory(0);
}

// Makes one tile from the decoded pixels, and lets them go once every tile is made. A tile that
// cannot be made says so once, and the picture draws nothing.
void MakeTile(const Texture* texture, Texture::Tile* tile) {
    const Picture& picture = texture->decoded;
    const int pitch = picture.width * 4;
    tile->texture = SDL_CreateTexture(g_renderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_STATIC, tile->w, tile->h);
    if (tile->texture == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: cannot make a texture (%s)\n", texture->name.c_str(),
                     SDL_GetError());
        for (const Texture::Tile& made : texture->tiles) {
            if (made.texture != nullptr) SDL_DestroyTexture(made.texture);
        }
        texture->tiles.clear();
        Finished(texture);
        return;
    }
    const uint8_t* pixels = picture.memory.data() + size_t(tile->y) * pitch + size_t(tile->x) * 4;
    SDL_UpdateTexture(tile->texture, nullptr, pixels, pitch);
    SDL_SetTextureBlendMode(tile->texture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(tile->texture, SDL_ScaleModeNearest);
    if (std::all_of(texture->tiles.begin(), texture->tiles.end(),
                    [](const Texture::Tile& t) { return t.texture != nullptr; })) {
        Finished(texture);
    }
}

// The waiting picture with the most pixels.
const Texture* Largest() {
    return *std::max_element(g_waiting.begin(), g_waiting.end(), [](auto* a, auto* b) {
        return int64_t{a->width} * a->height < int64_t{b->width} * b->height;
    });
}

// What decoding a picture takes at most: its rows as they come out of the file.
size_t DecodedBytes(const Texture* texture) {
    return size_t(texture->height) * (size_t(texture->width) * 4 + 1);
}

// Decodes a loaded picture and lays out its tiles. Its name stays for a tile's failure.
void Make(const Texture* texture) {
    std::unique_ptr<Texture::Pending> pending = std::move(texture->pending);
    g_waiting.erase(std::remove(g_waiting.begin(), g_waiting.end(), texture), g_waiting.end());
    texture->name = std::move(pending->name);
    if (pending->picture.Decode(&texture->decoded)) {
        LayOutTiles(texture);
        g_unfinished.push_back(texture);
    }
    TrimPictureMemory(g_waiting.empty() ? 0 : DecodedBytes(Largest()));
}

}  // namespace

void AttachRenderer(SDL_Renderer* renderer, int bandRows) {
    g_renderer = renderer;
    g_bandRows = bandRows;
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

Texture* LoadTextureFromMemory(const uint8_t* data, size_t size, const char* name) {
    auto pending = std::make_unique<Texture::Pending>();
    pending->file.Assign(data, size);
    pending->name = name;
    return LoadChecked(std::move(pending));
}

// A tile of a picture already begun first, so that few are held decoded at once; then the
// largest picture waiting: once only small ones are left, the block they were decoded in goes.
bool MakeNextTextureReady() {
    if (g_renderer == nullptr) return false;
    if (!g_unfinished.empty()) {
        const Texture* texture = g_unfinished.front();
        for (Texture::Tile& tile : texture->tiles) {
            if (tile.texture == nullptr) {
                MakeTile(texture, &tile);
                break;
            }
        }
        return true;
    }
    if (g_waiting.empty()) return false;
    Make(Largest());
    return true;
}

}  // namespace common

using common::g_renderer;

Texture* LoadTexture(const char* path) {
    auto pending = std::make_unique<Texture::Pending>();
    std::string why;
    if (!pending->file.Open(path, &why)) {
        std::fprintf(stderr, "tinselrun: %s: cannot open picture: %s\n", path, why.c_str());
        return nullptr;
    }
    pending->name = path;
    return common::LoadChecked(std::move(pending));
}

void DestroyTexture(Texture* texture) {
    if (texture == nullptr) return;
    for (const Texture::Tile& tile : texture->tiles) {
        if (tile.texture != nullptr) SDL_DestroyTexture(tile.texture);
    }
    auto& waiting = common::g_waiting;
    waiting.erase(std::remove(waiting.begin(), waiting.end(), texture), waiting.end());
    common::Finished(texture);
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
    if (texture->pending) common::Make(texture);
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
    for (size_t i = 0; i < texture->tiles.size(); ++i) {
        Texture::Tile& tile = texture->tiles[i];
        const int l = std::max<int>(left, tile.x), t = std::max<int>(top, tile.y);
        const int rr = std::min<int>(right, tile.x + tile.w),
                  bb = std::min<int>(bottom, tile.y + tile.h);
        if (l >= rr || t >= bb) continue;
        if (tile.texture == nullptr) {
            common::MakeTile(texture, &tile);
            if (texture->tiles.empty()) return;  // it could not be made
        }
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
