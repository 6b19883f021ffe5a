// The scenery the large pictures share: the night sky, the town's street of houses, and the
// story's lettering.
#include "scenery.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "font.h"
#include "scenes.h"

namespace ag {

namespace {

const Color kSnowDim = rgb(92, 104, 146);
const Color kRoofSnow = rgb(158, 168, 200);
const Color kWindow = rgb(196, 150, 72);
const Color kWindowHi = rgb(226, 190, 104);

}  // namespace

void stars(Image& img, int y0, int y1, int count, uint64_t seed) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        int x = rng.range(0, img.w - 1), y = rng.range(y0, y1 - 1);
        int kind = rng.range(0, 9);
        Color c = kind < 6   ? rgb(150, 160, 200)
                  : kind < 9 ? rgb(210, 215, 235)
                             : rgb(240, 236, 200);
        img.set(x, y, c);
        if (kind == 9) {  // the odd bright one twinkles as a small cross
            Color dim = rgb(c.r, c.g, c.b, 110);
            img.blend(x - 1, y, dim), img.blend(x + 1, y, dim);
            img.blend(x, y - 1, dim), img.blend(x, y + 1, dim);
        }
    }
}

void moon(Image& img, double cx, double cy, double r, Color face) {
    for (int k = 5; k >= 1; --k) img.fillCircle(cx, cy, r + k * 7, rgb(180, 190, 230, 10));
    img.fillCircle(cx, cy, r, face);
    Color shade = mix(face, rgb(120, 130, 170), 0.35);
    img.fillCircle(cx - r * 0.3, cy - r * 0.2, r * 0.22, shade);
    img.fillCircle(cx + r * 0.35, cy + r * 0.25, r * 0.15, shade);
    img.fillCircle(cx + r * 0.1, cy - r * 0.45, r * 0.1, shade);
}

void snowfall(Image& img, int y0, int y1, int count, uint64_t seed, int alpha) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        int x = rng.range(0, img.w - 1), y = rng.range(y0, y1 - 1);
        Color c = rgb(230, 236, 255, alpha);
        img.blend(x, y, c);
        if (rng.range(0, 3) == 0) {
            img.blend(x + 1, y, c), img.blend(x, y + 1, c), img.blend(x + 1, y + 1, c);
        }
    }
}

// Rolling far roofs with a few spires, towers and domes of like weight, none standing out; every
// term has a whole number of periods across the width so the line wraps. The lord's castle on
// its hill only where the picture stands still.
void farSkyline(Image& img, int base, uint64_t seed, Color col, bool castle) {
    const int w = img.w;
    auto height = [&](int x) {
        double t = 2 * kPi * x / w;
        return 26 + 9 * std::sin(3 * t + 1.0) + 6 * std::sin(7 * t + 2.0) + 3 * std::sin(17 * t);
    };
    for (int x = 0; x < w; ++x) {
        int top = base - int(height(x));
        // stepped roofs: quantise to 6 px blocks
        int block = x / 6;
        int top2 = base - int(height(block * 6)) - ((block * 7) % 5 == 0 ? 8 : 0);
        top = std::min(top, top2);
        for (int y = top; y < img.h && y < base + 200; ++y) img.set(x, y, col);
    }
    Rng rng(seed);
    if (castle) {
        const int cx = w / 5;
        for (int k = -2; k <= 2; ++k) {
            int tx = cx + k * 22, th = 70 - std::abs(k) * 14;
            img.fillRect(tx - 7, base - th, 14, th, col);
            for (int b = 0; b < 3; ++b) img.fillRect(tx - 7 + b * 5, base - th - 4, 3, 4, col);
            img.fillRect(tx - 1, base - th - 10, 2, 6, col);
        }
        img.fillRect(cx - 50, base - 40, 100, 40, col);
    } else {
        // far towers at uneven spacing, each of a different kind
        const int n = 5;
        for (int i = 0; i < n; ++i) {
            const int jitter = rng.range(-40, 40);
            const int tx = i * w / n + w / (2 * n) + jitter;
            const int th = rng.range(34, 50), tw = rng.range(8, 14);
            const int kind = (i + int(seed)) % 3;
            img.fillRect(tx - tw / 2, base - th, tw, th, col);
            if (kind == 0) {  // spire
                for (int j = 0; j < 16; ++j)
                    img.fillRect(tx - tw / 2 + j * tw / 32, base - th - j, tw - j * tw / 16, 1,
                                 col);
            } else if (kind == 1) {  // dome
                img.fillCircle(tx, base - th, tw / 2 + 1, col);
                img.fillRect(tx, base - th - tw / 2 - 5, 1, 5, col);
            } else {  // battlements
                for (int b = 0; b < tw; b += 4)
                    img.fillRect(tx - tw / 2 + b, base - th - 3, 2, 3, col);
            }
        }
    }
    Color lit = mix(col, kWindow, 0.5);
    for (int i = 0; i < 70; ++i) {
        const int x = rng.range(0, w - 1);
        const int y = base - rng.range(2, 20);
        if (img.get(x, y - 2).r == col.r && img.get(x, y - 2).b == col.b)
            img.fillRect(x, y, 2, 2, lit);
    }
    if (castle) {
        img.fillRect(w / 5 - 3, base - 60, 3, 4, lit);
        img.fillRect(w / 5 + 20, base - 50, 3, 4, lit);
    }
}

