#include "shell/graphics.h"

#include <cstdio>

#include "platform/window.h"
#include "shell/assetdir.h"

bool g_rasterize = true;
SpriteObject* g_pSprite = nullptr;
LineObject* g_pLine = nullptr;
uint8_t g_windowed = 1;
plat::Texture** g_textures = nullptr;
int32_t g_textureCount = 0;

namespace {

// The three start-up failures, in the words the game has always shown.
constexpr const char* TEXT_NO_D3D = "Direct3Dの作成に失敗しました";
constexpr const char* TEXT_NO_DEVICE = "Direct3Dデバイスの生成に失敗しました";
constexpr const char* TEXT_NO_SPRITE = "スプライトオブジェクトに失敗";

}  // namespace

Matrix2D MatrixIdentity() {
    return Matrix2D{};
}

Matrix2D MatrixScaleAbout(float x, float y, float scale) {
    return Matrix2D{scale, x, y};
}

void SpriteObject::SetTransform(const Matrix2D& m) {
    transform_ = m;
}

void SpriteObject::Draw(const plat::Texture* texture, const Rect* src, const Vec3& pos,
                        Color color) {
    if (texture == nullptr || !g_rasterize) return;
    plat::DrawTexture(texture, src != nullptr ? &src->left : nullptr, pos.x, pos.y, color,
                      transform_.scale, transform_.cx, transform_.cy);
}

void LineObject::Draw(const float* xy, int points, Color color) {
    if (!g_rasterize) return;
    plat::DrawLineStrip(xy, points, color);
}

int32_t InitDirect3D(int width, int height, uint8_t windowed) {
    g_windowed = windowed;
    switch (plat::CreateRenderer(width, height, windowed != 0)) {
        case plat::RendererResult::Ok: break;
        case plat::RendererResult::NoVideo:
            plat::ShowMessageBox(TEXT_NO_D3D, "", false);
            return E_FAIL;
        case plat::RendererResult::NoDevice:
            plat::ShowMessageBox(TEXT_NO_DEVICE, "Error", true);
            return E_FAIL;
        case plat::RendererResult::NoSprite:
            plat::ShowMessageBox(TEXT_NO_SPRITE, nullptr, false);
            return E_FAIL;
    }
    g_pSprite = new SpriteObject;
    return 0;
}

void ToggleFullscreen() {
    g_windowed = g_windowed ? 0 : 1;
    // A failed reset leaves the flag flipped, so the next F1 tries the other mode again.
    if (!plat::ResetRenderer(g_windowed != 0)) return;
    // A fresh sprite object replaces the old one, and with it the transform goes back to identity.
    delete g_pSprite;
    g_pSprite = new SpriteObject;
}

void ReleaseDirect3D() {
    delete g_pSprite;
    g_pSprite = nullptr;
    plat::DestroyRenderer();
}

void CreateTextureTable(int32_t count) {
    g_textures = new plat::Texture*[count]();
    g_textureCount = count;
}

int32_t LoadTexture(const char* file, int32_t index) {
    if (g_textures == nullptr || index < 0 || index >= g_textureCount) return -1;
    char path[1024];
    std::snprintf(path, sizeof path, "%s/%s", AssetDir(), file);
    g_textures[index] = plat::LoadTexture(path);
    return index;
}

void LoadTextures() {
    CreateTextureTable(TEXTURE_COUNT);
    for (int32_t i = 0; i < TEXTURE_COUNT; ++i) LoadTexture(PictureFile(i).c_str(), i);
}

void ReleaseTexture(int32_t index) {
    if (g_textures == nullptr || index < 0 || index >= g_textureCount) return;
    plat::DestroyTexture(g_textures[index]);
    g_textures[index] = nullptr;
}

int32_t ReleaseTextures() {
    if (g_textures == nullptr) return 0;
    for (int32_t i = 0; i < g_textureCount; ++i) ReleaseTexture(i);
    delete[] g_textures;
    g_textures = nullptr;
    g_textureCount = 0;
    return 1;
}

void CreateLine() {
    g_pLine = new LineObject;
}

void ReleaseLine() {
    delete g_pLine;
    g_pLine = nullptr;
}

const plat::Texture* TextureEntry(int entry) {
    if (g_textures == nullptr || entry < 0 || entry >= g_textureCount) return nullptr;
    return g_textures[entry];
}

void DrawSprite(int entry, const Rect* src, const Vec3& pos, Color color, float scale) {
    if (g_pSprite == nullptr) return;
    g_pSprite->SetTransform(scale == 1.0f ? MatrixIdentity()
                                          : MatrixScaleAbout(pos.x, pos.y, scale));
    g_pSprite->Draw(TextureEntry(entry), src, pos, color);
}
