#include "platform/web/png_file.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace plat::web {

bool WritePng(const char* path, int width, int height, const uint8_t* rgb) {
    return stbi_write_png(path, width, height, 3, rgb, width * 3) != 0;
}

}  // namespace plat::web
