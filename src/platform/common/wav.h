// The 44-byte header of a plain PCM WAV file, written by the asset generator, the runner's sound
// capture and the tests alike.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/common/bytes.h"

namespace plat::common {

constexpr size_t WAV_HEADER_BYTES = 44;
// The RIFF sizes are 32-bit: no more sample bytes than this fit in one file.
constexpr uint32_t WAV_MAX_DATA_BYTES = 0xFFFFFFFFu - 36;

inline std::vector<uint8_t> WavHeader(uint32_t channels, uint32_t rate, uint32_t bits,
                                      uint32_t dataBytes) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    PutLe32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe32(out, 16);
    PutLe16(out, 1);  // PCM
    PutLe16(out, static_cast<uint16_t>(channels));
    PutLe32(out, rate);
    PutLe32(out, rate * channels * bits / 8);
    PutLe16(out, static_cast<uint16_t>(channels * bits / 8));
    PutLe16(out, static_cast<uint16_t>(bits));
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe32(out, dataBytes);
    return out;
}

}  // namespace plat::common
