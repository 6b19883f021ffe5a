// Renderer and sprite drawing: stands in for the Direct3D 9 device and the D3DX sprite object.
#pragma once

#include <cstdint>
#include <string>

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

// IDirect3DDevice9::Reset for the full-screen toggle. Returns false when it fails. Where the
// window system refuses full screen, a borderless window covers the display instead.
bool ResetRenderer(bool windowed);

// Where a picW x picH picture goes in an outW x outH window: as large as fits with its shape
// kept, centred, black bars round it. wholeMultiples keeps to 1x, 2x, 3x... of the picture
// (a window smaller than the picture still shrinks it to fit).
struct PictureRect {
    int x = 0, y = 0, w = 0, h = 0;
};
PictureRect FitPicture(int outW, int outH, int picW, int picH, bool wholeMultiples);
// Present lays the picture out by whole multiples only.
void SetIntegerScale(bool on);

// Clear, BeginScene / EndScene, Present.
void Clear(uint32_t argb);
bool BeginScene();
void EndScene();
void Present();

// Rectangles in picture pixels, ARGB, blended over what lies beneath.
struct FillRect {
    int32_t x, y, w, h;
    uint32_t argb;
};
// Draws them into the picture, between BeginScene and EndScene.
void FillRects(const FillRect* rects, int count);
// Shows the last drawn picture again under a shade, with rectangles filled over it; the picture
// itself stays as it was drawn.
void PresentOverlay(uint32_t shadeArgb, const FillRect* rects, int count);
// Where a point of the window (client pixels, as events give them) lies in the picture as it is
// laid out now; false when it lies on the bars around it.
bool PictureFromWindow(int x, int y, int* pictureX, int* pictureY);

// D3DXSaveSurfaceToFile of the picture as drawn (its own size) as a PNG. False with why not;
// the caller says it, in its own one line.
bool SavePicture(const char* path, std::string* why);

// D3DXCreateTextureFromFileExA: a PNG, BMP or JPEG, by content. The file is checked whole now;
// its pixels are decoded when it is first drawn (or made ready ahead in the real window).
// Returns nullptr (after one stderr line naming the file) when it cannot be loaded.
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
