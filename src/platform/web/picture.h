// Picture bytes to checked RGBA pixels, with the game's one-line errors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat::web {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // row by row from the top, 4 bytes a pixel
};

// PNG, BMP or JPEG by content. False after one stderr line naming the file.
bool DecodePicture(const uint8_t* data, size_t size, const char* path, Picture* out);

// Writes RGB pixels (row by row from the top) as a PNG file; false when it cannot.
bool WritePng(const char* path, int width, int height, const uint8_t* rgb);

}  // namespace plat::web