namespace {

struct House {
    int x, w, h;
    Color wall;
    int roof;     // 0 pitched, 1 stepped gable, 2 flat with parapet, 3 mansard, 4 turret
    int windows;  // 0 crossed panes, 1 tall arched, 2 shuttered, 3 shop window below
    int lit;      // chance in ten that a window is lit
    int door;     // 0 left, 1 middle, 2 right
    Color doorCol, trim;
    bool wreath, icicles, chimney;
};

void window(Image& img, int x, int y, int w, int h, bool lit) {
    img.fillRect(x - 1, y - 1, w + 2, h + 2, rgb(30, 24, 30));
    img.fillRect(x, y, w, h, lit ? kWindow : rgb(44, 50, 78));
    if (lit) {
        img.fillRect(x, y, w, 2, kWindowHi);
        img.fillRect(x + w / 2, y, 1, h, rgb(120, 86, 48));
        img.fillRect(x, y + h / 2, w, 1, rgb(120, 86, 48));
    }
    img.fillRect(x - 1, y + h + 1, w + 2, 2, kRoofSnow);  // snow on the sill
}

void archedWindow(Image& img, int x, int y, int w, int h, bool lit) {
    const Color frame = rgb(30, 24, 30), pane = lit ? kWindow : rgb(44, 50, 78);
    img.fillRect(x - 1, y + w / 2 - 1, w + 2, h - w / 2 + 2, frame);
    img.fillCircle(x + w / 2.0, y + w / 2.0, w / 2.0 + 1, frame);
    img.fillRect(x, y + w / 2, w, h - w / 2, pane);
    img.fillCircle(x + w / 2.0, y + w / 2.0, w / 2.0, pane);
    if (lit) img.fillRect(x + w / 2, y + 2, 1, h - 2, rgb(120, 86, 48));
    img.fillRect(x - 1, y + h + 1, w + 2, 2, kRoofSnow);
}

void shutteredWindow(Image& img, int x, int y, int w, int h, bool lit, Color shutter) {
    window(img, x, y, w, h, lit);
    const Color dark = mix(shutter, rgb(0, 0, 0), 0.4);
    for (int side = 0; side < 2; ++side) {
        const int sx = side == 0 ? x - 6 : x + w + 1;
        img.fillRect(sx, y - 1, 5, h + 2, shutter);
        for (int j = y + 1; j < y + h; j += 3) img.fillRect(sx + 1, j, 3, 1, dark);
    }
}

void drawHouse(Image& img, const House& hs, int ground, Rng& rng) {
    const int top = ground - hs.h;
    const Color dark = mix(hs.wall, rgb(0, 0, 0), 0.35),
                roofCol = mix(hs.trim, rgb(40, 34, 46), 0.6);
    img.fillRect(hs.x, top, hs.w, hs.h, hs.wall);
    img.fillRect(hs.x, top, 2, hs.h, dark);
    img.fillRect(hs.x + hs.w - 2, top, 2, hs.h, dark);
    // timber or brick courses
    const int course = 6 + (hs.roof + hs.windows) % 3 * 2;
    for (int y = top + course; y < ground; y += course)
        img.fillRect(hs.x + 2, y, hs.w - 4, 1, mix(hs.wall, dark, 0.5));
    // a band of trim under the eaves
    img.fillRect(hs.x, top, hs.w, 2, hs.trim);
    if (hs.roof == 0) {
        const int peak = hs.w / 2 + 4;
        for (int j = 0; j < peak; ++j) {
            const int y = top - j;
            const int l = hs.x - 4 + j, r = hs.x + hs.w + 4 - j;
            if (l >= r) break;
            img.fillRect(l, y, r - l, 1, j < 4 ? kRoofSnow : roofCol);
            img.fillRect(l, y, 3, 1, kRoofSnow);
            img.fillRect(r - 3, y, 3, 1, kRoofSnow);
        }
        img.fillRect(hs.x + hs.w / 2 - 6, top - hs.w / 2 + 2, 12, 2, kRoofSnow);
    } else if (hs.roof == 1) {
        for (int s = 0; s < 4; ++s) {
            const int sw = hs.w - s * (hs.w / 4), sx = hs.x + s * (hs.w / 8);
            img.fillRect(sx, top - (s + 1) * 10, sw, 10, hs.wall);
            img.fillRect(sx - 1, top - (s + 1) * 10 - 2, sw + 2, 3, kRoofSnow);
        }
    } else if (hs.roof == 2) {
        img.fillRect(hs.x - 3, top - 6, hs.w + 6, 6, dark);
        img.fillRect(hs.x - 3, top - 9, hs.w + 6, 4, kRoofSnow);
    } else if (hs.roof == 3) {
        // mansard: steep sides, a flat top and dormers
        const int rh = 22;
        for (int j = 0; j < rh; ++j) {
            const int inset = j * 8 / rh;
            img.fillRect(hs.x - 3 + inset, top - j, hs.w + 6 - 2 * inset, 1,
                         j % 5 == 4 ? dark : roofCol);
        }
        img.fillRect(hs.x + 4, top - rh - 3, hs.w - 8, 4, kRoofSnow);
        for (int dx = hs.x + 10; dx + 10 < hs.x + hs.w - 6; dx += 22) {
            img.fillRect(dx - 2, top - 18, 14, 14, roofCol);
            window(img, dx + 1, top - 15, 8, 8, rng.range(0, 9) < hs.lit);
            img.fillRect(dx - 3, top - 20, 16, 3, kRoofSnow);
        }
    } else {
        // turret: a tall cone
        const int ch = hs.w * 3 / 4 + 14;
        for (int j = 0; j < ch; ++j) {
            const int half = (hs.w / 2 + 3) * (ch - j) / ch;
            img.fillRect(hs.x + hs.w / 2 - half, top - j, half * 2, 1, j < 3 ? kRoofSnow : roofCol);
            if (j % 7 == 0) img.fillRect(hs.x + hs.w / 2 - half, top - j, 2, 1, kRoofSnow);
        }
        img.fillRect(hs.x + hs.w / 2, top - ch - 6, 1, 6, rgb(30, 24, 30));
        img.fillRect(hs.x + hs.w / 2 - 1, top - ch - 8, 3, 3, rgb(226, 190, 104));
    }
    if (hs.chimney && hs.roof != 4) {
        const int cx = hs.x + hs.w * 3 / 4 - 4;
        const int ctop = hs.roof == 0 ? top - hs.w / 4 - 14 : top - 26;
        img.fillRect(cx, ctop, 8, top - ctop, rgb(70, 46, 50));
        img.fillRect(cx - 1, ctop - 2, 10, 3, kRoofSnow);
    }
    if (hs.icicles)
        for (int x = hs.x + 2; x < hs.x + hs.w - 2; x += 5) {
            const int len = 2 + rng.range(0, 4);
            img.fillRect(x, top, 1, len, rgb(150, 170, 210));
        }
    // windows in a grid
    const int ww = hs.windows == 1 ? 10 : 12, wh = hs.windows == 1 ? 20 : 16;
    const int pitch = hs.windows == 2 ? 26 : 22;
    const int cols = std::max(1, (hs.w - 12) / pitch);
    const int shopRows = hs.windows == 3 ? 1 : 0;
    const int rows = std::max(1, (hs.h - 50) / 34) - shopRows;
    const int gapX = (hs.w - cols * ww) / (cols + 1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const int wx = hs.x + gapX + c * (ww + gapX), wy = top + 14 + r * 34;
            const bool lit = rng.range(0, 9) < hs.lit;
            if (hs.windows == 1)
                archedWindow(img, wx, wy, ww, wh, lit);
            else if (hs.windows == 2)
                shutteredWindow(img, wx, wy, ww, wh, lit, hs.trim);
            else
                window(img, wx, wy, ww, wh, lit);
        }
    // door, on one side or in the middle, maybe with a wreath
    const int dx = hs.door == 0 ? hs.x + 8 : hs.door == 1 ? hs.x + hs.w / 2 - 8 : hs.x + hs.w - 24;
    if (hs.windows == 3) {
        // a shop: a wide lit window beside the door, under a small awning
        const int sx = hs.door == 0 ? dx + 22 : hs.x + 8;
        const int sw = std::max(12, hs.w - 40);
        img.fillRect(sx - 1, ground - 29, sw + 2, 22, rgb(30, 24, 30));
        img.fillRect(sx, ground - 28, sw, 20, kWindow);
        img.fillRect(sx, ground - 28, sw, 2, kWindowHi);
        for (int x = sx - 2; x < sx + sw + 2; x += 4) img.fillRect(x, ground - 35, 2, 5, hs.trim);
        img.fillRect(sx - 2, ground - 37, sw + 4, 2, kRoofSnow);
    }
    img.fillRect(dx - 1, ground - 31, 18, 31, rgb(30, 24, 30));
    img.fillRect(dx, ground - 30, 16, 30, hs.doorCol);
    img.fillRect(dx + 12, ground - 16, 2, 2, rgb(200, 170, 90));
    if (hs.wreath) {
        img.fillCircle(dx + 8, ground - 20, 5, rgb(34, 84, 54));
        img.fillCircle(dx + 8, ground - 20, 2.5, hs.doorCol);
        img.set(dx + 8, ground - 15, rgb(170, 50, 50));
    } else {
        // a lantern by the door instead
        img.fillRect(dx - 5, ground - 26, 3, 5, rgb(230, 200, 120));
        img.fillRect(dx - 5, ground - 27, 3, 1, rgb(30, 24, 30));
    }
}

// A string of festival lamps hanging between two points, in one of a few colour schemes.
void garland(Image& img, int x0, int y0, int x1, int y1, double sag, double bright, int scheme) {
    static const Color schemes[3][4] = {
        {rgb(200, 70, 70), rgb(220, 190, 80), rgb(80, 170, 100), rgb(110, 150, 220)},
        {rgb(236, 226, 190), rgb(236, 226, 190), rgb(236, 226, 190), rgb(236, 226, 190)},
        {rgb(200, 70, 70), rgb(80, 170, 100), rgb(200, 70, 70), rgb(80, 170, 100)},
    };
    const Color* cols = schemes[scheme % 3];
    const int n = std::max(2, (x1 - x0) / 3);
    const int every = scheme == 1 ? 3 : 4;
    for (int i = 0; i <= n; ++i) {
        double t = double(i) / n;
        int x = int(std::lround(x0 + (x1 - x0) * t));
        int y = int(std::lround(y0 + (y1 - y0) * t + sag * 4 * t * (1 - t)));
        img.set(x, y, rgb(52, 48, 64));  // the wire, just lighter than the sky
        if (i % every == 2) {
            Color c = mix(rgb(60, 60, 70), cols[(i / every) % 4], bright);
            const int sz = scheme == 1 ? 2 : 3;
            img.fillRect(x - 1, y + 1, sz, sz, c);
            img.blendRect(x - 2, y, sz + 2, sz + 2, rgb(c.r, c.g, c.b, 50));
        }
    }
}

void streetLamp(Image& img, int x, int ground, int height, bool twin) {
    const Color iron = rgb(26, 26, 36), glass = rgb(232, 200, 120);
    const int top = ground - height;
    img.fillCircle(x, top + 8, 20, rgb(230, 190, 110, 16));
    img.fillCircle(x, top + 8, 11, rgb(230, 190, 110, 28));
    img.fillRect(x - 1, top + 12, 3, height - 12, iron);
    img.fillRect(x - 4, ground - 4, 9, 4, iron);
    if (twin) {
        // a crossbar with two lanterns
        img.fillRect(x - 12, top + 10, 25, 2, iron);
        for (int side = -1; side <= 1; side += 2) {
            const int lx = x + side * 10;
            img.fillRect(lx - 3, top + 12, 7, 7, glass);
            img.fillRect(lx - 4, top + 11, 9, 1, iron);
            img.fillRect(lx - 4, top + 19, 9, 1, iron);
            img.fillRect(lx - 4, top + 8, 9, 2, kRoofSnow);
        }
        img.fillRect(x - 1, top + 4, 3, 6, iron);
        img.fillRect(x - 2, top + 2, 5, 2, kRoofSnow);
        return;
    }
    img.fillRect(x - 5, top - 3, 11, 3, iron);
    img.fillRect(x - 4, top, 9, 9, glass);
    img.fillRect(x - 5, top + 9, 11, 2, iron);
    img.fillRect(x - 6, top - 6, 13, 3, kRoofSnow);
}

void festivalTree(Image& img, int cx, int ground, int height, uint64_t seed, bool star) {
    Color green = rgb(30, 74, 52), light = rgb(44, 98, 66);
    const int tiers = std::max(2, height / 30);
    for (int j = 0; j < height; ++j) {
        int tier = j % std::max(1, height / tiers);
        int half = 2 + j * 22 / 100 + tier / 3;
        int y = ground - height + j - 10;
        img.fillRect(cx - half, y, half * 2 + 1, 1, tier < 3 ? light : green);
    }
    img.fillRect(cx - 3, ground - 10, 7, 10, rgb(60, 40, 30));
    Rng rng(seed);
    const Color baubles[] = {rgb(190, 60, 60), rgb(210, 180, 80), rgb(110, 150, 210),
                             rgb(220, 220, 230)};
    for (int i = 0; i < height / 5; ++i) {
        const int j = rng.range(8, height - 4);
        const int half = 2 + j * 22 / 100;
        const int dx = rng.range(-half + 1, half - 1);
        img.fillRect(cx + dx, ground - height + j - 10, 2, 2, baubles[i % 4]);
    }
    const int sy = ground - height - 12;
    if (star) {
        img.fillCircle(cx + 0.5, sy + 0.5, 7, rgb(240, 210, 120, 30));
        img.fillRect(cx - 1, sy - 4, 3, 9, rgb(238, 210, 110));
        img.fillRect(cx - 4, sy - 1, 9, 3, rgb(238, 210, 110));
    } else {
        img.fillRect(cx - 1, sy + 1, 3, 3, rgb(230, 230, 240));
    }
}

// Snow ground from `ground` down: a dithered fall of light, a trodden path with footprints,
// and drifts banked against the walls.
void snowGround(Image& img, int ground, uint64_t seed) {
    const Color shade = rgb(56, 64, 100), path = rgb(66, 74, 112), print = rgb(54, 60, 94);
    img.vgradient(ground, img.h, {rgb(70, 80, 120), kSnowDim, rgb(104, 114, 152)}, 3);
    img.fillRect(0, ground, img.w, 2, shade);
    const int lane = ground + (img.h - ground) * 11 / 20;
    for (int x = 0; x < img.w; ++x) {
        int wob = int(std::lround(4 * std::sin(2 * kPi * 3 * x / img.w)));
        for (int j = -9; j <= 9; ++j) {
            double edge = (9 - std::abs(j)) / 3.0;
            if (edge >= 1 || bayer(x, lane + j) < edge) img.set(x, lane + j + wob, path);
        }
        // footprints: pairs of small dents, one stride apart (a stride that divides the width)
        if (x % 25 == 0 || x % 25 == 11) {
            int side = (x % 25 == 0) ? -4 : 2;
            img.fillRect(x, lane + wob + side, 3, 2, print);
        }
    }
    Rng rng(seed);
    for (int i = 0; i < 260; ++i) {  // sparkle; the height is drawn first, as it always was
        const int y = rng.range(ground + 4, img.h - 1);
        const int x = rng.range(0, img.w - 1);
        img.set(x, y, rgb(150, 162, 204));
    }
}

// Low drifts of snow along the foot of the street.
void drifts(Image& img, int ground, uint64_t seed) {
    Rng rng(seed);
    const Color lit = rgb(112, 122, 162), edge = rgb(132, 142, 182);
    for (int i = 0; i < 18; ++i) {
        const int cx = i * img.w / 18 + rng.range(0, 20);
        const int r = rng.range(14, 34);
        const int hgt = rng.range(4, 9);
        for (int x = -r; x <= r; ++x) {
            double k = 1 - double(x * x) / (r * r);
            int top = ground - int(std::lround(hgt * k));
            for (int y = top; y < ground + 3; ++y) img.set(cx + x, y, y == top ? edge : lit);
        }
    }
}

// A street of houses that differ in size, roof, windows, door and colour, set with gaps that
// close exactly onto the first house across the seam.
std::vector<House> houseRow(int width, uint64_t seed, int maxH) {
    Rng rng(seed);
    static const Color walls[] = {rgb(74, 48, 56), rgb(60, 56, 74), rgb(82, 62, 50),
                                  rgb(52, 62, 78), rgb(70, 60, 70), rgb(58, 70, 62),
                                  rgb(88, 74, 60), rgb(66, 50, 72)};
    static const Color doors[] = {rgb(72, 44, 34), rgb(110, 36, 40), rgb(36, 70, 52),
                                  rgb(44, 52, 90)};
    static const Color trims[] = {rgb(150, 60, 60), rgb(60, 110, 80), rgb(150, 130, 90),
                                  rgb(80, 90, 140), rgb(120, 80, 120)};
    std::vector<House> hs;
    std::vector<int> gaps;
    int used = 0, lastRoof = -1, lastWall = -1;
    const int minW = std::max(40, maxH / 5), maxW = std::max(minW + 10, maxH * 9 / 20);
    for (;;) {
        House h{};
        h.w = rng.range(minW, maxW);
        h.h = rng.range(maxH / 2, maxH);
        int wall = rng.range(0, 7);
        if (wall == lastWall) wall = (wall + 3) % 8;
        h.wall = walls[wall];
        int roof = rng.range(0, 4);
        if (roof == lastRoof) roof = (roof + 2) % 5;
        if (roof == 4) h.w = std::min(h.w, minW + 8);  // turrets stay slim
        h.roof = roof;
        h.windows = rng.range(0, 3);
        h.lit = rng.range(4, 9);
        h.door = rng.range(0, 2);
        if (h.windows == 3 && h.door == 1) h.door = 2;  // the shop window takes the middle
        h.doorCol = doors[rng.range(0, 3)];
        h.trim = trims[rng.range(0, 4)];
        h.wreath = rng.range(0, 2) != 0;
        h.icicles = rng.range(0, 2) != 0;
        h.chimney = rng.range(0, 1) != 0;
        // terraces touch; elsewhere a gap for a lamp or a tree
        const int gap = rng.range(0, 3) == 0 ? 0 : rng.range(14, 56);
        if (!hs.empty() && used + h.w + gap > width) break;
        lastWall = wall, lastRoof = roof;
        hs.push_back(h);
        gaps.push_back(gap);
        used += h.w + gap;
    }
    // share what is left of the width among the open gaps so the row closes on itself
    int open = 0;
    for (int g : gaps) open += g > 0;
    int spare = width - used;
    int x = 6;
    for (size_t i = 0; i < hs.size(); ++i) {
        hs[i].x = x;
        int g = gaps[i];
        if (g > 0 && open > 0) {
            const int add = spare / open;
            g += add, spare -= add, --open;
        } else if (open == 0 && i + 1 == hs.size()) {
            g += spare;
        }
        x += hs[i].w + g;
    }
    return hs;
}

}  // namespace

