// Millisecond clock: stands in for timeGetTime.
#pragma once

namespace plat {

// Milliseconds since the game window was made. The real clock is a 64-bit monotonic count; the
// headless clock is virtual and only moves when its driver steps it.
double ClockMs();

// Waits until the clock reads `ms`: the real clock sleeps, a stepped clock is moved there at
// once. Nothing happens when that time has passed.
void WaitUntilMs(double ms);

}  // namespace plat
