// The 60 Hz frame clock: a tick falls due every period; a loop far behind runs the ticks it owes
// back to back, drawing one in eleven.
#pragma once

#include <cstdint>

// One tick, in milliseconds: the float nearest 1/60 s, added in double precision.
constexpr float FRAME_PERIOD = 16.666666f;

// What the frame clock says a pass is to do: nothing (0), update, or update and draw.
enum : int {
    FRAME_UPDATE = 10,
    FRAME_UPDATE_DRAW = 11,
};

// Milliseconds of the platform clock, 64-bit in double precision so that long uptimes stay exact.
extern double g_clockPeriod;  // one tick: FRAME_PERIOD, longer when the game is slowed
extern double g_clockNow;     // read at the last tick
extern double g_clockNext;    // when the next tick falls due
extern double g_clockLate;    // how far the last tick was past due
extern int32_t g_skipCount;   // draw-less ticks since the last forced draw

// The next tick falls due one period from now; nothing is owed. The period holds until the
// clock is started again.
void StartFrameClock(double periodMs = FRAME_PERIOD);
// 0 when the next tick is not due yet (exactly due counts as not yet), else FRAME_UPDATE or
// FRAME_UPDATE_DRAW; more than two periods behind, ten ticks update only and the eleventh draws.
int TickFrameClock();
