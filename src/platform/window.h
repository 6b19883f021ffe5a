// Window and event pump: stands in for the Win32 window class, message queue and MessageBoxA.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

enum class EventType {
    Close,      // WM_DESTROY: the window was closed
    Activate,   // WM_ACTIVATE: the window gained or lost the focus
    KeyDown,    // WM_KEYDOWN, auto-repeats included; key is a Win32 virtual-key code
    MouseMove,  // WM_MOUSEMOVE; x, y in client pixels
    Resized,    // WM_SIZE of the window (not full screen): x, y are its new size in pixels
    MouseDown,  // WM_LBUTTONDOWN, WM_RBUTTONDOWN: key VK_LBUTTON or VK_RBUTTON, x, y as MouseMove
};

struct Event {
    EventType type;
    int key = 0;          // virtual-key code for KeyDown (VK_ESCAPE 0x1B, VK_F1 0x70, ...)
    bool repeat = false;  // KeyDown: an auto-repeat of a key held down
    bool active = false;  // for Activate
    int x = 0, y = 0;     // for MouseMove
    int scan = 0;         // KeyDown: the key's scan code in DirectInput's numbering; 0: it has none
};

constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;

constexpr int VK_PAUSE = 0x13;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_M = 0x4D;
constexpr int VK_P = 0x50;
constexpr int VK_F1 = 0x70;
constexpr int VK_F12 = 0x7B;

enum class WindowResult {
    Ok,
    NoDisplay,  // no video driver was asked for and neither X11 nor Wayland answers
    Failed,
};

// False, with the reason, when no display is there to show a window: no video driver was asked
// for (SDL_VIDEODRIVER) and neither DISPLAY nor WAYLAND_DISPLAY is set.
bool DisplayExpected(std::string* why);

// RegisterClassExA + CreateWindowExA + ShowWindow: creates and shows the game window with a
// client area of width x height, made smaller (same shape) to fit the desktop. Showing it
// queues the first Activate event, as Windows does. why says what NoDisplay found.
WindowResult CreateGameWindow(const char* title, int width, int height, std::string* why);

// DestroyWindow at shutdown.
void DestroyGameWindow();

// PeekMessageA(PM_REMOVE): takes one waiting event, or returns false when there is none.
bool PeekEvent(Event* out);

// MessageBoxA: a caption of nullptr stands for the system's default caption.
// Falls back to one line on stderr when no display can show a box.
void ShowMessageBox(const char* text, const char* caption, bool errorIcon);

// Sleep(1): gives the processor away while the next tick is not due.
void SleepMs(int ms);

}  // namespace plat
