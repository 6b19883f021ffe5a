#include "platform/web/keycodes.h"

#include <SDL_scancode.h>

#include <cstring>

namespace plat::web {
namespace {

struct CodePair {
    const char* code;  // KeyboardEvent.code: the key's place on the keyboard, whatever its layout
    int scancode;
};

// clang-format off
constexpr CodePair CODES[] = {
    {"Escape", SDL_SCANCODE_ESCAPE}, {"Enter", SDL_SCANCODE_RETURN}, {"Space", SDL_SCANCODE_SPACE},
    {"ArrowLeft", SDL_SCANCODE_LEFT}, {"ArrowRight", SDL_SCANCODE_RIGHT},
    {"ArrowUp", SDL_SCANCODE_UP}, {"ArrowDown", SDL_SCANCODE_DOWN},
    {"Backspace", SDL_SCANCODE_BACKSPACE}, {"Tab", SDL_SCANCODE_TAB},
    {"Minus", SDL_SCANCODE_MINUS}, {"Equal", SDL_SCANCODE_EQUALS},
    {"BracketLeft", SDL_SCANCODE_LEFTBRACKET}, {"BracketRight", SDL_SCANCODE_RIGHTBRACKET},
    {"Backslash", SDL_SCANCODE_BACKSLASH}, {"Semicolon", SDL_SCANCODE_SEMICOLON},
    {"Quote", SDL_SCANCODE_APOSTROPHE}, {"Backquote", SDL_SCANCODE_GRAVE},
    {"Comma", SDL_SCANCODE_COMMA}, {"Period", SDL_SCANCODE_PERIOD}, {"Slash", SDL_SCANCODE_SLASH},
    {"CapsLock", SDL_SCANCODE_CAPSLOCK}, {"PrintScreen", SDL_SCANCODE_PRINTSCREEN},
    {"ScrollLock", SDL_SCANCODE_SCROLLLOCK}, {"Pause", SDL_SCANCODE_PAUSE},
    {"Insert", SDL_SCANCODE_INSERT}, {"Home", SDL_SCANCODE_HOME}, {"PageUp", SDL_SCANCODE_PAGEUP},
    {"Delete", SDL_SCANCODE_DELETE}, {"End", SDL_SCANCODE_END},
    {"PageDown", SDL_SCANCODE_PAGEDOWN}, {"NumLock", SDL_SCANCODE_NUMLOCKCLEAR},
    {"NumpadDivide", SDL_SCANCODE_KP_DIVIDE}, {"NumpadMultiply", SDL_SCANCODE_KP_MULTIPLY},
    {"NumpadSubtract", SDL_SCANCODE_KP_MINUS}, {"NumpadAdd", SDL_SCANCODE_KP_PLUS},
    {"NumpadEnter", SDL_SCANCODE_KP_ENTER}, {"NumpadDecimal", SDL_SCANCODE_KP_PERIOD},
    {"NumpadEqual", SDL_SCANCODE_KP_EQUALS}, {"NumpadComma", SDL_SCANCODE_KP_COMMA},
    {"IntlBackslash", SDL_SCANCODE_NONUSBACKSLASH}, {"ContextMenu", SDL_SCANCODE_APPLICATION},
    {"ControlLeft", SDL_SCANCODE_LCTRL}, {"ShiftLeft", SDL_SCANCODE_LSHIFT},
    {"AltLeft", SDL_SCANCODE_LALT}, {"MetaLeft", SDL_SCANCODE_LGUI},
    {"ControlRight", SDL_SCANCODE_RCTRL}, {"ShiftRight", SDL_SCANCODE_RSHIFT},
    {"AltRight", SDL_SCANCODE_RALT}, {"MetaRight", SDL_SCANCODE_RGUI},
    {"F13", SDL_SCANCODE_F13}, {"F14", SDL_SCANCODE_F14}, {"F15", SDL_SCANCODE_F15},
};
// clang-format on

}  // namespace

int ScancodeFromCode(const char* code) {
    const size_t n = std::strlen(code);
    // The runs the code's names and SDL's numbers share: KeyA..KeyZ, Digit1..Digit0, F1..F12,
    // Numpad1..Numpad0.
    if (n == 4 && std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z') {
        return SDL_SCANCODE_A + (code[3] - 'A');
    }
    if (n == 6 && std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9') {
        return code[5] == '0' ? SDL_SCANCODE_0 : SDL_SCANCODE_1 + (code[5] - '1');
    }
    if (n == 7 && std::strncmp(code, "Numpad", 6) == 0 && code[6] >= '0' && code[6] <= '9') {
        return code[6] == '0' ? SDL_SCANCODE_KP_0 : SDL_SCANCODE_KP_1 + (code[6] - '1');
    }
    if ((n == 2 || n == 3) && code[0] == 'F' && code[1] >= '1' && code[1] <= '9') {
        const int number = n == 2 ? code[1] - '0' : (code[1] - '0') * 10 + (code[2] - '0');
        if (number >= 1 && number <= 12) return SDL_SCANCODE_F1 + number - 1;
    }
    for (const CodePair& pair : CODES) {
        if (std::strcmp(pair.code, code) == 0) return pair.scancode;
    }
    return 0;
}

}  // namespace plat::web
