// Keyboard, mouse and joysticks: stands in for DirectInput 8 and joyGetNumDevs.
#pragma once

#include <cstdint>

namespace plat {

// GetDeviceState on the keyboard: fills 256 bytes in DirectInput scan-code layout
// (0x80 = held). Returns false when the keyboard cannot be read (window inactive).
bool ReadKeyboardState(uint8_t keys[256]);

// GetDeviceState on the mouse: relative motion since the last read and four buttons.
bool ReadMouseState(int32_t* dx, int32_t* dy, int32_t* dz, uint8_t buttons[4]);

// Joysticks are opened on every activation change (EnumDevices) and read each pass.
int OpenJoysticks(int maxCount);  // returns how many were opened
void CloseJoysticks();
struct JoyReading {
    int32_t axes[8];  // scaled to -1000 .. 1000
    uint8_t buttons[32];
};
bool ReadJoystick(int index, JoyReading* out);

// Game controllers through SDL's mappings (SDL_GAMECONTROLLERCONFIG too): which of the game's
// buttons any attached pad holds now. A pad plugged in or pulled out counts from the next read.
// D-pad and left stick (dead zone a quarter of its throw, eight directions) give the arrows,
// South and West give fire, Start gives start; no other button counts.
enum : uint8_t {
    PAD_LEFT = 1 << 0,
    PAD_RIGHT = 1 << 1,
    PAD_UP = 1 << 2,
    PAD_DOWN = 1 << 3,
    PAD_FIRE = 1 << 4,
    PAD_START = 1 << 5,
};
uint8_t ReadPads();

}  // namespace plat
