// The large pictures, composed in code.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace ag {

Image townPicture();      // 800 x 600, tiles left to right
Image titlePicture();     // 800 x 600
Image gameOverPicture();  // 800 x 600
Image openingBack();      // 800 x 1800
Image openingFront();     // 800 x 2400, mostly transparent
Image endingStrip();      // 800 x 3600, cut into the two ending pictures
Image promptPicture();    // 253 x 76

// Splits text into lines no wider than maxWidth at the given font scale.
std::vector<std::string> wrapText(const std::string& text, int scale, int maxWidth);

}  // namespace ag
