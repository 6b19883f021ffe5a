// Every word in the pictures, in the game's own 5x7 proportional letters (app/glyphs.h).
#pragma once

#include <string>

#include "app/glyphs.h"
#include "canvas.h"

namespace ag {

struct TextStyle {
    int scale = 2;
    Color fill = rgb(255, 255, 255);
    Color fillBottom = rgb(255, 255, 255);  // vertical gradient across the glyph
    Color outline = rgb(0, 0, 0, 0);        // drawn around each glyph pixel when opaque
    int outlineWidth = 1;                   // in screen pixels
    Color shadow = rgb(0, 0, 0, 0);         // offset down-right by one font pixel
    Color snowCap = rgb(0, 0, 0, 0);        // white on each glyph's upper edges
};

// Width in pixels of the text as drawn (without outline). Throws on a character the font lacks.
int textWidth(const std::string& text, int scale);
constexpr int kGlyphHeight = GLYPH_HEIGHT;

void drawText(Image& img, const std::string& text, int x, int y, const TextStyle& style);
void drawTextCentered(Image& img, const std::string& text, int cx, int y, const TextStyle& style);

}  // namespace ag
