#include "platform/common/picture.h"

#define STBI_NO_STDIO
#include <stb_image.h>

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif
#if defined(TINSELRUN_HAVE_LIBDEFLATE)
#include <libdeflate.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/common/bytes.h"
#include "platform/common/png_check.h"

namespace plat::common {
namespace {

static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");

constexpr uint32_t PNG_SIGNATURE = 0x89504E47u;

#if defined(TINSELRUN_HAVE_LIBDEFLATE)
uint32_t Crc32(const uint8_t* p, size_t n) {
    return libdeflate_crc32(0, p, n);
}
#else
// PNG's CRC-32, table-driven.
constexpr std::array<uint32_t, 256> CRC_TABLE = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

uint32_t Crc32(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) c = CRC_TABLE[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}
#endif

bool IsCritical(const uint8_t* type) {
    return (type[0] & 0x20) == 0;
}

// The checksum of every critical chunk (a chunk walk that has passed PngChunksIntact). Damage in
// an ancillary chunk is passed over, as PNG readers do.
bool PngCriticalChunksSound(const uint8_t* data, size_t size) {
    for (size_t at = 8; at + 12 <= size;) {
        const uint32_t length = Be32(data + at);
        const uint8_t* type = data + at + 4;
        if (IsCritical(type) && Crc32(type, 4 + size_t{length}) != Be32(type + 4 + length)) {
            return false;
        }
        at += 12 + size_t{length};
    }
    return true;
}

bool IsBmp(const uint8_t* data, size_t size) {
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}
bool IsJpeg(const uint8_t* data, size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

// Whether every pixel of a BMP with a palette names an entry the file gives. stb_image looks the
// others up in a table it never filled, so the picture would hold whatever the stack held. The
// palette is sized and the rows walked as stb_image does; bytes past the end read as 0.
bool BmpColoursInPalette(const uint8_t* data, size_t size) {
    uint8_t head[34] = {};  // what stb_image reads past the end is 0
    std::memcpy(head, data, std::min(size, sizeof head));
    const int64_t offset = Le32(head + 10);
    const int64_t header = Le32(head + 14);
    const bool core = header == 12;
    const int bits = Le16(head + (core ? 24 : 28));
    const int32_t compression = core ? 0 : int32_t(Le32(head + 30));
    if ((header != 12 && header != 40 && header != 56 && header != 108 && header != 124) ||
        offset > INT_MAX || compression == 1 || compression == 2 || compression >= 4) {
        return true;  // stb_image refuses it
    }
    if (bits >= 16) return true;  // no palette
    const int64_t entries = core ? (offset - 14 - 24) / 3 : (offset - 14 - header) >> 2;
    if (entries == 0 || entries > 256) return true;  // stb_image refuses these itself
    if (entries < 0 || (bits != 1 && bits != 4 && bits != 8)) return false;
    const int64_t width = core ? Le16(head + 18) : int32_t(Le32(head + 18));
    const int64_t height = std::abs(core ? int64_t{Le16(head + 20)} : int32_t(Le32(head + 22)));
    if (width <= 0 || width > MAX_PICTURE_SIDE || height > MAX_PICTURE_SIDE) return true;
    const int64_t rowBytes = (width * bits + 7) / 8;
    const int64_t stride = rowBytes + ((-rowBytes) & 3);
    const auto byteAt = [&](int64_t at) { return at < int64_t(size) ? data[at] : 0; };
    for (int64_t y = 0; y < height; ++y) {
        const int64_t row = offset + y * stride;
        if (row >= int64_t(size)) break;  // the rest reads as colour 0
        for (int64_t x = 0; x < width; ++x) {
            const int shift = 8 - bits - int((x * bits) % 8);
            if (((byteAt(row + x * bits / 8) >> shift) & ((1 << bits) - 1)) >= entries) {
                return false;
            }
        }
    }
    return true;
}

// ABGR8888 words (the bytes R, G, B, A) to ARGB8888.
inline uint32_t SwapRedAndBlue(uint32_t v) {
    return (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
}

// The one block that checks and decodes pass on to each other.
std::mutex g_spareMutex;
PixelMemory g_spare;

#if defined(TINSELRUN_HAVE_LIBDEFLATE)
PixelMemory TakeMemory(size_t bytes) {
    {
        std::lock_guard<std::mutex> lock(g_spareMutex);
        if (g_spare.size() >= bytes) return std::move(g_spare);
        g_spare = PixelMemory();
    }
    return PixelMemory(bytes);
}
#endif

void GiveMemory(PixelMemory memory) {
    std::lock_guard<std::mutex> lock(g_spareMutex);
    if (memory.size() > g_spare.size()) g_spare = std::move(memory);
}

#if defined(TINSELRUN_HAVE_LIBDEFLATE)

// An 8-bit RGBA PNG without interlacing or any chunk our reader does not know: the kind every
// picture of the game is. Anything else goes to stb_image.
struct PlainPng {
    uint32_t width = 0;
    uint32_t height = 0;
    const uint8_t* compressed = nullptr;  // the zlib stream of every IDAT, in order
    size_t compressedSize = 0;
    std::vector<uint8_t> joined;  // where it lies when there is more than one IDAT
    size_t RawSize() const { return size_t{height} * (size_t{width} * 4 + 1); }
};

// For a file that has passed PngChunksIntact and the header check.
bool ReadPlainPng(const uint8_t* data, size_t size, PlainPng* png) {
    size_t at = 8;
    if (Be32(data + at) != 13 || std::memcmp(data + at + 4, "IHDR", 4) != 0) return false;
    const uint8_t* ihdr = data + at + 8;
    png->width = Be32(ihdr);
    png->height = Be32(ihdr + 4);
    if (png->width == 0 || png->height == 0 || ihdr[8] != 8 || ihdr[9] != 6 || ihdr[10] != 0 ||
        ihdr[11] != 0 || ihdr[12] != 0) {
        return false;
    }
    at += 12 + 13;
    std::vector<std::pair<const uint8_t*, size_t>> parts;
    while (at + 12 <= size) {
        const uint32_t length = Be32(data + at);
        const uint8_t* type = data + at + 4;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            parts.emplace_back(type + 4, length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        } else if (IsCritical(type) || std::memcmp(type, "tRNS", 4) == 0) {
            return false;
        }
        at += 12 + size_t{length};
    }
    if (parts.empty()) return false;
    if (parts.size() == 1) {
        png->compressed = parts[0].first;
        png->compressedSize = parts[0].second;
        return true;
    }
    for (const auto& [bytes, length] : parts)
        png->joined.insert(png->joined.end(), bytes, bytes + length);
    png->compressed = png->joined.data();
    png->compressedSize = png->joined.size();
    return true;
}

// Inflates the rows, each led by its filter type, into raw (RawSize bytes); false unless the
// stream is whole, its checksum right, it fills the rows exactly and every filter type is known.
bool InflateRows(const PlainPng& png, uint8_t* raw) {
    libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
    if (inflater == nullptr) return false;
    const libdeflate_result result = libdeflate_zlib_decompress(
        inflater, png.compressed, png.compressedSize, raw, png.RawSize(), nullptr);
    libdeflate_free_decompressor(inflater);
    if (result != LIBDEFLATE_SUCCESS) return false;
    const size_t stride = size_t{png.width} * 4 + 1;
    for (size_t y = 0; y < png.height; ++y) {
        if (raw[y * stride] > 4) return false;
    }
    return true;
}

// Byte-wise sums and halved sums of four bytes at once.
inline uint32_t AddBytes(uint32_t a, uint32_t b) {
    return ((a & 0x7F7F7F7Fu) + (b & 0x7F7F7F7Fu)) ^ ((a ^ b) & 0x80808080u);
}
inline uint32_t AverageBytes(uint32_t a, uint32_t b) {
    return (a & b) + (((a ^ b) & 0xFEFEFEFEu) >> 1);
}
inline uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void Store32(uint8_t* p, uint32_t v) {
    std::memcpy(p, &v, 4);
}

// The Paeth filter of a row of 4-byte pixels: the slowest of the five, so a pixel at a time in
// 16-bit lanes where the processor has them.
void PaethRow(uint8_t* cur, const uint8_t* in, const uint8_t* prev, size_t stride) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const auto absolute = [&](__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(zero, v)); };
    __m128i a = zero, c = zero;  // left and upper left
    for (size_t i = 0; i < stride; i += 4) {
        const __m128i b = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(Load32(prev + i))), zero);
        const __m128i x = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(Load32(in + i))), zero);
        const __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
        const __m128i pa = absolute(bc), pb = absolute(ac), pc = absolute(_mm_add_epi16(bc, ac));
        const __m128i least = _mm_min_epi16(pa, _mm_min_epi16(pb, pc));
        const __m128i isA = _mm_cmpeq_epi16(least, pa), isB = _mm_cmpeq_epi16(least, pb);
        const __m128i bOrC = _mm_or_si128(_mm_and_si128(isB, b), _mm_andnot_si128(isB, c));
        const __m128i predicted = _mm_or_si128(_mm_and_si128(isA, a), _mm_andnot_si128(isA, bOrC));
        const __m128i pixel = _mm_and_si128(_mm_add_epi16(x, predicted), _mm_set1_epi16(0xFF));
        Store32(cur + i, uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(pixel, pixel))));
        a = pixel;
        c = b;
    }
