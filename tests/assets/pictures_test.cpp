// The pictures: sizes and layouts the game relies on, transparency, the seamless town.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "asset_files.h"

using namespace assets_test;

namespace {

struct Expected {
    int number, w, h;
    bool sprite;  // drawn over the scene, so it needs see-through parts
};
constexpr int kPrompt = 16;  // a plaque: only its rounded corners are clear

const Expected kPictures[] = {
    {1, 16, 16, true},     {2, 64, 16, true},      {3, 16, 16, true},      {4, 16, 16, true},
    {5, 32, 32, true},     {6, 16, 16, true},      {7, 800, 600, false},   {8, 16, 16, true},
    {9, 16, 16, true},     {10, 800, 600, false},  {11, 800, 600, false},  {12, 800, 1800, false},
    {13, 800, 2400, true}, {14, 800, 1515, false}, {15, 800, 2085, false}, {16, 253, 76, true},
    {17, 32, 32, true},    {18, 176, 16, true},
};

double Transparency(const Picture& p) {
    size_t n = 0;
    for (const Rgba& c : p.px) n += c.a == 0;
    return double(n) / double(p.px.size());
}

int ColumnDiff(const Picture& p, int xa, int xb, int y0 = 0, int y1 = -1) {
    if (y1 < 0) y1 = p.h;
    long sum = 0;
    for (int y = y0; y < y1; ++y) {
        const Rgba &a = p.at(xa, y), &b = p.at(xb, y);
        sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }
    return int(sum / (y1 - y0));
}

double Luma(const Rgba& c) {
    return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

// Hue in degrees, and whether the pixel is coloured enough for its hue to be seen.
double Hue(const Rgba& c) {
    const int mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b});
    if (mx == mn) return 0;
    const double d = mx - mn;
    double h = mx == c.r ? (c.g - c.b) / d : mx == c.g ? 2 + (c.b - c.r) / d : 4 + (c.r - c.g) / d;
    h *= 60;
    return h < 0 ? h + 360 : h;
}
bool Saturated(const Rgba& c) {
    const int mx = std::max({c.r, c.g, c.b}), mn = std::min({c.r, c.g, c.b});
    return c.a >= 128 && mx >= 90 && (mx - mn) >= 0.45 * mx;
}
double HueDistance(double a, double b) {
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360 - d);
}

int OpaqueIn(const Picture& p, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += p.at(x, y).a > 0;
    return n;
}

}  // namespace

TEST(AssetPictures, EveryPictureDecodesByContentAtItsSize) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE("img/" + std::to_string(e.number) + ".dat");
        Picture p = LoadPicture(ImgPath(e.number));
        ASSERT_TRUE(p.ok()) << IMG_GetError();
        EXPECT_EQ(p.w, e.w);
        EXPECT_EQ(p.h, e.h);
        const double clear = Transparency(p);
        if (e.number == kPrompt) {
            EXPECT_GT(clear, 0.0);
        } else if (e.sprite) {
            EXPECT_GT(clear, 0.05) << "a sprite needs a see-through background in its own alpha";
        } else {
            EXPECT_EQ(clear, 0.0) << "a full scene must not have holes";
        }
    }
    // the opening's front layer is mostly sky showing through
    EXPECT_GT(Transparency(LoadPicture(ImgPath(13))), 0.6);
}

TEST(AssetPictures, SantaFillsHisHitBoxInEveryCell) {
    Picture p = LoadPicture(ImgPath(2));
    ASSERT_TRUE(p.ok());
    // hit box: cell pixels x 1.75 .. 5.75, y 5 .. 13; the whole columns 2..4 must be body
    for (int cell = 0; cell < 4; ++cell) {
        SCOPED_TRACE("cell " + std::to_string(cell));
        EXPECT_EQ(OpaqueIn(p, cell * 16 + 2, 5, 3, 8), 3 * 8);
        EXPECT_GE(OpaqueIn(p, cell * 16 + 1, 5, 5, 8), 5 * 8 - 4);
        // the cells differ, or the run cycle would stand still
        if (cell > 0) {
            int diff = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    diff += p.at(cell * 16 + x, y).a != p.at((cell - 1) * 16 + x, y).a;
            EXPECT_GT(diff, 2);
        }
    }
}

TEST(AssetPictures, TownTilesWithoutASeam) {
    Picture p = LoadPicture(ImgPath(7));
    ASSERT_TRUE(p.ok());
    ASSERT_EQ(p.w, 800);
    long total = 0;
    for (int x = 0; x + 1 < p.w; ++x) total += ColumnDiff(p, x, x + 1);
    const double typical = double(total) / (p.w - 1);
    const int seam = ColumnDiff(p, p.w - 1, 0);
    EXPECT_LE(seam, 2 * typical + 3) << "right edge does not continue into the left edge";
    // and the measure does see structure: far-apart columns differ much more than neighbours
    EXPECT_GT(ColumnDiff(p, 0, 400), seam);
    // the houses alone, where a cut would hide among the sky and snow rows of the whole column
    long street = 0;
    for (int x = 0; x + 1 < p.w; ++x) street += ColumnDiff(p, x, x + 1, 200, 470);
    EXPECT_LE(ColumnDiff(p, p.w - 1, 0, 200, 470), 2 * double(street) / (p.w - 1) + 3);
}

