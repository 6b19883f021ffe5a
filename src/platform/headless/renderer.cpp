#include "platform/renderer.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

#include "platform/common/sdl_render.h"
#include "platform/headless/headless.h"

namespace plat {
namespace {

common::PixelMemory g_pixels;
SDL_Surface* g_surface = nullptr;
SDL_Renderer* g_software = nullptr;
bool g_isWindowed = true;

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
}

// Nothing is on screen here: the drawn picture is what tests read, overlay or not.
void PresentOverlay(uint32_t /*shadeArgb*/, const FillRect* /*rects*/, int /*count*/) {
    Present();
}

bool SavePicture(const char* path) {
    return headless::SaveFramePNG(path);
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

bool SaveFramePNG(const char* path) {
    if (g_surface == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: nothing has been drawn\n", path);
        return false;
    }
    SDL_RenderFlush(g_software);
    if (IMG_SavePNG(g_surface, path) != 0) {
        std::fprintf(stderr, "tinselrun: %s: cannot write picture (%s)\n", path, IMG_GetError());
        return false;
    }
    return true;
}

bool IsWindowed() {
    return g_isWindowed;
}

}  // namespace headless
}  // namespace plat
