// File encoders: PNG (with a small deflate of our own, so the bytes never depend on the
// zlib build installed) and 16-bit PCM WAV.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace ag {

using Bytes = std::vector<uint8_t>;

uint32_t crc32(const uint8_t* data, size_t n, uint32_t crc = 0);
// zlib stream (header, fixed-Huffman deflate with LZ77, Adler-32).
Bytes zlibCompress(const Bytes& raw);
Bytes encodePng(const Image& img);

// Interleaved samples in [-1, 1]; clipped to 16 bits.
Bytes encodeWav(const std::vector<float>& samples, int channels, int rate);

void writeFile(const std::string& path, const Bytes& data);  // throws with the path on failure

}  // namespace ag
