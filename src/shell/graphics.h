// The graphics service: device, sprite object, line object, texture table, full-screen toggle.
#pragma once

#include <cstdint>

#include "platform/renderer.h"
#include "shell/catalog.h"

// The back buffer every picture is drawn into, in pixels.
constexpr int32_t SCREEN_WIDTH = 800;
constexpr int32_t SCREEN_HEIGHT = 600;

// The platform's 3-component vector: every picture's top-left corner (z only passed on).
struct Vec3 {
    float x = 0, y = 0, z = 0;
};

// Texture pixels; right and bottom are exclusive.
struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

using Color = uint32_t;  // ARGB
constexpr Color COLOR_WHITE = 0xFFFFFFFF;
// Opaque grey of level v: how scenes fade in and out.
constexpr Color FadeColor(uint32_t v) {
    return 0xFF000000u + (v & 0xFF) * 0x010101u;
}

// What D3DXMatrixTransformation2D builds here: a uniform scale about a point.
struct Matrix2D {
    float scale = 1.0f;
    float cx = 0.0f, cy = 0.0f;
};
Matrix2D MatrixIdentity();
Matrix2D MatrixScaleAbout(float x, float y, float scale);

// ID3DXSprite: the transform set last persists into later batches until it is set again.
// Alpha blending is always on, so the sprite object needs no Begin/End of its own.
class SpriteObject {
public:
    void SetTransform(const Matrix2D& m);
    void Draw(const plat::Texture* texture, const Rect* src, const Vec3& pos, Color color);
    const Matrix2D& Transform() const { return transform_; }

private:
    Matrix2D transform_;
};

// ID3DXLine.
class LineObject {
public:
    void Draw(const float* xy, int points, Color color);
};

constexpr int32_t E_FAIL = -1;

// False: draw calls still set the sprite object's state (its transform) but nothing reaches the
// renderer. The runner walks every tick's draw pass so and paints only the ticks it snapshots,
// so a snapshot shows what the game, which draws every tick, would have shown.
extern bool g_rasterize;

extern SpriteObject* g_pSprite;
extern LineObject* g_pLine;
extern uint8_t g_windowed;  // 1 window, 0 full screen
extern plat::Texture** g_textures;
extern int32_t g_textureCount;

int32_t InitDirect3D(int width, int height, uint8_t windowed);  // 0, or E_FAIL after a message box
void ToggleFullscreen();
void ReleaseDirect3D();
void CreateTextureTable(int32_t count);
int32_t LoadTexture(const char* file, int32_t index);
void LoadTextures();
void ReleaseTexture(int32_t index);
int32_t ReleaseTextures();
void CreateLine();
void ReleaseLine();

// The drawing sequence of a task's Draw: the transform (scale 1 is the identity, else a scale
// about pos), then one Draw of a texture entry. An empty entry or one outside the table draws
// nothing.
void DrawSprite(int entry, const Rect* src, const Vec3& pos, Color color, float scale = 1.0f);

// A texture entry, or nullptr when it is empty or outside the table.
const plat::Texture* TextureEntry(int entry);
