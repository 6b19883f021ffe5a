// What the web backend's services share among themselves.
#pragma once

#include <cstdint>

#include "platform/common/touchpad.h"

namespace plat::web {

constexpr const char* CANVAS = "#canvas";

// The clock stands still until the program steps it (a traced replay).
bool SteppedClock();

// The keyboard as the key events left it, in DirectInput layout (0x80 held).
extern uint8_t g_heldKeys[256];
bool LiveInput();
// The page has the focus and is visible: its keys and pads count.
bool PageActive();

// The canvas's size in device pixels.
void CanvasPixels(int* width, int* height);

// The touch controls: registered on the canvas with the window, drawn by the renderer.
void InstallTouch();
// The layout on the canvas as it is now, what is held, and where the stick's touch is; false
// when the controls are not shown (no touch screen).
bool TouchControls(common::TouchLayout* layout, uint8_t* held, float* stickX, float* stickY);

// The picture shown again, as the last present left it (after the canvas changed size).
void PresentAgain();

}  // namespace plat::web
