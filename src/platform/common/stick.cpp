#include "platform/common/stick.h"

#include <cmath>

#include "platform/input.h"

namespace plat::common {

namespace {

constexpr double DEAD_ZONE = 0.25;
constexpr double DIAGONAL = 0.3826834;  // sin 22.5 degrees: the edge between two directions

}  // namespace

uint32_t StickControls(double x, double y, int first) {
    const double length = std::sqrt(x * x + y * y);
    if (length <= DEAD_ZONE) return 0;
    uint32_t held = 0;
    if (x < -length * DIAGONAL) held |= PadBit(first);
    if (x > length * DIAGONAL) held |= PadBit(first + 1);
    if (y < -length * DIAGONAL) held |= PadBit(first + 2);
    if (y > length * DIAGONAL) held |= PadBit(first + 3);
    return held;
}

uint8_t StickPads(double x, double y) {
    return PadsFromControls(StickControls(x, y, PADC_STICK_LEFT));
}

uint8_t PadsFromControls(uint32_t held) {
    static const struct {
        uint32_t controls;
        uint8_t bit;
    } PAD_KEYS[] = {
        {PadBit(PADC_DPAD_LEFT) | PadBit(PADC_STICK_LEFT), PAD_LEFT},
        {PadBit(PADC_DPAD_RIGHT) | PadBit(PADC_STICK_RIGHT), PAD_RIGHT},
        {PadBit(PADC_DPAD_UP) | PadBit(PADC_STICK_UP), PAD_UP},
        {PadBit(PADC_DPAD_DOWN) | PadBit(PADC_STICK_DOWN), PAD_DOWN},
        {PadBit(PADC_SOUTH) | PadBit(PADC_WEST), PAD_FIRE},
        {PadBit(PADC_START), PAD_START},
    };
    uint8_t pads = 0;
    for (const auto& key : PAD_KEYS) {
        if (held & key.controls) pads |= key.bit;
    }
    return pads;
}

}  // namespace plat::common
