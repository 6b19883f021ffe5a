// The last stage of every mix: a soft limiter, so that many sounds at once (a confirm sound
// restarted every frame while Enter is held) get louder smoothly instead of clipping.
#pragma once

#include <cmath>
#include <cstdint>

namespace plat::common {

constexpr double LIMIT_KNEE = 0.6;    // below this share of full scale, samples pass unchanged
constexpr double LIMIT_RANGE = 0.35;  // above it they approach knee + range, never full scale

inline int16_t LimitSample(double sample) {  // sample in 16-bit units, any size
    const double x = sample / 32767.0;
    const double a = std::fabs(x);
    double y = a;
    if (a > LIMIT_KNEE) y = LIMIT_KNEE + LIMIT_RANGE * std::tanh((a - LIMIT_KNEE) / LIMIT_RANGE);
    return static_cast<int16_t>(std::lround((x < 0 ? -y : y) * 32767.0));
}

}  // namespace plat::common
