// Changes a stream of 16-bit samples from one rate to another with a windowed sinc, the same
// samples on every platform: whole-number positions, a kernel of our own making, no libm.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace plat::common {

class Resampler {
public:
    // Fills `out` with up to `frames` frames of `channels` channels; 0 once the source has ended.
    using Pull = std::function<int(int16_t* out, int frames)>;

    Resampler(int fromRate, int toRate, int channels);

    // Up to `frames` frames at the new rate, pulling the source as it needs; fewer only once the
    // source has ended and all it gave is out: ceil(its frames x toRate / fromRate) in all.
    int Read(int16_t* out, int frames, const Pull& pull);

private:
    // Makes sure input frames up to `last` are held, or that the source has ended before it.
    void Hold(int64_t last, const Pull& pull);

    int64_t from_;
    int64_t to_;
    int channels_;
    double cutoff_;     // of the input's half rate: below 1 when going down, against aliasing
    int half_;          // input frames each side of an output frame that reach it
    int64_t next_ = 0;  // the next output frame
    int64_t base_ = 0;  // the input frame held_[0] is
    std::vector<float> held_;  // input frames base_ onwards, interleaved
    int64_t end_ = -1;         // the source's length in frames, once it has ended
    std::vector<int16_t> block_;
};

}  // namespace plat::common
