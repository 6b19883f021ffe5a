// The last stage of every mix: a soft limiter, so that many sounds at once (a confirm sound
// restarted every frame while Enter is held) get louder smoothly instead of clipping.
#pragma once

#include <cmath>
#include <cstdint>

namespace plat::common {

constexpr double LIMIT_KNEE = 0.6;    // below this share of full scale, samples pass unchanged
constexpr double LIMIT_RANGE = 0.35;  // above it they approach knee + range, never full scale

// x in shares of full scale (1.0 is the loudest 16-bit sample), any size.
inline double Limit(double x) {
    const double a = std::fabs(x);
    if (a <= LIMIT_KNEE) return x;
    const double y = LIMIT_KNEE + LIMIT_RANGE * std::tanh((a - LIMIT_KNEE) / LIMIT_RANGE);
    return x < 0 ? -y : y;
}

// A share of full scale as a 16-bit sample: 1/32768 a step, so sums of samples stay exact.
inline int16_t ToPcm16(double x) {
    const long v = std::lround(x * 32768.0);
    return static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
}

}  // namespace plat::common
