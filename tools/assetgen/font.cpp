#include "font.h"

#include <stdexcept>

#include "app/glyphs.h"

namespace ag {

namespace {

const Glyph& glyph(char c) {
    const Glyph* found = FindGlyph(c);
    if (found == nullptr)
        throw std::runtime_error(std::string("the pixel font has no glyph for '") + c + "'");
    return *found;
}

int glyphWidth(char c) {
    return GlyphWidth(glyph(c));
}

}  // namespace

int textWidth(const std::string& text, int scale) {
    int w = 0;
    for (char c : text) w += (glyphWidth(c) + 1) * scale;
    return text.empty() ? 0 : w - scale;
}

void drawText(Image& img, const std::string& text, int x, int y, const TextStyle& st) {
    const int s = st.scale;
    auto forEachPixel = [&](auto&& fn) {
        int cx = x;
        for (char c : text) {
            const auto& rows = glyph(c).rows;
            int gw = glyphWidth(c);
            for (int r = 0; r < kGlyphHeight; ++r)
                for (int col = 0; col < gw; ++col)
                    if (rows[r][col] == '#') {
                        bool topEdge = r == 0;
                        fn(cx + col * s, y + r * s, r, topEdge);
                    }
            cx += (gw + 1) * s;
        }
    };
    if (st.shadow.a)
        forEachPixel(
            [&](int px, int py, int, bool) { img.blendRect(px + s, py + s, s, s, st.shadow); });
    if (st.outline.a) {
        const int o = st.outlineWidth;
        forEachPixel([&](int px, int py, int, bool) {
            img.blendRect(px - o, py - o, s + 2 * o, s + 2 * o, st.outline);
        });
    }
    forEachPixel([&](int px, int py, int r, bool top) {
        for (int j = 0; j < s; ++j) {
            double t = (r * s + j) / double(kGlyphHeight * s - 1);
            Color c = mix(st.fill, st.fillBottom, t);
            if (st.snowCap.a && top && j < (s + 1) / 2) c = st.snowCap;  // snow settles on the tops
            img.blendRect(px, py + j, s, 1, c);
        }
    });
}

void drawTextCentered(Image& img, const std::string& text, int cx, int y, const TextStyle& st) {
    drawText(img, text, cx - textWidth(text, st.scale) / 2, y, st);
}

}  // namespace ag
