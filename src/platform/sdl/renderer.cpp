#include "platform/renderer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/common/png_write.h"
#include "platform/common/sdl_render.h"
#include "platform/sdl/sdl_backend.h"

namespace plat {
namespace {

SDL_Renderer* g_device = nullptr;
SDL_Texture* g_backBuffer = nullptr;  // the 800 x 600 picture, stretched to the window
int g_width = 0, g_height = 0;
bool g_integerScale = false;
long long g_presented = 0;  // frames presented

}  // namespace

RendererResult CreateRenderer(int width, int height, bool windowed) {
    if (sdl::g_window == nullptr) return RendererResult::NoVideo;
    g_width = width;
    g_height = height;
    g_presented = 0;
    if (!windowed) sdl::SetFullscreen(true);
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
    // Tall pictures in bands of 256 rows: the opening's first frame makes only what it shows
    // (about 5 MB of the 13.4 its two layers hold), the rest is made a band a frame after it.
    common::AttachRenderer(g_device, 256);
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
    return sdl::SetFullscreen(!windowed);
}

void SetIntegerScale(bool on) {
    g_integerScale = on;
}

namespace {

// Copies the picture to the window, laid out to fit, and returns where it went.
SDL_Rect ShowPicture() {
    SDL_SetRenderTarget(g_device, nullptr);
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(g_device, &outW, &outH);
    // Window and full screen alike: the picture whole, its shape kept, black bars round it.
    const PictureRect fit = FitPicture(outW, outH, g_width, g_height, g_integerScale);
    const SDL_Rect to = {fit.x, fit.y, fit.w, fit.h};
    SDL_SetRenderDrawColor(g_device, 0, 0, 0, 255);
    SDL_RenderClear(g_device);
    SDL_RenderCopy(g_device, g_backBuffer, nullptr, &to);
    return to;
}

void Fill(const SDL_Rect& rect, uint32_t argb) {
    SDL_SetRenderDrawColor(g_device, (argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF,
                           argb >> 24);
    SDL_RenderFillRect(g_device, &rect);
}

}  // namespace

void Present() {
    if (g_device == nullptr) return;
    ShowPicture();
    SDL_RenderPresent(g_device);
    SDL_SetRenderTarget(g_device, g_backBuffer);
    // The time until the next tick is the loop's to spare: from the second frame on, one
    // picture not drawn yet is made ready in it, so that no later frame waits for its own.
    if (g_presented++ > 0) common::MakeNextTextureReady();
}

void PresentOverlay(uint32_t shadeArgb, const FillRect* rects, int count) {
    if (g_device == nullptr) return;
    const SDL_Rect to = ShowPicture();
    SDL_BlendMode kept = SDL_BLENDMODE_NONE;
    SDL_GetRenderDrawBlendMode(g_device, &kept);
    SDL_SetRenderDrawBlendMode(g_device, SDL_BLENDMODE_BLEND);
    Fill(to, shadeArgb);
    // Picture pixels to window pixels, edges rounded the same way so neighbours meet.
    auto edgeX = [&](int64_t x) { return to.x + static_cast<int>(x * to.w / g_width); };
    auto edgeY = [&](int64_t y) { return to.y + static_cast<int>(y * to.h / g_height); };
    for (int i = 0; i < count; ++i) {
        const FillRect& r = rects[i];
        const int x = edgeX(r.x), y = edgeY(r.y);
        Fill({x, y, edgeX(r.x + r.w) - x, edgeY(r.y + r.h) - y}, r.argb);
    }
    SDL_SetRenderDrawBlendMode(g_device, kept);
    SDL_RenderPresent(g_device);
    SDL_SetRenderTarget(g_device, g_backBuffer);
}

bool PictureFromWindow(int x, int y, int* pictureX, int* pictureY) {
    if (g_device == nullptr || sdl::g_window == nullptr) return false;
    // Events count in the window's points, the picture is laid out in the renderer's pixels.
    int winW = 0, winH = 0, outW = 0, outH = 0;
    SDL_GetWindowSize(sdl::g_window, &winW, &winH);
    SDL_GetRendererOutputSize(g_device, &outW, &outH);
    if (winW <= 0 || winH <= 0) return false;
    const PictureRect fit = FitPicture(outW, outH, g_width, g_height, g_integerScale);
    if (fit.w <= 0 || fit.h <= 0) return false;
    const int64_t ox = int64_t{x} * outW / winW - fit.x, oy = int64_t{y} * outH / winH - fit.y;
    if (ox < 0 || oy < 0 || ox >= fit.w || oy >= fit.h) return false;
    *pictureX = static_cast<int>(ox * g_width / fit.w);
    *pictureY = static_cast<int>(oy * g_height / fit.h);
    return true;
}

bool SavePicture(const char* path, std::string* why) {
    if (g_device == nullptr) {
        *why = "nothing has been drawn";
        return false;
    }
    std::vector<uint8_t> rgb(size_t(g_width) * g_height * 3);
    if (SDL_SetRenderTarget(g_device, g_backBuffer) != 0 ||
        SDL_RenderReadPixels(g_device, nullptr, SDL_PIXELFORMAT_RGB24, rgb.data(), g_width * 3) !=
            0) {
        *why = SDL_GetError();
        return false;
    }
    return common::WritePng(path, g_width, g_height, rgb.data(), why);
}

}  // namespace plat
