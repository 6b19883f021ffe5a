#include "platform/input.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/keymap.h"
#include "platform/sdl/sdl_backend.h"

namespace plat {
namespace {

std::vector<SDL_Joystick*> g_sticks;

int32_t ScaleAxis(Sint16 v) {
    return static_cast<int32_t>(v) * 1000 / 32768;
}

}  // namespace

bool ReadKeyboardState(uint8_t keys[256]) {
    // A foreground-only keyboard cannot be read while another window has the focus.
    if (sdl::g_window == nullptr || SDL_GetKeyboardFocus() != sdl::g_window) return false;
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    std::memset(keys, 0, 256);
    for (int code = 0; code < std::min(count, SDL_SCANCODE_LIMIT); ++code) {
        if (state[code] == 0) continue;
        const int dik = DikFromScancode(code);
        if (dik != 0) keys[dik] = 0x80;
    }
    return true;
}

bool ReadMouseState(int32_t* dx, int32_t* dy, int32_t* dz, uint8_t buttons[4]) {
    if (sdl::g_window == nullptr || SDL_GetMouseFocus() != sdl::g_window) return false;
    int x = 0, y = 0;
    const Uint32 mask = SDL_GetRelativeMouseState(&x, &y);
    *dx = x;
    *dy = y;
    *dz = 0;
    for (int i = 0; i < 4; ++i) buttons[i] = (mask & SDL_BUTTON(i + 1)) ? 0x80 : 0;
    return true;
}

int OpenJoysticks(int maxCount) {
    CloseJoysticks();
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) return 0;
    SDL_JoystickUpdate();
    const int count = std::min(SDL_NumJoysticks(), maxCount);
    for (int i = 0; i < count; ++i) {
        if (SDL_Joystick* stick = SDL_JoystickOpen(i)) g_sticks.push_back(stick);
    }
    return static_cast<int>(g_sticks.size());
}

void CloseJoysticks() {
    for (SDL_Joystick* stick : g_sticks) SDL_JoystickClose(stick);
    g_sticks.clear();
}

bool ReadJoystick(int index, JoyReading* out) {
    if (index < 0 || index >= static_cast<int>(g_sticks.size())) return false;
    SDL_Joystick* stick = g_sticks[index];
    if (!SDL_JoystickGetAttached(stick)) return false;
    std::memset(out, 0, sizeof *out);
    const int axes = std::min(SDL_JoystickNumAxes(stick), 8);
    for (int a = 0; a < axes; ++a) out->axes[a] = ScaleAxis(SDL_JoystickGetAxis(stick, a));
    const int buttons = std::min(SDL_JoystickNumButtons(stick), 32);
    for (int b = 0; b < buttons; ++b) out->buttons[b] = SDL_JoystickGetButton(stick, b) ? 0x80 : 0;
    return true;
}

}  // namespace plat
