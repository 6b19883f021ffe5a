// Renderer and sprite drawing: stands in for the Direct3D 9 device and the D3DX sprite object.
#pragma once

#include <cstdint>

namespace plat {

struct Texture;  // opaque: a picture loaded by content, possibly split into tiles

enum class RendererResult {
    Ok,
    NoVideo,   // Direct3DCreate9 gave no object
    NoDevice,  // every device setting failed
    NoSprite,  // D3DXCreateSprite failed
};

// Direct3DCreate9 + CreateDevice (three attempts: accelerated with vsync, accelerated,
// software) + D3DXCreateSprite, on the game window. The picture is width x height.
RendererResult CreateRenderer(int width, int height, bool windowed);
void DestroyRenderer();

// IDirect3DDevice9::Reset for the full-screen toggle. Returns false when it fails.
bool ResetRenderer(bool windowed);

// Clear, BeginScene / EndScene, Present.
void Clear(uint32_t argb);
bool BeginScene();
void EndScene();
void Present();

// D3DXCreateTextureFromFileExA: loads any picture SDL_image reads, by content.
// Returns nullptr (after one stderr line naming the file) when it cannot.
Texture* LoadTexture(const char* path);
void DestroyTexture(Texture* texture);
int TextureWidth(const Texture* texture);
int TextureHeight(const Texture* texture);

// ID3DXSprite::Draw with the transform x' = scale * (x - cx) + cx (uniform scale about a point;
// scale 1 is the identity). src is left, top, right, bottom in texture pixels, or nullptr for
// the whole picture. color is ARGB and modulates the picture. Alpha blending is always on.
void DrawTexture(const Texture* texture, const int32_t* src, float x, float y, uint32_t argb,
                 float scale, float cx, float cy);

// ID3DXLine::Draw of a strip of points, one pixel wide.
void DrawLineStrip(const float* xy, int points, uint32_t argb);

}  // namespace plat
