// The page's screenshots and snapshots as PNG files (pictures are read by common/picture).
#pragma once

#include <cstdint>

namespace plat::web {

// Writes RGB pixels (row by row from the top) as a PNG file; false when it cannot.
bool WritePng(const char* path, int width, int height, const uint8_t* rgb);

}  // namespace plat::web
