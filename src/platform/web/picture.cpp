#include "platform/web/picture.h"

#include <cstdio>
#include <cstring>

#include "platform/common/bytes.h"
#include "platform/common/png_check.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace plat::web {

namespace {

// The same limits the desktop's loader keeps: a header may not claim more than this.
constexpr int64_t MAX_PICTURE_SIDE = 16384;
constexpr int64_t MAX_PICTURE_PIXELS = 64ll * 1024 * 1024;

bool IsPng(const uint8_t* d, size_t n) {
    return n >= 8 && common::Be32(d) == 0x89504E47u;
}
bool IsBmp(const uint8_t* d, size_t n) {
    return n >= 2 && d[0] == 'B' && d[1] == 'M';
}
bool IsJpeg(const uint8_t* d, size_t n) {
    return n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF;
}

}  // namespace

bool DecodePicture(const uint8_t* data, size_t size, const char* path, Picture* out) {
    if (size == 0) {
        std::fprintf(stderr, "tinselrun: %s: empty picture file\n", path);
        return false;
    }
    if (!IsPng(data, size) && !IsBmp(data, size) && !IsJpeg(data, size)) {
        std::fprintf(stderr, "tinselrun: %s: not a picture (PNG, BMP or JPEG)\n", path);
        return false;
    }
    if (IsPng(data, size) && !common::PngChunksIntact(data, size)) {
        std::fprintf(stderr, "tinselrun: %s: truncated or corrupt PNG picture, refused\n", path);
        return false;
    }
    const int length = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
    int w = 0, h = 0, channels = 0;
    if (stbi_info_from_memory(data, length, &w, &h, &channels) &&
        (w > MAX_PICTURE_SIDE || h > MAX_PICTURE_SIDE ||
         int64_t{w} * int64_t{h} > MAX_PICTURE_PIXELS)) {
        std::fprintf(stderr, "tinselrun: %s: picture claims %d x %d pixels, refused\n", path, w, h);
        return false;
    }
    stbi_uc* pixels = stbi_load_from_memory(data, length, &w, &h, &channels, 4);
    if (pixels == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: not a picture (%s)\n", path, stbi_failure_reason());
        return false;
    }
    out->width = w;
    out->height = h;
    out->rgba.assign(pixels, pixels + static_cast<size_t>(w) * h * 4);
    stbi_image_free(pixels);
    return true;
}

bool WritePng(const char* path, int width, int height, const uint8_t* rgb) {
    return stbi_write_png(path, width, height, 3, rgb, width * 3) != 0;
}

}  // namespace plat::web
