// Window and event pump: stands in for the Win32 window class, message queue and MessageBoxA.
#pragma once

#include <cstdint>

namespace plat {

enum class EventType {
    Close,      // WM_DESTROY: the window was closed
    Activate,   // WM_ACTIVATE: the window gained or lost the focus
    KeyDown,    // WM_KEYDOWN, auto-repeats included; key is a Win32 virtual-key code
    MouseMove,  // WM_MOUSEMOVE; x, y in client pixels
};

struct Event {
    EventType type;
    int key = 0;          // virtual-key code for KeyDown (VK_ESCAPE 0x1B, VK_F1 0x70, ...)
    bool active = false;  // for Activate
    int x = 0, y = 0;     // for MouseMove
};

constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_F1 = 0x70;

// RegisterClassExA + CreateWindowExA + ShowWindow: creates and shows the game window with
// an 800 x 600 client area. Showing it queues the first Activate event, as Windows does.
// Returns false when no window can be made (no display).
bool CreateGameWindow(const char* title, int width, int height);

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
