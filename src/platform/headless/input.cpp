#include "platform/input.h"

#include <cstring>

#include "platform/headless/headless.h"

namespace plat {
namespace {

uint8_t g_scripted[256] = {};
bool g_active = true;

}  // namespace

bool ReadKeyboardState(uint8_t keys[256]) {
    if (!g_active) return false;
    std::memcpy(keys, g_scripted, 256);
    return true;
}

bool ReadMouseState(int32_t* dx, int32_t* dy, int32_t* dz, uint8_t buttons[4]) {
    *dx = *dy = *dz = 0;
    std::memset(buttons, 0, 4);
    return true;
}

int OpenJoysticks(int /*maxCount*/) {
    return 0;
}
void CloseJoysticks() {}
bool ReadJoystick(int /*index*/, JoyReading* /*out*/) {
    return false;
}

namespace headless {

void SetKeys(const uint8_t keys[256]) {
    std::memcpy(g_scripted, keys, 256);
}
void SetActive(bool active) {
    g_active = active;
}

}  // namespace headless
}  // namespace plat
