// Screenshots and snapshots as PNG files, for every backend alike.
#pragma once

#include <cstdint>
#include <string>

namespace plat::common {

// Writes opaque RGB pixels (three bytes each, rows from the top, no gaps) as a PNG file. False
// with the reason in *why when the file cannot be written whole.
bool WritePng(const char* path, int width, int height, const uint8_t* rgb, std::string* why);

}  // namespace plat::common
