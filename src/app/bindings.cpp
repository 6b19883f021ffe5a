#include "app/bindings.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "platform/input.h"
#include "shell/input.h"

namespace {

// Every key the keyboard map knows, by its DirectInput scan code.
struct KeyNaming {
    uint8_t key;
    const char* name;
};
// clang-format off
constexpr KeyNaming KEY_NAMES[] = {
    {0x01, "Escape"},       {0x02, "1"},            {0x03, "2"},            {0x04, "3"},
    {0x05, "4"},            {0x06, "5"},            {0x07, "6"},            {0x08, "7"},
    {0x09, "8"},            {0x0A, "9"},            {0x0B, "0"},            {0x0C, "Minus"},
    {0x0D, "Equals"},       {0x0E, "Backspace"},    {0x0F, "Tab"},          {0x10, "Q"},
    {0x11, "W"},            {0x12, "E"},            {0x13, "R"},            {0x14, "T"},
    {0x15, "Y"},            {0x16, "U"},            {0x17, "I"},            {0x18, "O"},
    {0x19, "P"},            {0x1A, "LeftBracket"},  {0x1B, "RightBracket"}, {0x1C, "Enter"},
    {0x1D, "LCtrl"},        {0x1E, "A"},            {0x1F, "S"},            {0x20, "D"},
    {0x21, "F"},            {0x22, "G"},            {0x23, "H"},            {0x24, "J"},
    {0x25, "K"},            {0x26, "L"},            {0x27, "Semicolon"},    {0x28, "Apostrophe"},
    {0x29, "Grave"},        {0x2A, "LShift"},       {0x2B, "Backslash"},    {0x2C, "Z"},
    {0x2D, "X"},            {0x2E, "C"},            {0x2F, "V"},            {0x30, "B"},
    {0x31, "N"},            {0x32, "M"},            {0x33, "Comma"},        {0x34, "Period"},
    {0x35, "Slash"},        {0x36, "RShift"},       {0x37, "Keypad *"},     {0x38, "LAlt"},
    {0x39, "Space"},        {0x3A, "CapsLock"},     {0x3B, "F1"},           {0x3C, "F2"},
    {0x3D, "F3"},           {0x3E, "F4"},           {0x3F, "F5"},           {0x40, "F6"},
    {0x41, "F7"},           {0x42, "F8"},           {0x43, "F9"},           {0x44, "F10"},
    {0x45, "NumLock"},      {0x46, "ScrollLock"},   {0x47, "Keypad 7"},     {0x48, "Keypad 8"},
    {0x49, "Keypad 9"},     {0x4A, "Keypad -"},     {0x4B, "Keypad 4"},     {0x4C, "Keypad 5"},
    {0x4D, "Keypad 6"},     {0x4E, "Keypad +"},     {0x4F, "Keypad 1"},     {0x50, "Keypad 2"},
    {0x51, "Keypad 3"},     {0x52, "Keypad 0"},     {0x53, "Keypad ."},     {0x56, "Less"},
    {0x57, "F11"},          {0x58, "F12"},          {0x64, "F13"},          {0x65, "F14"},
    {0x66, "F15"},          {0x8D, "Keypad ="},     {0x9C, "Keypad Enter"}, {0x9D, "RCtrl"},
    {0xB3, "Keypad Comma"}, {0xB5, "Keypad /"},     {0xB7, "PrintScreen"},  {0xB8, "RAlt"},
    {0xC5, "Pause"},        {0xC7, "Home"},         {0xC8, "Up"},           {0xC9, "PageUp"},
    {0xCB, "Left"},         {0xCD, "Right"},        {0xCF, "End"},          {0xD0, "Down"},
    {0xD1, "PageDown"},     {0xD2, "Insert"},       {0xD3, "Delete"},       {0xDB, "LSuper"},
    {0xDC, "RSuper"},       {0xDD, "Menu"},
};
// clang-format on

// By plat::PadControl.
constexpr const char* PAD_NAMES[plat::PADC_COUNT] = {
    "South",       "East",         "West",         "North",       "Back",      "Guide",
    "Start",       "LStick Press", "RStick Press", "LShoulder",   "RShoulder", "DPad Up",
    "DPad Down",   "DPad Left",    "DPad Right",   "Misc",        "Paddle 1",  "Paddle 2",
    "Paddle 3",    "Paddle 4",     "Stick Left",   "Stick Right", "Stick Up",  "Stick Down",
    "RStick Left", "RStick Right", "RStick Up",    "RStick Down", "LTrigger",  "RTrigger",
};

constexpr const char* INPUT_NAMES[INPUT_COUNT] = {"left", "right", "up", "down", "fire", "start"};
constexpr uint8_t INPUT_KEYS[INPUT_COUNT] = {DIK_LEFT, DIK_RIGHT, DIK_UP,
                                             DIK_DOWN, DIK_SPACE, DIK_RETURN};

constexpr uint8_t DIK_M = 0x32, DIK_P = 0x19, DIK_F12 = 0x58, DIK_PAUSE = 0xC5;

// Lower case, blanks at the ends dropped and runs of blanks inside made one space.
std::string Folded(const std::string& text) {
    std::string out;
    bool blank = false;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ' || c == '\t') {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += static_cast<char>(std::tolower(c));
    }
    return out;
}

