// Millisecond clock: stands in for timeGetTime.
#pragma once

namespace plat {

// Milliseconds since start-up. The real clock is a 64-bit monotonic count; the headless
// clock is virtual and only moves when its driver steps it.
double ClockMs();

}  // namespace plat