#else
    const auto predictor = [](int a, int b, int c) {
        const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
        return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
    };
    for (size_t i = 0; i < 4; ++i) cur[i] = static_cast<uint8_t>(in[i] + prev[i]);
    for (size_t i = 4; i < stride; ++i) {
        cur[i] = static_cast<uint8_t>(in[i] + predictor(cur[i - 4], prev[i], prev[i - 4]));
    }
#endif
}

// The Up filter: each byte plus the one above it.
void UpRow(uint8_t* cur, const uint8_t* in, const uint8_t* prev, size_t stride) {
    size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= stride; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(cur + i), _mm_add_epi8(x, b));
    }
#endif
    for (; i < stride; i += 4) Store32(cur + i, AddBytes(Load32(in + i), Load32(prev + i)));
}

// A row of RGBA bytes as ARGB words.
void RowToArgb(uint8_t* out, const uint8_t* rgba, size_t bytes) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i alphaGreen = _mm_set1_epi32(int(0xFF00FF00u)), low = _mm_set1_epi32(0xFF);
    for (; i + 16 <= bytes; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rgba + i));
        const __m128i red = _mm_and_si128(v, low), blue = _mm_and_si128(_mm_srli_epi32(v, 16), low);
        const __m128i argb =
            _mm_or_si128(_mm_and_si128(v, alphaGreen), _mm_or_si128(blue, _mm_slli_epi32(red, 16)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), argb);
    }