// The comma-separated names of a list, blanks at their ends dropped; none for a blank text.
std::vector<std::string> Names(const std::string& text) {
    std::vector<std::string> names;
    if (Folded(text).empty()) return names;
    size_t from = 0;
    while (true) {
        const size_t comma = text.find(',', from);
        std::string name = text.substr(from, comma - from);
        const size_t first = name.find_first_not_of(" \t");
        name = first == std::string::npos
                   ? ""
                   : name.substr(first, name.find_last_not_of(" \t") - first + 1);
        names.push_back(name);
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    return names;
}

template <class Slot>
int Bind(Bindings* bindings, int input, Slot slot, uint8_t value, uint8_t none) {
    int left = -1;
    for (int i = 0; i < INPUT_COUNT; ++i) {
        uint8_t* slots = slot(bindings->inputs[i]);
        uint8_t* end = slots + BOUND_MAX;
        uint8_t* found = std::find(slots, end, value);
        if (found == end) continue;
        std::copy(found + 1, end, found);
        end[-1] = none;
        if (i != input) left = i;
    }
    uint8_t* slots = slot(bindings->inputs[input]);
    std::copy_backward(slots, slots + BOUND_MAX - 1, slots + BOUND_MAX);
    slots[0] = value;
    return left;
}

template <class Name>
std::string ListText(const uint8_t* slots, uint8_t none, Name name) {
    std::string text;
    for (int i = 0; i < BOUND_MAX; ++i) {
        if (slots[i] == none) continue;
        if (!text.empty()) text += ", ";
        text += name(slots[i]);
    }
    return text;
}

}  // namespace

Bindings DefaultBindings() {
    Bindings b;
    auto set = [&b](int input, uint8_t key, int pad1, int pad2) {
        b.inputs[input].keys[0] = key;
        b.inputs[input].pads[0] = static_cast<uint8_t>(pad1);
        b.inputs[input].pads[1] = static_cast<uint8_t>(pad2);
    };
    set(INPUT_LEFT, DIK_LEFT, plat::PADC_DPAD_LEFT, plat::PADC_STICK_LEFT);
    set(INPUT_RIGHT, DIK_RIGHT, plat::PADC_DPAD_RIGHT, plat::PADC_STICK_RIGHT);
    set(INPUT_UP, DIK_UP, plat::PADC_DPAD_UP, plat::PADC_STICK_UP);
    set(INPUT_DOWN, DIK_DOWN, plat::PADC_DPAD_DOWN, plat::PADC_STICK_DOWN);
    set(INPUT_FIRE, DIK_SPACE, plat::PADC_SOUTH, plat::PADC_WEST);
    set(INPUT_START, DIK_RETURN, plat::PADC_START, NO_PAD);
    return b;
}

const char* InputName(int input) {
    return INPUT_NAMES[input];
}

uint8_t InputKey(int input) {
    return INPUT_KEYS[input];
}

