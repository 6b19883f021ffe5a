// The input service: keyboard, mouse and joysticks read every pass of the main loop.
#pragma once

#include <cstdint>

constexpr uint8_t KEY_HELD = 0x80;

// DirectInput scan codes of the keys the game reads.
enum : uint8_t {
    DIK_ESCAPE = 0x01,
    DIK_RETURN = 0x1C,
    DIK_SPACE = 0x39,
    DIK_F1 = 0x3B,
    DIK_UP = 0xC8,
    DIK_LEFT = 0xCB,
    DIK_RIGHT = 0xCD,
    DIK_DOWN = 0xD0,
};

struct MouseState {
    int32_t lX = 0, lY = 0, lZ = 0;
    uint8_t buttons[4] = {};
};

constexpr int MAX_JOYSTICKS = 16;
constexpr int32_t JOY_AXIS_MIN = -1000;
constexpr int32_t JOY_AXIS_MAX = 1000;

struct JoyState {
    int32_t axes[8] = {};
    uint8_t buttons[32] = {};
};

extern uint8_t g_keys[256];
extern MouseState g_mouseState;
// The cursor's last position in client pixels, as the window procedure saw it move.
extern int32_t g_mouseX;
extern int32_t g_mouseY;
extern JoyState g_joyStates[MAX_JOYSTICKS];
extern int g_joyCount;
extern bool g_inputCreated;

inline bool KeyHeld(uint8_t scanCode) {
    return (g_keys[scanCode] & KEY_HELD) != 0;
}

void InitInput();
void ReleaseInput();
// Fills the buffer, with what the game controllers hold added as the keys they stand for; while
// the keyboard cannot be read (window inactive) the buffer is cleared, so nothing stays held
// while the player is in another window.
bool ReadKeyboard(uint8_t keys[256]);
// The keyboard as the game sees it (DirectInput layout): what the platform reads held now, with
// every key pressed since the last tick ran, so that a tap shorter than a tick still counts.
// False, with nothing held, while the keyboard cannot be read.
bool ReadHeldKeys(uint8_t keys[256]);
// A key-down the window procedure saw (DirectInput scan code, 0 for none).
void LatchKeyDown(int scan);
// A tick has read the snapshot: the taps latched so far have counted.
void ClearLatchedKeys();
// D-pad and stick hold the arrows, fire holds Space, start holds Return (plat::PAD_ bits).
void MergePads(uint8_t pads, uint8_t keys[256]);
void ReadMouse(int* x, int* y, MouseState* state);
void ReadJoysticks();
