#include "platform/window.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "platform/clock.h"
#include "platform/keymap.h"
#include "platform/renderer.h"
#include "platform/sdl/sdl_backend.h"

namespace plat {
namespace sdl {
SDL_Window* g_window = nullptr;
}

namespace {

std::deque<Event> g_pending;
Uint64 g_clockStart = 0;
// Full screen made by a borderless window over the display, where the real one was refused.
bool g_covering = false;
bool g_refused = false;  // once refused, full screen is not asked for again (nor waited for)
SDL_Rect g_windowedRect = {0, 0, 0, 0};  // where the window was before full screen
int g_windowW = 0, g_windowH = 0;        // the window's size as last reported
// How long a window manager may take to grant full screen before it counts as refused.
constexpr Uint32 FULLSCREEN_WAIT_MS = 250;

bool IsWindowed() {
    return !g_covering && (SDL_GetWindowFlags(sdl::g_window) & SDL_WINDOW_FULLSCREEN) == 0;
}

// Waits a moment for the window system to give the window the size SDL expects of it.
bool GotSizeSdlExpects() {
    int wantW = 0, wantH = 0;
    SDL_GetWindowSize(sdl::g_window, &wantW, &wantH);
    const Uint64 until = SDL_GetTicks64() + FULLSCREEN_WAIT_MS;
    while (true) {
        int w = 0, h = 0;
        if (!sdl::WindowSystemSize(sdl::g_window, &w, &h))
            return true;  // SDL's size is all there is
        if (w == wantW && h == wantH) return true;
        if (SDL_GetTicks64() >= until) return false;
        SDL_Delay(10);
    }
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
            if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && IsWindowed()) {
                // The size now rather than the event's: a late event may describe full screen.
                int w = 0, h = 0;
                SDL_GetWindowSize(sdl::g_window, &w, &h);
                if (w == g_windowW && h == g_windowH) return false;  // back from full screen
                g_windowW = w;
                g_windowH = h;
                *out = {EventType::Resized};
                out->x = w;
                out->y = h;
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
            out->key = VirtualKeyFromScancode(e.key.keysym.scancode);
            out->repeat = e.key.repeat != 0;
            out->scan = DikFromScancode(e.key.keysym.scancode);
            return true;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) {
                return false;
            }
            *out = {EventType::MouseDown};
            out->key = e.button.button == SDL_BUTTON_LEFT ? VK_LBUTTON : VK_RBUTTON;
            out->x = e.button.x;
            out->y = e.button.y;
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

bool DisplayExpected(std::string* why) {
    if (std::getenv("SDL_VIDEODRIVER") != nullptr) return true;  // the user's choice stands
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((x11 != nullptr && x11[0] != '\0') || (wayland != nullptr && wayland[0] != '\0')) {
        return true;
    }
    *why = "DISPLAY and WAYLAND_DISPLAY are unset";
    return false;
}

WindowResult CreateGameWindow(const char* title, int width, int height, std::string* why) {
    g_clockStart = SDL_GetPerformanceCounter();
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    const bool driverAsked = std::getenv("SDL_VIDEODRIVER") != nullptr;
    std::string drivers;
    if (!driverAsked) {
        // Only the drivers of a display someone can see: SDL would otherwise fall back to an
        // off-screen window that nobody sees.
        const char* x11 = std::getenv("DISPLAY");
        const char* wayland = std::getenv("WAYLAND_DISPLAY");
        if (x11 != nullptr && x11[0] != '\0') drivers = "x11";
        if (wayland != nullptr && wayland[0] != '\0')
            drivers += drivers.empty() ? "wayland" : ",wayland";
        if (drivers.empty()) {
            DisplayExpected(why);
            return WindowResult::NoDisplay;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        if (driverAsked) return WindowResult::Failed;
        const char* x11 = std::getenv("DISPLAY");
        const std::string atX11 =
            x11 != nullptr && x11[0] != '\0' ? std::string("X11 at DISPLAY=") + x11 : "";
        *why = drivers == "x11"       ? atX11 + " does not answer"
               : drivers == "wayland" ? "Wayland does not answer"
                                      : "neither " + atX11 + " nor Wayland answers";
        return WindowResult::NoDisplay;
    }
    SDL_InitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER);
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        // Room for a title bar and frame, whose size SDL cannot tell before the window exists.
        const int roomW = usable.w - 16, roomH = usable.h - 48;
        if (width > roomW || height > roomH) {
            const PictureRect fit = FitPicture(roomW, roomH, width, height, false);
            if (fit.w > 0 && fit.h > 0) {
                width = fit.w;
                height = fit.h;
            }
        }
    }
    sdl::g_window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                     height, SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
    if (sdl::g_window == nullptr) return WindowResult::Failed;
    SDL_SetWindowMinimumSize(sdl::g_window, 160, 120);
    SDL_GetWindowSize(sdl::g_window, &g_windowW, &g_windowH);
    // Showing a window activates it: the first activation is what opens the input devices.
    Event activate{EventType::Activate};
    activate.active = true;
    g_pending.push_back(activate);
    return WindowResult::Ok;
}

namespace sdl {

bool SetFullscreen(bool on) {
    if (g_window == nullptr) return false;
    if (on) {
        if (!IsWindowed()) return true;
        SDL_GetWindowPosition(g_window, &g_windowedRect.x, &g_windowedRect.y);
        WindowSystemSize(g_window, &g_windowedRect.w, &g_windowedRect.h);
        if (!g_refused) {
            if (SDL_SetWindowFullscreen(g_window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
            if (GotSizeSdlExpects()) return true;
            // Refused (no window manager grants it): cover the display with a borderless window,
            // after telling SDL the size the window really kept.
            g_refused = true;
            SDL_SetWindowFullscreen(g_window, 0);
            SDL_SetWindowSize(g_window, g_windowedRect.w, g_windowedRect.h);
        }
        SDL_Rect display;
        if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(g_window), &display) != 0) return false;
        g_covering = true;
        SDL_SetWindowBordered(g_window, SDL_FALSE);
        SDL_SetWindowPosition(g_window, display.x, display.y);
        SDL_SetWindowSize(g_window, display.w, display.h);
        return true;
    }
    if (g_covering) {
        g_covering = false;
        SDL_SetWindowBordered(g_window, SDL_TRUE);
        SDL_SetWindowSize(g_window, g_windowedRect.w, g_windowedRect.h);
        SDL_SetWindowPosition(g_window, g_windowedRect.x, g_windowedRect.y);
        return true;
    }
    if (IsWindowed()) return true;
    if (SDL_SetWindowFullscreen(g_window, 0) != 0) return false;
    int w = 0, h = 0, sdlW = 0, sdlH = 0;
    SDL_GetWindowSize(g_window, &sdlW, &sdlH);
    if (WindowSystemSize(g_window, &w, &h) && (w != sdlW || h != sdlH)) {
        SDL_SetWindowSize(g_window, w, h);
    }
    return true;
}

}  // namespace sdl

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

void WaitUntilMs(double ms) {
    // Whole milliseconds asleep, the last fraction given away a millisecond at a time.
    for (double left = ms - ClockMs(); left > 0; left = ms - ClockMs()) {
        SDL_Delay(left > 2.0 ? static_cast<Uint32>(left - 1.0) : 1);
    }
}

}  // namespace plat
