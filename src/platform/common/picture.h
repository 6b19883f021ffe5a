// Picture files to checked ARGB pixels, with no SDL and no zlib in sight: the desktop, the
// runner and the browser read their pictures through this.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat::common {

// A header that claims more than MAX_PICTURE_SIDE pixels on a side or MAX_PICTURE_PIXELS in all
// is refused before anything is decoded.
constexpr int64_t MAX_PICTURE_SIDE = 16384;
constexpr int64_t MAX_PICTURE_PIXELS = 64ll * 1024 * 1024;
// Reads the first bytes of a PNG, BMP, GIF or QOI (width and height, or -1 when it cannot tell).
bool PictureHeaderTooLarge(const uint8_t* data, size_t size, int64_t* width, int64_t* height);

// Memory for pixels, mapped on huge pages where the system has them: first touching millions
// of 4 KiB pages costs more than decoding into them.
class PixelMemory {
public:
    PixelMemory() = default;
    explicit PixelMemory(size_t bytes);  // empty when there is no memory
    ~PixelMemory();
    PixelMemory(PixelMemory&& other) noexcept;
    PixelMemory& operator=(PixelMemory&& other) noexcept;
    PixelMemory(const PixelMemory&) = delete;
    PixelMemory& operator=(const PixelMemory&) = delete;

    // Takes over a block from std::malloc.
    static PixelMemory Adopt(void* block, size_t bytes);
    // A block of zeros: fresh pages are zeros already, and stay untouched until written.
    static PixelMemory Zeroed(size_t bytes);

    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    void Free();
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t mapped_ = 0;  // bytes mapped at data_, or 0 for a block from std::malloc
};

// A picture as ARGB8888, row after row with no padding.
struct Picture {
    int width = 0;
    int height = 0;
    PixelMemory memory;
    const uint32_t* Pixels() const { return reinterpret_cast<const uint32_t*>(memory.data()); }
};

// A picture file that has passed every check, decoded when its pixels are wanted. The bytes stay
// the caller's and must outlive it.
class CheckedPicture {
public:
    // Every check a file can fail, each with its one stderr line naming it: empty, a size that
    // is refused, a truncated or corrupt PNG (chunks, checksums, the compressed pixels), not a
    // picture. After it, Decode can fail only for want of memory.
    bool Check(const uint8_t* data, size_t size, const char* name);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixels, once; false (after one line) when there is no memory for them.
    bool Decode(Picture* out);

private:
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    const char* name_ = "";
    int width_ = 0;
    int height_ = 0;
    bool ownReader_ = false;  // an 8-bit RGBA PNG, read by our own reader when wanted
    Picture decoded_;         // any other picture, decoded whole by the check
};

// Check and Decode at once.
bool DecodePicture(const uint8_t* data, size_t size, const char* name, Picture* out);

// stb_image, by content (PNG, BMP, JPEG): the reader of every picture that is not an 8-bit RGBA
// PNG, and of every picture where there is no inflater of our own (the browser). Checks nothing
// first; false without a line, the reason in *why.
bool DecodeWithStb(const uint8_t* data, size_t size, Picture* out, const char** why);

// Checks and decodes reuse one block of memory: Recycle hands a decoded picture's memory back
// once its pixels are no longer wanted; TrimPictureMemory gives the block up when it is well
// over the nextBytes the next picture needs (0: none is coming).
void Recycle(Picture* picture);
void TrimPictureMemory(size_t nextBytes);

}  // namespace plat::common
