#include "platform/common/png_write.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#if defined(TINSELRUN_HAVE_LIBDEFLATE)
#include <libdeflate.h>
#else
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
#endif

namespace plat::common {
namespace {

struct CloseFile {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

#if defined(TINSELRUN_HAVE_LIBDEFLATE)

// libdeflate's level 6, as zlib's default; the frames are flat colour and compress well.
constexpr int LEVEL = 6;

void PutBe32(std::vector<uint8_t>* out, uint32_t v) {
    const uint8_t bytes[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    out->insert(out->end(), bytes, bytes + 4);
}

void PutChunk(std::vector<uint8_t>* out, const char* type, const uint8_t* data, size_t size) {
    PutBe32(out, static_cast<uint32_t>(size));
    const size_t start = out->size();
    out->insert(out->end(), type, type + 4);
    out->insert(out->end(), data, data + size);
    PutBe32(out, libdeflate_crc32(0, out->data() + start, size + 4));
}

// Each row as the Sub filter makes it: a byte less the one a pixel to its left.
std::vector<uint8_t> FilteredRows(int width, int height, const uint8_t* rgb) {
    const size_t stride = size_t(width) * 3;
    std::vector<uint8_t> rows((stride + 1) * size_t(height));
    for (size_t y = 0; y < size_t(height); ++y) {
        uint8_t* out = rows.data() + y * (stride + 1);
        const uint8_t* in = rgb + y * stride;
        *out++ = 1;
        for (size_t i = 0; i < stride; ++i) out[i] = uint8_t(in[i] - (i >= 3 ? in[i - 3] : 0));
    }
    return rows;
}

std::vector<uint8_t> Encode(int width, int height, const uint8_t* rgb) {
    const std::vector<uint8_t> rows = FilteredRows(width, height, rgb);
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(LEVEL), &libdeflate_free_compressor);
    if (!compressor) return {};
    std::vector<uint8_t> idat(libdeflate_zlib_compress_bound(compressor.get(), rows.size()));
    idat.resize(libdeflate_zlib_compress(compressor.get(), rows.data(), rows.size(), idat.data(),
                                         idat.size()));
    if (idat.empty()) return {};

    static const uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> png(SIGNATURE, SIGNATURE + 8);
    std::vector<uint8_t> header;
    PutBe32(&header, uint32_t(width));
    PutBe32(&header, uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filtered, whole
    PutChunk(&png, "IHDR", header.data(), header.size());
    PutChunk(&png, "IDAT", idat.data(), idat.size());
    PutChunk(&png, "IEND", nullptr, 0);
    return png;
}

#else

std::vector<uint8_t> Encode(int width, int height, const uint8_t* rgb) {
    std::vector<uint8_t> png;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            const auto* bytes = static_cast<const uint8_t*>(data);
            static_cast<std::vector<uint8_t>*>(context)->insert(
                static_cast<std::vector<uint8_t>*>(context)->end(), bytes, bytes + size);
        },
        &png, width, height, 3, rgb, width * 3);
    return png;
}

#endif

}  // namespace

bool WritePng(const char* path, int width, int height, const uint8_t* rgb, std::string* why) {
    if (width <= 0 || height <= 0) {
        *why = "nothing has been drawn";
        return false;
    }
    const std::vector<uint8_t> png = Encode(width, height, rgb);
    if (png.empty()) {
        *why = "out of memory";
        return false;
    }
    errno = 0;
    std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path, "wb"));
    if (!file) {
        *why = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        *why = errno != 0 ? std::strerror(errno) : "cannot write it whole";
        return false;
    }
    return true;
}

}  // namespace plat::common