#endif
    for (; i < bytes; i += 4) Store32(out + i, SwapRedAndBlue(Load32(rgba + i)));
}

// Undoes each row's filter and writes it as ARGB over the inflated rows, in place: row y of the
// pixels ends before row y + 1 of the inflated data begins.
void UnfilterToArgb(uint8_t* raw, uint32_t width, uint32_t height) {
    const size_t stride = size_t{width} * 4;
    std::vector<uint8_t> rows(2 * stride, 0);
    uint8_t* prev = rows.data();  // the row above, as RGBA; zeros above the first
    uint8_t* cur = prev + stride;
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* in = raw + y * (stride + 1);
        const uint8_t filter = *in++;
        switch (filter) {
            case 0: std::memcpy(cur, in, stride); break;
            case 1:
                Store32(cur, Load32(in));
                for (size_t i = 4; i < stride; i += 4) {
                    Store32(cur + i, AddBytes(Load32(in + i), Load32(cur + i - 4)));
                }
                break;
            case 2: UpRow(cur, in, prev, stride); break;
            case 3:
                Store32(cur, AddBytes(Load32(in), AverageBytes(0, Load32(prev))));
                for (size_t i = 4; i < stride; i += 4) {
                    const uint32_t average = AverageBytes(Load32(cur + i - 4), Load32(prev + i));
                    Store32(cur + i, AddBytes(Load32(in + i), average));
                }
                break;
            default: PaethRow(cur, in, prev, stride); break;
        }
        RowToArgb(raw + y * stride, cur, stride);
        std::swap(prev, cur);
    }
}

#endif  // TINSELRUN_HAVE_LIBDEFLATE

void Say(const char* name, const char* what) {
    std::fprintf(stderr, "tinselrun: %s: %s\n", name, what);
}

}  // namespace

