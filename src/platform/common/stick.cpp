#include "platform/common/stick.h"

#include <cmath>

#include "platform/input.h"

namespace plat::common {

namespace {

constexpr double DEAD_ZONE = 0.25;
constexpr double DIAGONAL = 0.3826834;  // sin 22.5 degrees: the edge between two directions

}  // namespace

uint8_t StickPads(double x, double y) {
    const double length = std::sqrt(x * x + y * y);
    uint8_t held = 0;
    if (length > DEAD_ZONE) {
        if (x < -length * DIAGONAL) held |= PAD_LEFT;
        if (x > length * DIAGONAL) held |= PAD_RIGHT;
        if (y < -length * DIAGONAL) held |= PAD_UP;
        if (y > length * DIAGONAL) held |= PAD_DOWN;
    }
    return held;
}

}  // namespace plat::common