// The town street shared by the stage picture, the title, the opening and the ending.
void townStreet(Image& img, int ground, uint64_t seed, bool lights, int maxH) {
    farSkyline(img, ground - 60 * maxH / 200, seed, rgb(28, 32, 60), false);
    auto hs = houseRow(img.w, seed, maxH);
    Rng rng(seed + 1);
    for (const House& h : hs) drawHouse(img, h, ground, rng);
    // a tree in up to two of the wide gaps, garlands across most of the others
    Rng street(seed + 4);
    int trees = 0;
    for (size_t i = 0; i < hs.size(); ++i) {
        const House& a = hs[i];
        const House& b = hs[(i + 1) % hs.size()];
        const int bx = b.x + (i + 1 == hs.size() ? img.w : 0);
        const int gap = bx - (a.x + a.w);
        const int pick = street.range(0, 9);
        if (gap >= 40 && trees < 2 && pick < 6) {
            const int th = std::min(gap + 24, maxH / 2) - trees * maxH / 10;
            festivalTree(img, a.x + a.w + gap / 2, ground + 2, std::max(30, th), seed * 7 + i,
                         trees == 0);
            ++trees;
            continue;
        }
        if (!lights || pick >= 8) continue;
        const int y0 = ground - a.h + street.range(12, 30);
        const int y1 = ground - b.h + street.range(12, 30);
        const int sag = street.range(8, 30);
        const int scheme = street.range(0, 2);
        if (gap > 0)
            garland(img, a.x + a.w - 4, y0, bx + 4, y1, sag, 0.75, scheme);
        else  // terraced neighbours: a string along the front instead
            garland(img, a.x + 4, y0, a.x + a.w - 4, y0 + street.range(-4, 4), sag / 3.0, 0.75,
                    scheme);
    }
    // lamps along the pavement at uneven steps, in front of whatever stands there
    int lx = street.range(20, 60);
    const int firstLamp = lx;
    while (lx < firstLamp + img.w - 110) {
        const int lh = maxH * 2 / 5 + street.range(-8, 14);
        const bool twin = street.range(0, 2) == 0;
        streetLamp(img, lx, ground + 2, std::max(30, lh), twin);
        lx += street.range(120, 200);
    }
    snowGround(img, ground, seed + 2);
    drifts(img, ground, seed + 3);
}

