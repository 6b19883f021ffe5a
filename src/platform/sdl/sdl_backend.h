// State the real backend's services share.
#pragma once

#include <SDL.h>

namespace plat::sdl {

extern SDL_Window* g_window;

// The window's size as the window system has it. Under X11 without a window manager SDL takes
// a full-screen request as granted and reports the display's size while the window keeps its
// own; this asks the X server. Elsewhere it is SDL's size. True when the X server answered.
bool WindowSystemSize(SDL_Window* window, int* w, int* h);

// Full screen on or off; false when SDL refuses the change.
bool SetFullscreen(bool on);

}  // namespace plat::sdl
