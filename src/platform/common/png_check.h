// A walk over a PNG file's chunks before it is decoded.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/common/bytes.h"

namespace plat::common {

// True when every chunk after the signature lies wholly inside the file and the last one is
// IEND, ending exactly at the end. A PNG cut short can still decode to a picture with its last
// rows missing, and a chunk claiming gigabytes sends the decoder through gigabytes of nothing.
inline bool PngChunksIntact(const uint8_t* data, size_t size) {
    size_t at = 8;
    while (at + 12 <= size) {
        const uint32_t length = Be32(data + at);
        if (length > size - at - 12) return false;
        const uint8_t* type = data + at + 4;
        at += 12 + static_cast<size_t>(length);
        if (type[0] == 'I' && type[1] == 'E' && type[2] == 'N' && type[3] == 'D') return at == size;
    }
    return false;
}

}  // namespace plat::common
