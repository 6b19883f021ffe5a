// SDL scan codes to DirectInput scan codes (the layout of the game's keyboard snapshot).
#pragma once

namespace plat {

constexpr int SDL_SCANCODE_LIMIT = 512;

// The DirectInput scan code of an SDL scan code, or 0 for a key DirectInput has no code for.
int DikFromScancode(int sdlScancode);

}  // namespace plat
