// SDL scan codes to DirectInput scan codes (the layout of the game's keyboard snapshot) and to the
// virtual-key codes of key-down events.
#pragma once

namespace plat {

constexpr int SDL_SCANCODE_LIMIT = 512;

// The DirectInput scan code of an SDL scan code, or 0 for a key DirectInput has no code for.
int DikFromScancode(int sdlScancode);

// The Win32 virtual-key code of the keys the window procedure and the desk act on (Escape,
// Pause, P, M, F1 to F12), or 0 for any other key.
int VirtualKeyFromScancode(int sdlScancode);

}  // namespace plat
