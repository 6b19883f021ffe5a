#include "app/lettering.h"

#include <cctype>

#include "app/glyphs.h"

namespace {

const Glyph& GlyphOf(char ch) {
    const Glyph* glyph = FindGlyph(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
    return glyph != nullptr ? *glyph : *FindGlyph('?');
}

uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= static_cast<uint32_t>(ca + (cb - ca) * num / den) << shift;
    }
    return out;
}

}  // namespace

int LetteringWidth(std::string_view text, int scale) {
    int width = 0;
    for (char c : text) width += (GlyphWidth(GlyphOf(c)) + 1) * scale;
    return text.empty() ? 0 : width - scale;
}

void AddLettering(std::vector<plat::FillRect>* out, std::string_view text, int x, int y,
                  const Lettering& look) {
    const int s = look.scale, o = look.outlineWidth;
    // Each run of lit pixels in a glyph's row is one rectangle per layer; the shadow goes under
    // every outline and the outline under every fill, so neighbours never cover each other.
    for (int layer = 0; layer < 3; ++layer) {
        if (layer == 0 && (look.shadow >> 24) == 0) continue;
        if (layer == 1 && ((look.outline >> 24) == 0 || o <= 0)) continue;
        int left = x;
        for (char c : text) {
            const Glyph& glyph = GlyphOf(c);
            const int width = GlyphWidth(glyph);
            for (int row = 0; row < GLYPH_HEIGHT; ++row) {
                const int top = y + row * s;
                for (int col = 0; col < width;) {
                    if (glyph.rows[row][col] != '#') {
                        ++col;
                        continue;
                    }
                    int end = col;
                    while (end < width && glyph.rows[row][end] == '#') ++end;
                    const int runX = left + col * s, runW = (end - col) * s;
                    if (layer == 0) out->push_back({runX + s, top + s, runW, s, look.shadow});
                    if (layer == 1) {
                        out->push_back({runX - o, top - o, runW + 2 * o, s + 2 * o, look.outline});
                    }
                    if (layer == 2) {
                        out->push_back({runX, top, runW, s,
                                        Mix(look.top, look.bottom, row, GLYPH_HEIGHT - 1)});
                    }
                    col = end;
                }
            }
            left += (width + 1) * s;
        }
    }
}
