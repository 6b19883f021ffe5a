#include "platform/common/resampler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "platform/common/limiter.h"

namespace plat::common {
namespace {

constexpr int ZERO_CROSSINGS = 8;  // of the sinc, each side: the kernel's reach at full band
constexpr int STEPS = 128;         // table entries per zero crossing
constexpr int PULL_FRAMES = 1024;

// sin(pi x) by its series, so that every platform computes the same kernel.
double SinPi(double x) {
    const double k = std::floor(x + 0.5);
    const double f = (x - k) * 3.14159265358979323846;  // within a quarter turn
    const double f2 = f * f;
    double term = f, sum = f;
    for (int n = 1; n <= 9; ++n) {
        term = -term * f2 / double((2 * n) * (2 * n + 1));
        sum += term;
    }
    return static_cast<int64_t>(k) % 2 == 0 ? sum : -sum;
}

double Sinc(double x) {
    return x == 0.0 ? 1.0 : SinPi(x) / (3.14159265358979323846 * x);
}

// The Lanczos kernel sinc(x) sinc(x / ZERO_CROSSINGS) from 0 to ZERO_CROSSINGS.
const std::array<double, ZERO_CROSSINGS * STEPS + 2>& Kernel() {
    static const auto table = [] {
        std::array<double, ZERO_CROSSINGS * STEPS + 2> t{};
        for (int i = 0; i <= ZERO_CROSSINGS * STEPS; ++i) {
            const double x = double(i) / STEPS;
            t[size_t(i)] = Sinc(x) * Sinc(x / ZERO_CROSSINGS);
        }
        return t;
    }();
    return table;
}

double KernelAt(double x) {
    x = std::fabs(x) * STEPS;
    if (x >= ZERO_CROSSINGS * STEPS) return 0.0;
    const int i = static_cast<int>(x);
    const double f = x - i;
    const auto& k = Kernel();
    return k[size_t(i)] + (k[size_t(i) + 1] - k[size_t(i)]) * f;
}

}  // namespace

Resampler::Resampler(int fromRate, int toRate, int channels)
    : from_(fromRate), to_(toRate), channels_(channels) {
    cutoff_ = std::min(1.0, double(toRate) / double(fromRate));
    half_ = static_cast<int>(std::ceil(ZERO_CROSSINGS / cutoff_));
    // Silence before the first frame, so the first outputs have their past.
    base_ = -half_;
    held_.assign(static_cast<size_t>(half_) * channels_, 0.0f);
}

void Resampler::Hold(int64_t last, const Pull& pull) {
    while (end_ < 0 && base_ + int64_t(held_.size()) / channels_ <= last) {
        block_.resize(static_cast<size_t>(PULL_FRAMES) * channels_);
        const int got = pull(block_.data(), PULL_FRAMES);
        if (got <= 0) {
            end_ = base_ + int64_t(held_.size()) / channels_;
            break;
        }
        held_.insert(held_.end(), block_.begin(), block_.begin() + std::ptrdiff_t(got) * channels_);
    }
}

int Resampler::Read(int16_t* out, int frames, const Pull& pull) {
    int done = 0;
    for (; done < frames; ++done, ++next_) {
        // Output frame n sits at input position n x from / to, in whole numbers of 1/to.
        const int64_t position = next_ * from_;
        const int64_t at = position / to_;
        const double fraction = double(position % to_) / double(to_);
        Hold(at + half_, pull);
        if (end_ >= 0 && next_ * from_ >= end_ * to_) break;  // past the source's last frame
        // The frames before the reach of this one are no longer needed.
        const int64_t first = at - half_ + 1;
        if (first - base_ > 4 * PULL_FRAMES) {
            const int64_t drop = first - base_;
            held_.erase(held_.begin(), held_.begin() + std::ptrdiff_t(drop) * channels_);
            base_ = first;
        }
        const int64_t held = base_ + int64_t(held_.size()) / channels_;
        for (int c = 0; c < channels_; ++c) {
            double sum = 0.0, weights = 0.0;
            for (int64_t j = first; j <= at + half_; ++j) {
                const double w = KernelAt((double(j - at) - fraction) * cutoff_);
                weights += w;
                if (j >= base_ && j < held) sum += w * held_[size_t(j - base_) * channels_ + c];
            }
            out[size_t(done) * channels_ + c] = ToPcm16(sum / weights / 32768.0);
        }
    }
    return done;
}

}  // namespace plat::common
