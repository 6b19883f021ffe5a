// Drawing over an SDL renderer, shared by the real and the headless backend.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

#include "platform/common/picture.h"
#include "platform/renderer.h"

namespace plat::common {

// The renderer every draw goes to; the backend creates it and clears it again.
extern SDL_Renderer* g_renderer;

// Prepares the drawing state of a freshly made renderer (blend mode, nearest filtering).
// bandRows, when not 0, splits pictures into tiles at most that tall, each made when first
// drawn, so that a tall picture's first frame costs only what it shows.
void AttachRenderer(SDL_Renderer* renderer, int bandRows = 0);
void DetachRenderer();

// The picture loader behind LoadTexture, on bytes already read (and copied); name is for the
// error lines. The file is checked now; its pixels are decoded and made a texture when it is
// first drawn, or by MakeNextTextureReady.
Texture* LoadTextureFromMemory(const uint8_t* data, size_t size, const char* name);

// Makes one more part of the loaded pictures ready to draw (a tile, or the largest picture
// waiting), so that a first draw costs no frame; false when every one is ready.
bool MakeNextTextureReady();

}  // namespace plat::common
