#include "shell/input.h"

#include <cstring>

#include "platform/input.h"

uint8_t g_keys[256] = {};
MouseState g_mouseState;
int32_t g_mouseX = 0;
int32_t g_mouseY = 0;
JoyState g_joyStates[MAX_JOYSTICKS];
int g_joyCount = 0;
bool g_inputCreated = false;

namespace {

uint8_t g_latched[256] = {};

}  // namespace

void InitInput() {
    g_inputCreated = true;
    // Controllers are enumerated afresh on every activation change.
    g_joyCount = plat::OpenJoysticks(MAX_JOYSTICKS);
}

void ReleaseInput() {
    ClearLatchedKeys();
    if (!g_inputCreated) return;
    plat::CloseJoysticks();
    g_joyCount = 0;
    g_inputCreated = false;
}

bool ReadHeldKeys(uint8_t keys[256]) {
    if (!plat::ReadKeyboardState(keys)) {
        std::memset(keys, 0, 256);
        ClearLatchedKeys();
        return false;
    }
    for (int k = 0; k < 256; ++k) keys[k] |= g_latched[k];
    return true;
}

void LatchKeyDown(int scan) {
    if (scan > 0 && scan < 256) g_latched[scan] = KEY_HELD;
}

void ClearLatchedKeys() {
    std::memset(g_latched, 0, sizeof g_latched);
}

bool ReadKeyboard(uint8_t keys[256]) {
    if (!g_inputCreated) return false;  // no device: the buffer keeps its last contents
    if (ReadHeldKeys(keys)) {
        MergePads(plat::ReadPads(), keys);
        return true;
    }
    // Inactive window: nothing is held, pads neither, so Santa does not run on while the
    // player is away.
    std::memset(keys, 0, 256);
    return false;
}

void MergePads(uint8_t pads, uint8_t keys[256]) {
    static const struct {
        uint8_t bit, code;
    } PAD_KEYS[] = {{plat::PAD_LEFT, DIK_LEFT},  {plat::PAD_RIGHT, DIK_RIGHT},
                    {plat::PAD_UP, DIK_UP},      {plat::PAD_DOWN, DIK_DOWN},
                    {plat::PAD_FIRE, DIK_SPACE}, {plat::PAD_START, DIK_RETURN}};
    for (const auto& key : PAD_KEYS) {
        if (pads & key.bit) keys[key.code] |= KEY_HELD;
    }
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
