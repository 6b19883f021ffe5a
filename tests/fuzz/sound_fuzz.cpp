// Any bytes given to the sound loader either load or are refused with one line; never a crash.
// What loads is read to its end as the mixer would, decoded whole or streamed.
#include <cstddef>
#include <cstdint>

#include "platform/common/sound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plat::common;
    (void)WavHeaderSeconds(data, size);
    (void)OpenSoundBytes(data, size, "fuzz", false);
    const auto sound = OpenSoundBytes(data, size, "fuzz", true);
    if (sound == nullptr || !sound->Streamed()) return 0;
    // A stream is read for two seconds of play at most, once through and once looping.
    for (bool loop : {false, true}) {
        const auto stream = sound->OpenStream(loop);
        const int16_t* samples = nullptr;
        int64_t read = 0;
        for (int got; read < 2 * MIX_RATE && (got = stream->Fetch(&samples, 4096)) > 0;) {
            read += got;
        }
    }
    return 0;
}
