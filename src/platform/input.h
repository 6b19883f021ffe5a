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

// Every control of a pad the player may bind, named by its place on a standard controller (the
// face buttons South, East, West, North), one bit each in ReadPadControls. A stick's direction
// counts as the game's arrows do; a trigger past a quarter of its travel.
enum PadControl : int {
    PADC_SOUTH,
    PADC_EAST,
    PADC_WEST,
    PADC_NORTH,
    PADC_BACK,
    PADC_GUIDE,
    PADC_START,
    PADC_LEFT_STICK_PRESS,
    PADC_RIGHT_STICK_PRESS,
    PADC_LEFT_SHOULDER,
    PADC_RIGHT_SHOULDER,
    PADC_DPAD_UP,
    PADC_DPAD_DOWN,
    PADC_DPAD_LEFT,
    PADC_DPAD_RIGHT,
    PADC_MISC,
    PADC_PADDLE1,
    PADC_PADDLE2,
    PADC_PADDLE3,
    PADC_PADDLE4,
    PADC_STICK_LEFT,
    PADC_STICK_RIGHT,
    PADC_STICK_UP,
    PADC_STICK_DOWN,
    PADC_RIGHT_STICK_LEFT,
    PADC_RIGHT_STICK_RIGHT,
    PADC_RIGHT_STICK_UP,
    PADC_RIGHT_STICK_DOWN,
    PADC_LEFT_TRIGGER,
    PADC_RIGHT_TRIGGER,
    PADC_COUNT,
};
constexpr uint32_t PadBit(int control) {
    return uint32_t{1} << control;
}
// What every attached pad holds now, added up: PadBit(control) for each control held.
uint32_t ReadPadControls();

}  // namespace plat
