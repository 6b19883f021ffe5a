// The sprites, drawn as character grids with one shared palette.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace ag {

// Turns rows of palette letters into a picture ('.' is transparent).
// Throws naming the sprite when a row has the wrong width or an unknown letter.
Image fromGrid(const char* name, const std::vector<std::string>& rows);
Color paletteColor(char c);  // throws on a letter outside the palette

Image revivalSprite();  // 16 x 16
Image santaStrip();     // 64 x 16, four run cells
Image santaFrame(int i);
Image arrowSprite();     // 16 x 16
Image knightSprite();    // 16 x 16
Image villagerSprite();  // 32 x 32
Image bulletSprite();    // 16 x 16
Image shopSprite(bool open);
Image bossSprite();                         // 32 x 32
Image explosionStrip();                     // 176 x 16, eleven cells
Image santaHead();                          // 16 x 16, for the icon
Image giftSprite(Color box, Color ribbon);  // 12 x 15

}  // namespace ag
