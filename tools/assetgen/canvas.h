// RGBA canvas and the few drawing primitives the pictures are composed from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ag {

struct Color {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

constexpr Color rgb(int r, int g, int b, int a = 255) {
    return Color{uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)};
}

// Linear mix, t in [0, 1].
Color mix(Color a, Color b, double t);

// Small integer-only generator so every run and every standard library draws the same values.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t next();
    int range(int lo, int hi);  // inclusive
    double unit();              // [0, 1)

private:
    uint64_t state_;
};

struct Image {
    int w = 0, h = 0;
    // When set, x wraps around so any shape crossing one edge continues at the other:
    // that is how the town tiles seamlessly.
    bool wrapX = false;
    std::vector<Color> px;

    Image() = default;
    Image(int width, int height, Color fill = {});

    Color get(int x, int y) const;
    void set(int x, int y, Color c);    // replaces (bounds-checked, wrap-aware)
    void blend(int x, int y, Color c);  // source-over

    void fillRect(int x, int y, int rw, int rh, Color c);
    void blendRect(int x, int y, int rw, int rh, Color c);
    void fillCircle(double cx, double cy, double r, Color c);
    void line(int x0, int y0, int x1, int y1, Color c);
    // Vertical gradient through evenly spaced stops, with ordered dithering between bands
    // so it stays in a limited palette.
    void vgradient(int y0, int y1, const std::vector<Color>& stops, int levels);
    // Copies src with integer scaling, blending by alpha.
    void draw(const Image& src, int x, int y, int scale = 1);
    void drawTinted(const Image& src, int x, int y, int scale, Color tint);
    Image crop(int x, int y, int cw, int ch) const;
    Image scaled(int scale) const;
    Image flippedX() const;
};

// Bayer 4x4 threshold in [0, 1).
double bayer(int x, int y);

}  // namespace ag