bool InputHeld(const Bindings& bindings, int input, const uint8_t keys[256], uint32_t pads) {
    const InputBinding& b = bindings.inputs[input];
    for (int i = 0; i < BOUND_MAX; ++i) {
        if (b.keys[i] != NO_KEY && (keys[b.keys[i]] & KEY_HELD) != 0) return true;
        if (b.pads[i] < plat::PADC_COUNT && (pads & plat::PadBit(b.pads[i])) != 0) return true;
    }
    return false;
}

void BoundSnapshot(const Bindings& bindings, const uint8_t keys[256], uint32_t pads,
                   uint8_t snapshot[256]) {
    std::memset(snapshot, 0, 256);
    for (int input = 0; input < INPUT_COUNT; ++input) {
        if (InputHeld(bindings, input, keys, pads)) snapshot[INPUT_KEYS[input]] = KEY_HELD;
    }
}

bool KeyReserved(uint8_t key) {
    return key == DIK_ESCAPE || key == DIK_F1 || key == DIK_P || key == DIK_PAUSE || key == DIK_M ||
           key == DIK_F12;
}

bool PadReserved(int control) {
    return control == plat::PADC_BACK || control == plat::PADC_GUIDE;
}

int BindKey(Bindings* bindings, int input, uint8_t key) {
    return Bind(
        bindings, input, [](InputBinding& b) { return b.keys; }, key, NO_KEY);
}

int BindPad(Bindings* bindings, int input, int control) {
    return Bind(
        bindings, input, [](InputBinding& b) { return b.pads; }, static_cast<uint8_t>(control),
        NO_PAD);
}

std::string KeyName(uint8_t key) {
    for (const KeyNaming& k : KEY_NAMES) {
        if (k.key == key) return k.name;
    }
    return "";
}

std::string PadName(int control) {
    return control >= 0 && control < plat::PADC_COUNT ? PAD_NAMES[control] : "";
}

std::string KeysText(const InputBinding& binding) {
    return ListText(binding.keys, NO_KEY, KeyName);
}

std::string PadsText(const InputBinding& binding) {
    return ListText(binding.pads, NO_PAD, PadName);
}

bool ParseKeys(const std::string& text, InputBinding* binding, std::string* why) {
    InputBinding out = *binding;
    std::fill(std::begin(out.keys), std::end(out.keys), NO_KEY);
    const std::vector<std::string> names = Names(text);
    if (names.size() > BOUND_MAX) {
        *why = "more than two keys in '" + text.substr(0, 40) + "'";
        return false;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string folded = Folded(names[i]);
        const std::string name = folded == "return" ? "enter" : folded;
        const auto* found =
            std::find_if(std::begin(KEY_NAMES), std::end(KEY_NAMES),
                         [&](const KeyNaming& k) { return Folded(k.name) == name; });
        if (found == std::end(KEY_NAMES)) {
            *why = "no key is called '" + names[i].substr(0, 40) + "'";
            return false;
        }
        if (KeyReserved(found->key)) {
            *why = std::string(found->name) + " keeps its own work and cannot be bound";
            return false;
        }
        out.keys[i] = found->key;
    }
    *binding = out;
    return true;
}

bool ParsePads(const std::string& text, InputBinding* binding, std::string* why) {
    InputBinding out = *binding;
    std::fill(std::begin(out.pads), std::end(out.pads), NO_PAD);
    const std::vector<std::string> names = Names(text);
    if (names.size() > BOUND_MAX) {
        *why = "more than two pad controls in '" + text.substr(0, 40) + "'";
        return false;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        int control = 0;
        while (control < plat::PADC_COUNT && Folded(PAD_NAMES[control]) != Folded(names[i])) {
            ++control;
        }
        if (control == plat::PADC_COUNT) {
            *why = "no pad control is called '" + names[i].substr(0, 40) + "'";
            return false;
        }
        if (PadReserved(control)) {
            *why = std::string(PAD_NAMES[control]) + " keeps its own work and cannot be bound";
            return false;
        }
        out.pads[i] = static_cast<uint8_t>(control);
    }
    *binding = out;
    return true;
}
