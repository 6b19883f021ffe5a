#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace ag {

Color mix(Color a, Color b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [t](uint8_t p, uint8_t q) { return uint8_t(std::lround(p + (q - p) * t)); };
    return Color{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

uint32_t Rng::next() {
    // xorshift64*, upper bits
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return uint32_t((state_ * 0x2545F4914F6CDD1Dull) >> 32);
}

int Rng::range(int lo, int hi) {
    if (hi <= lo) return lo;
    return lo + int(next() % uint32_t(hi - lo + 1));
}

double Rng::unit() {
    return next() / 4294967296.0;
}

Image::Image(int width, int height, Color fill) : w(width), h(height) {
    if (width <= 0 || height <= 0) throw std::runtime_error("image size must be positive");
    px.assign(size_t(width) * size_t(height), fill);
}

Color Image::get(int x, int y) const {
    if (wrapX) x = ((x % w) + w) % w;
    if (x < 0 || y < 0 || x >= w || y >= h) return {};
    return px[size_t(y) * w + x];
}

void Image::set(int x, int y, Color c) {
    if (wrapX) x = ((x % w) + w) % w;
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    px[size_t(y) * w + x] = c;
}

void Image::blend(int x, int y, Color c) {
    if (c.a == 0) return;
    if (c.a == 255) return set(x, y, c);
    if (wrapX) x = ((x % w) + w) % w;
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    Color& d = px[size_t(y) * w + x];
    // integer source-over keeps results exact across runs
    int sa = c.a, da = d.a;
    int oa = sa + da * (255 - sa) / 255;
    if (oa == 0) {
        d = {};
        return;
    }
    auto ch = [&](int s, int dd) { return uint8_t((s * sa + dd * da * (255 - sa) / 255) / oa); };
    d = Color{ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), uint8_t(oa)};
}

void Image::fillRect(int x, int y, int rw, int rh, Color c) {
    for (int j = y; j < y + rh; ++j)
        for (int i = x; i < x + rw; ++i) set(i, j, c);
}

void Image::blendRect(int x, int y, int rw, int rh, Color c) {
    for (int j = y; j < y + rh; ++j)
        for (int i = x; i < x + rw; ++i) blend(i, j, c);
}

void Image::fillCircle(double cx, double cy, double r, Color c) {
    int x0 = int(std::floor(cx - r)), x1 = int(std::ceil(cx + r));
    int y0 = int(std::floor(cy - r)), y1 = int(std::ceil(cy + r));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= r * r) blend(x, y, c);
        }
}

void Image::line(int x0, int y0, int x1, int y1, Color c) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
    for (;;) {
        blend(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}

double bayer(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5) / 16.0;
}

void Image::vgradient(int y0, int y1, const std::vector<Color>& stops, int levels) {
    if (stops.size() < 2 || y1 <= y0) return;
    for (int y = y0; y < y1; ++y) {
        double t = double(y - y0) / std::max(1, y1 - y0 - 1) * (stops.size() - 1);
        for (int x = 0; x < w; ++x) {
            // quantise t to a few bands per stop, dithering the fraction
            double q = t * levels;
            double base = std::floor(q);
            if (q - base > bayer(x, y)) base += 1;
            double tq = std::min(base / levels, double(stops.size() - 1));
            size_t i = std::min(size_t(tq), stops.size() - 2);
            set(x, y, mix(stops[i], stops[i + 1], tq - double(i)));
        }
    }
}

void Image::draw(const Image& src, int x, int y, int scale) {
    for (int j = 0; j < src.h * scale; ++j)
        for (int i = 0; i < src.w * scale; ++i)
            blend(x + i, y + j, src.px[size_t(j / scale) * src.w + i / scale]);
}

void Image::drawTinted(const Image& src, int x, int y, int scale, Color tint) {
    for (int j = 0; j < src.h * scale; ++j)
        for (int i = 0; i < src.w * scale; ++i) {
            Color c = src.px[size_t(j / scale) * src.w + i / scale];
            if (c.a == 0) continue;
            Color t = mix(c, Color{tint.r, tint.g, tint.b, c.a}, tint.a / 255.0);
            blend(x + i, y + j, t);
        }
}

Image Image::crop(int x, int y, int cw, int ch) const {
    Image out(cw, ch);
    for (int j = 0; j < ch; ++j)
        for (int i = 0; i < cw; ++i) out.px[size_t(j) * cw + i] = get(x + i, y + j);
    return out;
}

Image Image::scaled(int scale) const {
    Image out(w * scale, h * scale);
    out.draw(*this, 0, 0, scale);
    return out;
}

Image Image::flippedX() const {
    Image out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.px[size_t(y) * w + x] = px[size_t(y) * w + (w - 1 - x)];
    return out;
}

}  // namespace ag
