// File encoders: PNG (with a small deflate of our own, so the bytes never depend on the
// zlib build installed), 16-bit PCM WAV, and Ogg Vorbis.
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

// Ogg Vorbis at libvorbis's `quality` (-0.1 to 1), the stream numbered `serial`. A looping
// sound is encoded as if it went on round its join, and decodes to exactly its own length.
Bytes encodeVorbis(const std::vector<float>& samples, int channels, int rate, float quality,
                   bool loop, uint32_t serial);

void writeFile(const std::string& path, const Bytes& data);  // throws with the path on failure

}  // namespace ag
