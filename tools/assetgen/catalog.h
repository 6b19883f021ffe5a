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
Image appIcon();  // 64 x 64

// Nearest-neighbour scaling by any factor (the knights are shown at 2.5).
Image scaleNearest(const Image& img, double factor);

}  // namespace ag