TEST(AssetPictures, ArrowIsALongLightStreak) {
    Picture p = LoadPicture(ImgPath(3));
    ASSERT_TRUE(p.ok());
    int opaque = 0, bright = 0, left = p.w, right = -1;
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            const Rgba& c = p.at(x, y);
            if (c.a < 128) continue;
            ++opaque;
            bright += Luma(c) >= 160;
            left = std::min(left, x), right = std::max(right, x);
        }
    ASSERT_GT(opaque, 0);
    // drawn 1:1 and moving 20 px a tick, it must read on the night sky at a glance
    EXPECT_GE(bright, 0.4 * opaque) << bright << " of " << opaque << " pixels bright";
    EXPECT_GE(right - left + 1, 14);
}

TEST(AssetPictures, BulletTakesAHueTheTownDoesNotUse) {
    Picture b = LoadPicture(ImgPath(6)), town = LoadPicture(ImgPath(7));
    ASSERT_TRUE(b.ok() && town.ok());
    // a white core and a dark ring
    for (int y = 7; y <= 8; ++y)
        for (int x = 7; x <= 8; ++x)
            EXPECT_GE(std::min({b.at(x, y).r, b.at(x, y).g, b.at(x, y).b}), 220);
    for (int y = 0; y < b.h; ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < b.w; ++x)
            if (b.at(x, y).a >= 128) last = x, first = first < 0 ? x : first;
        if (first < 0) continue;
        EXPECT_LT(Luma(b.at(first, y)), 60) << "row " << y;
        EXPECT_LT(Luma(b.at(last, y)), 60) << "row " << y;
    }
    // its colour is not that of the windows, lamps and ornaments, nor any other in the town
    int coloured = 0, warm = 0;
    double sx = 0, sy = 0;
    for (const Rgba& c : b.px) {
        if (!Saturated(c)) continue;
        ++coloured;
        const double h = Hue(c);
        warm += h >= 20 && h <= 70;
        sx += std::cos(h * M_PI / 180), sy += std::sin(h * M_PI / 180);
    }
    ASSERT_GT(coloured, 20);
    EXPECT_LE(warm * 4, coloured) << "orange to yellow: " << warm << " of " << coloured;
    const double hue = std::atan2(sy, sx) * 180 / M_PI;
    int townColoured = 0, near = 0;
    for (const Rgba& c : town.px) {
        if (!Saturated(c)) continue;
        ++townColoured;
        near += HueDistance(Hue(c), hue) < 30;
    }
    EXPECT_LT(near, townColoured / 100) << near << " of the town's " << townColoured
                                        << " coloured pixels share the bullet's hue " << hue;
}

TEST(AssetPictures, CastPortraitsSitOnTheSkyNotOnDarkSquares) {
    // a flat opaque dark block around a portrait reads as missing transparency
    constexpr int kSide = 16;
    for (int n : {14, 15}) {
        SCOPED_TRACE("img/" + std::to_string(n) + ".dat");
        Picture p = LoadPicture(ImgPath(n));
        ASSERT_TRUE(p.ok());
        auto same = [&](int x0, int y0, int x1, int y1) {
            const Rgba &a = p.at(x0, y0), &b = p.at(x1, y1);
            return a.r == b.r && a.g == b.g && a.b == b.b;
        };
        std::vector<int> run(p.w), tall(p.w, 0);
        int found = 0;
        for (int y = 0; y < p.h && !found; ++y) {
            for (int x = p.w - 1; x >= 0; --x)
                run[x] = x + 1 < p.w && same(x, y, x + 1, y) ? run[x + 1] + 1 : 1;
            for (int x = 0; x < p.w; ++x) {
                const bool wide = run[x] >= kSide && Luma(p.at(x, y)) < 48;
                tall[x] =
                    wide ? (y > 0 && tall[x] > 0 && same(x, y, x, y - 1) ? tall[x] + 1 : 1) : 0;
                if (tall[x] >= kSide) found = y * p.w + x;
            }
        }
        EXPECT_EQ(found, 0) << "a flat dark " << kSide << " px square ends at (" << found % p.w
                            << ", " << found / p.w << ")";
    }
}

TEST(AssetPictures, EndingHalvesJoinIntoOneStrip) {
    Picture up = LoadPicture(ImgPath(14)), low = LoadPicture(ImgPath(15));
    ASSERT_TRUE(up.ok() && low.ok());
    ASSERT_EQ(up.w, low.w);
    long sum = 0;
    for (int x = 0; x < up.w; ++x) {
        const Rgba &a = up.at(x, up.h - 1), &b = low.at(x, 0);
        sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }
    EXPECT_LE(sum / up.w, 24);
}

TEST(AssetPictures, ExplosionGrowsThenFades) {
    Picture p = LoadPicture(ImgPath(18));
    ASSERT_TRUE(p.ok());
    std::vector<int> coverage;
    for (int cell = 0; cell < 11; ++cell) coverage.push_back(OpaqueIn(p, cell * 16, 0, 16, 16));
    const auto peak = std::max_element(coverage.begin(), coverage.end());
    EXPECT_GT(coverage.front(), 0);
    EXPECT_LT(coverage.front(), *peak / 3);
    EXPECT_LT(coverage.back(), *peak * 3 / 4);
    const long peakAt = peak - coverage.begin();
    EXPECT_GE(peakAt, 2);
    EXPECT_LE(peakAt, 8);
}

TEST(AssetPictures, TitleLeavesThePromptAreaQuiet) {
    Picture t = LoadPicture(ImgPath(10));
    ASSERT_TRUE(t.ok());
    // the prompt is drawn at (270, 400) 253 x 76: no lettering or bright detail under it
    int bright = 0;
    for (int y = 400; y < 476; ++y)
        for (int x = 270; x < 523; ++x) {
            const Rgba& c = t.at(x, y);
            bright += (c.r + c.g + c.b) > 3 * 200;
        }
    EXPECT_LT(bright, 253 * 76 / 50);
}
