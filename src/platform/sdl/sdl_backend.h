// State the real backend's services share.
#pragma once

#include <SDL.h>

namespace plat::sdl {

extern SDL_Window* g_window;

}  // namespace plat::sdl