PixelMemory::PixelMemory(size_t bytes) {
    if (bytes == 0) return;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Blocks of a megabyte or more are rounded up to whole, aligned huge pages.
    constexpr size_t HUGE_PAGE = size_t{2} << 20;
    if (bytes >= HUGE_PAGE / 2) {
        const size_t whole = (bytes + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
        void* map = mmap(nullptr, whole + HUGE_PAGE, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map != MAP_FAILED) {
            auto* start = static_cast<uint8_t*>(map);
            const size_t skip =
                (HUGE_PAGE - reinterpret_cast<uintptr_t>(start) % HUGE_PAGE) % HUGE_PAGE;
            if (skip > 0) munmap(start, skip);
            if (HUGE_PAGE - skip > 0) munmap(start + skip + whole, HUGE_PAGE - skip);
            data_ = start + skip;
            madvise(data_, whole, MADV_HUGEPAGE);
            size_ = bytes;
            mapped_ = whole;
            return;
        }
    }
#endif
    data_ = static_cast<uint8_t*>(std::malloc(bytes));
    size_ = data_ != nullptr ? bytes : 0;
}

PixelMemory PixelMemory::Adopt(void* block, size_t bytes) {
    PixelMemory memory;
    memory.data_ = static_cast<uint8_t*>(block);
    memory.size_ = block != nullptr ? bytes : 0;
    return memory;
}

PixelMemory PixelMemory::Zeroed(size_t bytes) {
    PixelMemory memory(bytes);
    if (memory.mapped_ == 0 && memory.data_ != nullptr) std::memset(memory.data_, 0, bytes);
    return memory;
}

PixelMemory::~PixelMemory() {
    Free();
}

PixelMemory::PixelMemory(PixelMemory&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

PixelMemory& PixelMemory::operator=(PixelMemory&& other) noexcept {
    if (this != &other) {
        Free();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mapped_ = std::exchange(other.mapped_, 0);
    }
    return *this;
}

void PixelMemory::Free() {
#if defined(__linux__)
    if (mapped_ > 0) munmap(data_, mapped_);
#endif
    if (mapped_ == 0) std::free(data_);
    data_ = nullptr;
    size_ = mapped_ = 0;
}

bool PictureHeaderTooLarge(const uint8_t* data, size_t size, int64_t* width, int64_t* height) {
    int64_t w = -1, h = -1;
    if (size >= 24 && Be32(data) == PNG_SIGNATURE && Be32(data + 12) == 0x49484452u) {
        w = Be32(data + 16);  // PNG: IHDR comes first
        h = Be32(data + 20);
    } else if (size >= 26 && data[0] == 'B' && data[1] == 'M') {
        w = static_cast<int32_t>(Le32(data + 18));
        h = static_cast<int32_t>(Le32(data + 22));
        if (h < 0) h = -h;
    } else if (size >= 10 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F') {
        w = Le16(data + 6);
        h = Le16(data + 8);
    } else if (size >= 12 && data[0] == 'q' && data[1] == 'o' && data[2] == 'i' && data[3] == 'f') {
        w = Be32(data + 4);
        h = Be32(data + 8);
    }
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
    if (w < 0 || h < 0) return false;  // unknown header: the decoder and its own limits decide
    return w > MAX_PICTURE_SIDE || h > MAX_PICTURE_SIDE || w * h > MAX_PICTURE_PIXELS;
}

bool DecodeWithStb(const uint8_t* data, size_t size, Picture* out, const char** why) {
    int w = 0, h = 0, channels = 0;
    if (size > INT_MAX) {
        *why = "too large";
        return false;
    }
    const int length = static_cast<int>(size);
    if (IsBmp(data, size) && !BmpColoursInPalette(data, size)) {
        *why = "a BMP with colours outside its palette";
        return false;
    }
    if (!stbi_info_from_memory(data, length, &w, &h, &channels)) {
        *why = stbi_failure_reason();
        return false;
    }
    if (w <= 0 || h <= 0 || w > MAX_PICTURE_SIDE || h > MAX_PICTURE_SIDE ||
        int64_t{w} * h > MAX_PICTURE_PIXELS) {
        *why = "too large";
        return false;
    }
    stbi_uc* rgba = stbi_load_from_memory(data, length, &w, &h, &channels, 4);
    if (rgba == nullptr) {
        *why = stbi_failure_reason();
        return false;
    }
    const size_t pixels = size_t(w) * size_t(h);
    for (size_t i = 0; i < pixels; ++i) {
        uint32_t v;
        std::memcpy(&v, rgba + 4 * i, 4);
        v = SwapRedAndBlue(v);
        std::memcpy(rgba + 4 * i, &v, 4);
    }
    out->width = w;
    out->height = h;
    out->memory = PixelMemory::Adopt(rgba, pixels * 4);
    return true;
}

bool CheckedPicture::Check(const uint8_t* data, size_t size, const char* name) {
    data_ = data;
    size_ = size;
    name_ = name;
    width_ = height_ = 0;
    ownReader_ = false;
    decoded_ = Picture();
    if (size == 0) {
        Say(name, "empty picture file");
        return false;
    }
    int64_t w = 0, h = 0;
    if (PictureHeaderTooLarge(data, size, &w, &h)) {
        std::fprintf(stderr, "tinselrun: %s: picture claims %lld x %lld pixels, refused\n", name,
                     static_cast<long long>(w), static_cast<long long>(h));
        return false;
    }
    const bool png = size >= 8 && Be32(data) == PNG_SIGNATURE;
    if (png && (!PngChunksIntact(data, size) || !PngCriticalChunksSound(data, size))) {
        Say(name, "truncated or corrupt PNG picture, refused");
        return false;
    }
    // The formats a picture file has always been allowed to be, told apart by content. GIF and PNM
    // are not: their readers could be made to allocate gigabytes by a file of a few bytes.
    if (!png && !IsBmp(data, size) && !IsJpeg(data, size)) {
        Say(name, "not a picture (PNG, BMP or JPEG)");
        return false;
    }
#if defined(TINSELRUN_HAVE_LIBDEFLATE)
    PlainPng plain;
    if (png && ReadPlainPng(data, size, &plain)) {
        // Inflated once to be sure of it, and again when the pixels are wanted.
        PixelMemory raw = TakeMemory(plain.RawSize());
        if (raw.data() == nullptr) {
            Say(name, "no memory to check the picture");
            return false;
        }
        const bool whole = InflateRows(plain, raw.data());
        GiveMemory(std::move(raw));
        if (!whole) {
            Say(name, "truncated or corrupt PNG picture, refused");
            return false;
        }
        width_ = static_cast<int>(plain.width);
        height_ = static_cast<int>(plain.height);
        ownReader_ = true;
        return true;
    }
#endif
    int sw = 0, sh = 0, channels = 0;
    if (stbi_info_from_memory(data, static_cast<int>(std::min<size_t>(size, INT_MAX)), &sw, &sh,
                              &channels) &&
        (sw > MAX_PICTURE_SIDE || sh > MAX_PICTURE_SIDE || int64_t{sw} * sh > MAX_PICTURE_PIXELS)) {
        std::fprintf(stderr, "tinselrun: %s: picture claims %d x %d pixels, refused\n", name, sw,
                     sh);
        return false;
    }
    const char* why = "";
    if (!DecodeWithStb(data, size, &decoded_, &why)) {
        std::fprintf(stderr, "tinselrun: %s: not a picture (%s)\n", name, why);
        return false;
    }
    width_ = decoded_.width;
    height_ = decoded_.height;
    return true;
}

bool CheckedPicture::Decode(Picture* out) {
    if (!ownReader_) {
        *out = std::move(decoded_);
        return out->memory.data() != nullptr;
    }
#if defined(TINSELRUN_HAVE_LIBDEFLATE)
    PlainPng plain;
    PixelMemory raw;
    if (ReadPlainPng(data_, size_, &plain)) raw = TakeMemory(plain.RawSize());
    if (raw.data() == nullptr || !InflateRows(plain, raw.data())) {
        Say(name_, "no memory to decode the picture");
        return false;
    }
    UnfilterToArgb(raw.data(), plain.width, plain.height);
    out->width = width_;
    out->height = height_;
    out->memory = std::move(raw);
    return true;
#else
    return false;
#endif
}

bool DecodePicture(const uint8_t* data, size_t size, const char* name, Picture* out) {
    CheckedPicture picture;
    return picture.Check(data, size, name) && picture.Decode(out);
}

void Recycle(Picture* picture) {
    GiveMemory(std::move(picture->memory));
    *picture = Picture();
}

void TrimPictureMemory(size_t nextBytes) {
    constexpr size_t SLACK = size_t{2} << 20;
    std::lock_guard<std::mutex> lock(g_spareMutex);
    if (nextBytes == 0 || g_spare.size() >= nextBytes + SLACK) g_spare = PixelMemory();
}

}  // namespace plat::common
