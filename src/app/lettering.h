// The game's own words over the picture (the menu, the assist mark), in the letters the pictures
// are drawn with (app/glyphs.h), as the pictures draw theirs: shadow, outline, then a gradient.
// They come out as rectangles in picture pixels, for the renderer to fill.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/renderer.h"

struct Lettering {
    int scale = 3;                  // picture pixels to a font pixel
    uint32_t top = 0xFFFFFAEC;      // the fill of the top row, blending down to...
    uint32_t bottom = 0xFFECDAAA;   // ...the bottom row's
    uint32_t outline = 0xFF0E0C1C;  // round every lit pixel
    int outlineWidth = 2;           // in picture pixels
    uint32_t shadow = 0xA0000000;   // a font pixel down and right; 0: none
};

// The pictures' story text and their headings.
constexpr Lettering StoryLettering(int scale) {
    Lettering look;
    look.scale = scale;
    return look;
}
constexpr Lettering HeadingLettering(int scale) {
    Lettering look;
    look.scale = scale;
    look.top = 0xFFFFE46E;
    look.bottom = 0xFFE88028;
    return look;
}

// Lower case is drawn as upper case; a character the font lacks as '?'.
int LetteringWidth(std::string_view text, int scale);
// Adds the rectangles of the text with its top left corner (without outline) at x, y.
void AddLettering(std::vector<plat::FillRect>* out, std::string_view text, int x, int y,
                  const Lettering& look);
