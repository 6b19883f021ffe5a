// Drawing over an SDL renderer, shared by the real and the headless backend.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

#include "platform/renderer.h"

namespace plat::common {

// The renderer every draw goes to; the backend creates it and clears it again.
extern SDL_Renderer* g_renderer;

// Prepares the drawing state of a freshly made renderer (blend mode, nearest filtering).
void AttachRenderer(SDL_Renderer* renderer);
void DetachRenderer();

// Reads the first bytes of a picture and refuses one whose header claims more than
// MAX_PICTURE_SIDE pixels on a side or MAX_PICTURE_PIXELS in all, before it is decoded.
constexpr int64_t MAX_PICTURE_SIDE = 16384;
constexpr int64_t MAX_PICTURE_PIXELS = 64ll * 1024 * 1024;
bool PictureHeaderTooLarge(const uint8_t* data, size_t size, int64_t* width, int64_t* height);

// The picture loader behind LoadTexture, on bytes already read; name is for the error line.
Texture* LoadTextureFromMemory(const uint8_t* data, size_t size, const char* name);

}  // namespace plat::common
