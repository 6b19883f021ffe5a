// A stick's deflection as directions, and the game's six pad bits from the pad controls held,
// shared by every pad and the touch stick.
#pragma once

#include <cstdint>

namespace plat::common {

// A quarter of the stick's throw does nothing; past it, the stick's angle picks one of eight
// directions, so a push to the right that drifts a little up is still just right. x and y run
// from -1 to 1, y downwards; returns PadBit(first) to PadBit(first + 3) for left, right, up and
// down (PADC_STICK_LEFT or PADC_RIGHT_STICK_LEFT as first).
uint32_t StickControls(double x, double y, int first);
// The same as PAD_LEFT, PAD_RIGHT, PAD_UP, PAD_DOWN bits.
uint8_t StickPads(double x, double y);

// ReadPads from ReadPadControls: the D-pad and the left stick, South or West, Start.
uint8_t PadsFromControls(uint32_t held);

}  // namespace plat::common
