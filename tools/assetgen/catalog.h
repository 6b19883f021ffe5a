// The list of files the game loads, and the review pictures made from them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "encode.h"

namespace ag {

struct Asset {
    std::string path;  // relative to the output folder, e.g. "img/7.dat"
    std::function<Bytes()> make;
};

const std::vector<Asset>& catalog();

// Every picture at the scale the game shows it, labelled, on one sheet.
Image contactSheet();
// The application icon, size x size, scaled from the 16 x 16 pixel-art master by a whole
// number so each size a desktop asks for stays crisp.
Image appIcon(int size = 64);
inline constexpr int kAppIconSizes[] = {16, 32, 48, 64, 128, 256};

// Nearest-neighbour scaling by any factor (the knights are shown at 2.5).
Image scaleNearest(const Image& img, double factor);

}  // namespace ag
