#include "platform/window.h"

#include <SDL.h>

#include <cstdio>
#include <deque>

#include "platform/clock.h"
#include "platform/sdl/sdl_backend.h"

namespace plat {
namespace sdl {
SDL_Window* g_window = nullptr;
}

namespace {

std::deque<Event> g_pending;
Uint64 g_clockStart = 0;

int VirtualKey(SDL_Scancode code) {
    if (code == SDL_SCANCODE_ESCAPE) return VK_ESCAPE;
    if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12)
        return VK_F1 + (code - SDL_SCANCODE_F1);
    return 0;
}

// Turns one SDL event into the game's, or returns false for one the game does not see.
bool Translate(const SDL_Event& e, Event* out) {
    switch (e.type) {
        case SDL_QUIT: *out = {EventType::Close}; return true;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                *out = {EventType::Close};
                return true;
            }
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                *out = {EventType::Activate};
                out->active = e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                return true;
            }
            return false;
        case SDL_KEYDOWN:
            *out = {EventType::KeyDown};
            out->key = VirtualKey(e.key.keysym.scancode);
            return true;
        case SDL_MOUSEMOTION:
            *out = {EventType::MouseMove};
            out->x = e.motion.x;
            out->y = e.motion.y;
            return true;
        default: return false;
    }
}

}  // namespace

bool CreateGameWindow(const char* title, int width, int height) {
    g_clockStart = SDL_GetPerformanceCounter();
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    sdl::g_window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                     height, SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
    if (sdl::g_window == nullptr) return false;
    // Showing a window activates it: the first activation is what opens the input devices.
    Event activate{EventType::Activate};
    activate.active = true;
    g_pending.push_back(activate);
    return true;
}

void DestroyGameWindow() {
    if (sdl::g_window != nullptr) SDL_DestroyWindow(sdl::g_window);
    sdl::g_window = nullptr;
    SDL_Quit();
}

bool PeekEvent(Event* out) {
    if (!g_pending.empty()) {
        *out = g_pending.front();
        g_pending.pop_front();
        return true;
    }
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (Translate(e, out)) return true;
    }
    return false;
}

void ShowMessageBox(const char* text, const char* caption, bool errorIcon) {
    const Uint32 flags = errorIcon ? SDL_MESSAGEBOX_ERROR : 0;
    if (SDL_ShowSimpleMessageBox(flags, caption != nullptr ? caption : "Error", text,
                                 sdl::g_window) != 0) {
        std::fprintf(stderr, "%s%s%s\n", caption != nullptr ? caption : "",
                     caption != nullptr && caption[0] != '\0' ? ": " : "", text);
    }
}

void SleepMs(int ms) {
    SDL_Delay(static_cast<Uint32>(ms));
}

double ClockMs() {
    const Uint64 ticks = SDL_GetPerformanceCounter() - g_clockStart;
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(SDL_GetPerformanceFrequency());
}

}  // namespace plat
