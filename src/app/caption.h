// The pause caption, in the pictures' 5x7 pixel font, as the pictures draw their headings.
#pragma once

#include <vector>

#include "platform/renderer.h"

// "PAUSED": '#' for a lit font pixel, glyphs a column apart.
constexpr int PAUSED_WIDTH = 35;
constexpr int PAUSED_HEIGHT = 7;
extern const char* const PAUSED_TEXT[PAUSED_HEIGHT];

// Shadow, outline, then a gold gradient, centred on the picture, in picture pixels.
const std::vector<plat::FillRect>& PausedCaption();
