// The player's controls: which keys and pad controls hold each of the game's six inputs. They
// turn the devices into the one snapshot the game reads, so the rules never see a binding.
#pragma once

#include <cstdint>
#include <string>

enum GameInput : int {
    INPUT_LEFT,
    INPUT_RIGHT,
    INPUT_UP,
    INPUT_DOWN,
    INPUT_FIRE,
    INPUT_START,
    INPUT_COUNT,
};

constexpr int BOUND_MAX = 2;  // keys, and pad controls, per input
constexpr uint8_t NO_KEY = 0;
constexpr uint8_t NO_PAD = 0xFF;

struct InputBinding {
    uint8_t keys[BOUND_MAX] = {NO_KEY, NO_KEY};  // DirectInput scan codes, the newest first
    uint8_t pads[BOUND_MAX] = {NO_PAD, NO_PAD};  // plat::PadControl, the newest first

    bool operator==(const InputBinding&) const = default;
};

struct Bindings {
    InputBinding inputs[INPUT_COUNT];

    bool operator==(const Bindings&) const = default;
};

// The layout the game has always had: arrows, Space and Enter; D-pad and left stick, South and
// West, Start.
Bindings DefaultBindings();

// "left" ... "start": the input's name in the settings file (upper case in the menu).
const char* InputName(int input);
// The key (DIK_) the game reads for the input.
uint8_t InputKey(int input);

// Whether a bound key or pad control of the input is held.
bool InputHeld(const Bindings& bindings, int input, const uint8_t keys[256], uint32_t pads);
// The game's snapshot from the devices: each input's key held while a key or control bound to it
// is, and nothing else.
void BoundSnapshot(const Bindings& bindings, const uint8_t keys[256], uint32_t pads,
                   uint8_t snapshot[256]);

// Escape, F1, P, Pause, M and F12 keep their own work and cannot be bound; nor can a pad's Back
// (the menu) and Guide.
bool KeyReserved(uint8_t key);
bool PadReserved(int control);

// Binds the key (or pad control) to the input as its newest; the oldest beyond two drops off.
// Bound to another input before, it moves: the input it left, or -1.
int BindKey(Bindings* bindings, int input, uint8_t key);
int BindPad(Bindings* bindings, int input, int control);

// Readable names, as the settings file and the menu give them: "Space", "Z", "Keypad 7";
// "South", "DPad Left", "Stick Up". Empty for a key without a name.
std::string KeyName(uint8_t key);
std::string PadName(int control);

// "Space, Z" and "South, West": the bound names, newest first ("" for none).
std::string KeysText(const InputBinding& binding);
std::string PadsText(const InputBinding& binding);
// Reads such a list (names in any case, blanks around them ignored) into the binding's keys or
// pads. False with the reason, the binding unchanged, for an unknown or reserved name or more
// than two.
bool ParseKeys(const std::string& text, InputBinding* binding, std::string* why);
bool ParsePads(const std::string& text, InputBinding* binding, std::string* why);
