// The browser's physical key names to SDL's scan codes, which the key map turns into the game's.
#pragma once

namespace plat::web {

// KeyboardEvent.code ("KeyP", "ArrowLeft", "Space"...) to its SDL scan code, 0 when unknown.
int ScancodeFromCode(const char* code);

}  // namespace plat::web
