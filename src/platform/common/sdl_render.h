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
void AttachRenderer(SDL_Renderer* renderer);
void DetachRenderer();

// The picture loader behind LoadTexture, on bytes already read (and copied); name is for the
// error lines. The file is checked now; its pixels are decoded and made a texture when it is
// first drawn, or by MakeNextTextureReady.
Texture* LoadTextureFromMemory(const uint8_t* data, size_t size, const char* name);

// Makes one loaded picture that has not been drawn yet ready to draw (the largest), so that its
// first draw costs no frame; false when every one is ready.
bool MakeNextTextureReady();

}  // namespace plat::common
