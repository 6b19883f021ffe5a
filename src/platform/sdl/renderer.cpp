#include "platform/renderer.h"

#include <SDL.h>

#include <algorithm>

#include "platform/common/sdl_render.h"
#include "platform/sdl/sdl_backend.h"

namespace plat {
namespace {

SDL_Renderer* g_device = nullptr;
SDL_Texture* g_backBuffer = nullptr;  // the 800 x 600 picture, stretched to the window
int g_width = 0, g_height = 0;
bool g_isWindowed = true;

}  // namespace

RendererResult CreateRenderer(int width, int height, bool windowed) {
    if (sdl::g_window == nullptr) return RendererResult::NoVideo;
    g_width = width;
    g_height = height;
    g_isWindowed = windowed;
    // The three device settings, best first.
    const Uint32 attempts[] = {SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC,
                               SDL_RENDERER_ACCELERATED, SDL_RENDERER_SOFTWARE};
    for (Uint32 flags : attempts) {
        g_device = SDL_CreateRenderer(sdl::g_window, -1, flags);
        if (g_device != nullptr) break;
    }
    if (g_device == nullptr) return RendererResult::NoDevice;
    g_backBuffer = SDL_CreateTexture(g_device, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                     width, height);
    if (g_backBuffer == nullptr) return RendererResult::NoSprite;
    SDL_SetTextureScaleMode(g_backBuffer, SDL_ScaleModeNearest);
    SDL_SetRenderTarget(g_device, g_backBuffer);
    common::AttachRenderer(g_device);
    return RendererResult::Ok;
}

void DestroyRenderer() {
    common::DetachRenderer();
    if (g_backBuffer != nullptr) SDL_DestroyTexture(g_backBuffer);
    if (g_device != nullptr) SDL_DestroyRenderer(g_device);
    g_backBuffer = nullptr;
    g_device = nullptr;
}

bool ResetRenderer(bool windowed) {
    if (sdl::g_window == nullptr) return false;
    const Uint32 mode = windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (SDL_SetWindowFullscreen(sdl::g_window, mode) != 0) return false;
    g_isWindowed = windowed;
    return true;
}

void Present() {
    if (g_device == nullptr) return;
    SDL_SetRenderTarget(g_device, nullptr);
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(g_device, &outW, &outH);
    SDL_Rect to = {0, 0, outW, outH};
    if (!g_isWindowed && outW > 0 && outH > 0) {
        // Full screen keeps the picture's aspect; a window stretches it.
        const double s =
            std::min(static_cast<double>(outW) / g_width, static_cast<double>(outH) / g_height);
        to.w = static_cast<int>(g_width * s);
        to.h = static_cast<int>(g_height * s);
        to.x = (outW - to.w) / 2;
        to.y = (outH - to.h) / 2;
    }
    SDL_SetRenderDrawColor(g_device, 0, 0, 0, 255);
    SDL_RenderClear(g_device);
    SDL_RenderCopy(g_device, g_backBuffer, nullptr, &to);
    SDL_RenderPresent(g_device);
    SDL_SetRenderTarget(g_device, g_backBuffer);
}

}  // namespace plat
