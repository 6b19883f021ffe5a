#include "shell/input.h"

#include <cstring>

#include "platform/input.h"
#include "shell/dxmain.h"

uint8_t g_keys[256] = {};
MouseState g_mouseState;
JoyState g_joyStates[MAX_JOYSTICKS];
int g_joyCount = 0;
bool g_inputCreated = false;

void InitInput() {
    g_inputCreated = true;
    // Controllers are enumerated afresh on every activation change.
    g_joyCount = plat::OpenJoysticks(MAX_JOYSTICKS);
}

void ReleaseInput() {
    if (!g_inputCreated) return;
    plat::CloseJoysticks();
    g_joyCount = 0;
    g_inputCreated = false;
}

bool ReadKeyboard(uint8_t keys[256]) {
    if (!g_inputCreated) return false;  // no device: the buffer keeps its last contents
    if (plat::ReadKeyboardState(keys)) return true;
    // Inactive window: nothing is held, so Santa does not run on while the player is away.
    std::memset(keys, 0, 256);
    return false;
}

void ReadMouse(int* x, int* y, MouseState* state) {
    if (state != nullptr && g_inputCreated) {
        plat::ReadMouseState(&state->lX, &state->lY, &state->lZ, state->buttons);
    }
    if (x != nullptr) *x = g_mouseX;
    if (y != nullptr) *y = g_mouseY;
}

void ReadJoysticks() {
    for (int j = 0; j < g_joyCount; ++j) {
        plat::JoyReading reading;
        if (plat::ReadJoystick(j, &reading)) {
            std::memcpy(g_joyStates[j].axes, reading.axes, sizeof reading.axes);
            std::memcpy(g_joyStates[j].buttons, reading.buttons, sizeof reading.buttons);
        } else {
            g_joyStates[j] = JoyState{};
        }
    }
}