void darken(Image& img, double amount) {
    for (Color& c : img.px) {
        if (!c.a) continue;
        c = mix(c, rgb(4, 6, 18, c.a), amount);
    }
}

TextStyle storyStyle(int scale) {
    TextStyle st;
    st.scale = scale;
    st.fill = rgb(255, 250, 236);
    st.fillBottom = rgb(236, 218, 170);
    st.outline = rgb(14, 12, 28);
    st.outlineWidth = 2;
    st.shadow = rgb(0, 0, 0, 160);
    return st;
}

TextStyle headingStyle(int scale) {
    TextStyle st = storyStyle(scale);
    st.fill = rgb(255, 228, 110);
    st.fillBottom = rgb(232, 128, 40);
    return st;
}

// Lays paragraphs out centred down a tall picture; returns the y after the last line.
int storyBlock(Image& img, int y, const std::vector<std::string>& paragraphs, int scale) {
    const TextStyle st = storyStyle(scale);
    const int lineH = kGlyphHeight * scale + 14;
    for (const auto& p : paragraphs) {
        for (const auto& l : wrapText(p, scale, img.w - 100)) {
            drawTextCentered(img, l, img.w / 2, y, st);
            y += lineH;
        }
        y += lineH / 2;
    }
    return y;
}

std::vector<std::string> wrapText(const std::string& text, int scale, int maxWidth) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string word, cur;
    while (in >> word) {
        std::string next = cur.empty() ? word : cur + " " + word;
        if (!cur.empty() && textWidth(next, scale) > maxWidth) {
            lines.push_back(cur);
            cur = word;
        } else {
            cur = next;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

}  // namespace ag
