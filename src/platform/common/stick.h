// A stick's deflection as the game's pad bits, shared by every pad and the touch stick.
#pragma once

#include <cstdint>

namespace plat::common {

// A quarter of the stick's throw does nothing; past it, the stick's angle picks one of eight
// directions, so a push to the right that drifts a little up is still just right. x and y run
// from -1 to 1, y downwards; returns PAD_LEFT, PAD_RIGHT, PAD_UP, PAD_DOWN bits.
uint8_t StickPads(double x, double y);

}  // namespace plat::common
