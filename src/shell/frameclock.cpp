#include "shell/frameclock.h"

#include "platform/clock.h"

double g_clockPeriod = FRAME_PERIOD;
double g_clockNow = 0.0;
double g_clockNext = 0.0;
double g_clockLate = 0.0;
int32_t g_skipCount = 0;

void StartFrameClock(double periodMs) {
    g_clockPeriod = periodMs;
    g_clockNow = plat::ClockMs();
    g_clockNext = plat::ClockMs() + g_clockPeriod;
    g_clockLate = 0.0;
    g_skipCount = 0;
}

int TickFrameClock() {
    g_clockNow = plat::ClockMs();
    g_clockLate = g_clockNow - g_clockNext;
    if (!(g_clockLate > 0.0)) return 0;
    const double period = g_clockPeriod;
    int result = FRAME_UPDATE_DRAW;
    if (g_clockLate - period > period) {
        if (g_skipCount >= 10) {
            g_skipCount = 0;
        } else {
            ++g_skipCount;
            result = FRAME_UPDATE;
        }
    }
    g_clockNext += period;
    return result;
}
