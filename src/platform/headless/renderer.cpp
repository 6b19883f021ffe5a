#include "platform/renderer.h"

#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/common/png_write.h"
#include "platform/common/sdl_render.h"
#include "platform/headless/headless.h"

namespace plat {
namespace {

common::PixelMemory g_pixels;
SDL_Surface* g_surface = nullptr;
SDL_Renderer* g_software = nullptr;
bool g_isWindowed = true;
// The picture as last shown with an overlay, and whether the overlay is what shows now.
SDL_Surface* g_shown = nullptr;
SDL_Renderer* g_shownRenderer = nullptr;
bool g_overlaid = false;

}  // namespace

RendererResult CreateRenderer(int width, int height, bool windowed) {
    g_isWindowed = windowed;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // The picture's memory stays untouched, and so costs nothing, until something is drawn.
    const int pitch = width * 4;
    g_pixels = common::PixelMemory::Zeroed(size_t(pitch) * size_t(height));
    if (g_pixels.data() == nullptr) return RendererResult::NoVideo;
    g_surface = SDL_CreateRGBSurfaceWithFormatFrom(g_pixels.data(), width, height, 32, pitch,
                                                   SDL_PIXELFORMAT_ARGB8888);
    if (g_surface == nullptr) return RendererResult::NoVideo;
    g_software = SDL_CreateSoftwareRenderer(g_surface);
    if (g_software == nullptr) return RendererResult::NoDevice;
    common::AttachRenderer(g_software);
    return RendererResult::Ok;
}

void DestroyRenderer() {
    common::DetachRenderer();
    if (g_shownRenderer != nullptr) SDL_DestroyRenderer(g_shownRenderer);
    if (g_shown != nullptr) SDL_FreeSurface(g_shown);
    g_shownRenderer = nullptr;
    g_shown = nullptr;
    g_overlaid = false;
    if (g_software != nullptr) SDL_DestroyRenderer(g_software);
    if (g_surface != nullptr) SDL_FreeSurface(g_surface);
    g_software = nullptr;
    g_surface = nullptr;
    g_pixels = common::PixelMemory();
}

bool ResetRenderer(bool windowed) {
    g_isWindowed = windowed;
    return true;
}

void SetIntegerScale(bool /*on*/) {}

void Present() {
    if (g_software != nullptr) SDL_RenderFlush(g_software);
    g_overlaid = false;
}

// What the window would show is kept apart from the picture, which stays as it was drawn.
void PresentOverlay(uint32_t shadeArgb, const FillRect* rects, int count) {
    if (g_surface == nullptr) return;
    SDL_RenderFlush(g_software);
    if (g_shown == nullptr) {
        g_shown = SDL_CreateRGBSurfaceWithFormat(0, g_surface->w, g_surface->h, 32,
                                                 SDL_PIXELFORMAT_ARGB8888);
        g_shownRenderer = g_shown != nullptr ? SDL_CreateSoftwareRenderer(g_shown) : nullptr;
        if (g_shownRenderer == nullptr) return;
        SDL_SetRenderDrawBlendMode(g_shownRenderer, SDL_BLENDMODE_BLEND);
    }
    SDL_SetSurfaceBlendMode(g_surface, SDL_BLENDMODE_NONE);
    SDL_BlitSurface(g_surface, nullptr, g_shown, nullptr);
    auto fill = [](const SDL_Rect* rect, uint32_t argb) {
        SDL_SetRenderDrawColor(g_shownRenderer, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF,
                               argb & 0xFF, argb >> 24);
        SDL_RenderFillRect(g_shownRenderer, rect);
    };
    fill(nullptr, shadeArgb);
    for (int i = 0; i < count; ++i) {
        const SDL_Rect rect = {rects[i].x, rects[i].y, rects[i].w, rects[i].h};
        fill(&rect, rects[i].argb);
    }
    SDL_RenderFlush(g_shownRenderer);
    g_overlaid = true;
}

// The headless window is the picture itself.
bool PictureFromWindow(int x, int y, int* pictureX, int* pictureY) {
    if (g_surface == nullptr || x < 0 || y < 0 || x >= g_surface->w || y >= g_surface->h) {
        return false;
    }
    *pictureX = x;
    *pictureY = y;
    return true;
}

bool SavePicture(const char* path, std::string* why) {
    return headless::SaveFramePNG(path, why);
}

namespace headless {

Frame ReadFrame() {
    Frame frame;
    if (g_surface == nullptr) return frame;
    SDL_RenderFlush(g_software);
    frame.pixels = static_cast<const uint32_t*>(g_surface->pixels);
    frame.width = g_surface->w;
    frame.height = g_surface->h;
    frame.pitch = g_surface->pitch / 4;
    return frame;
}

Frame ReadShownFrame() {
    if (!g_overlaid || g_shown == nullptr) return ReadFrame();
    Frame frame;
    frame.pixels = static_cast<const uint32_t*>(g_shown->pixels);
    frame.width = g_shown->w;
    frame.height = g_shown->h;
    frame.pitch = g_shown->pitch / 4;
    return frame;
}

bool SaveFramePNG(const char* path, std::string* why) {
    if (g_surface == nullptr) {
        *why = "nothing has been drawn";
        return false;
    }
    SDL_RenderFlush(g_software);
    std::vector<uint8_t> rgb(size_t(g_surface->w) * g_surface->h * 3);
    if (SDL_ConvertPixels(g_surface->w, g_surface->h, g_surface->format->format, g_surface->pixels,
                          g_surface->pitch, SDL_PIXELFORMAT_RGB24, rgb.data(),
                          g_surface->w * 3) != 0) {
        *why = SDL_GetError();
        return false;
    }
    return common::WritePng(path, g_surface->w, g_surface->h, rgb.data(), why);
}

bool IsWindowed() {
    return g_isWindowed;
}

}  // namespace headless
}  // namespace plat
