// Kept apart: the X11 headers define names (None, Status, Bool...) that nothing else should see.
#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/sdl/sdl_backend.h"

namespace plat::sdl {

bool WindowSystemSize(SDL_Window* window, int* w, int* h) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes) != 0) {
            *w = attributes.width;
            *h = attributes.height;
            return true;
        }
    }
#endif
    SDL_GetWindowSize(window, w, h);
    return false;
}

}  // namespace plat::sdl
