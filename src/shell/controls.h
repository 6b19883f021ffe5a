// The player's controls around the game: pause, mute, full screen and window size kept in the
// settings, screenshots. None of them changes a rule: a paused interval is not a tick.
#pragma once

#include "platform/window.h"

// "PAUSED" in the pictures' 5x7 pixel font: '#' for a lit font pixel, glyphs a column apart.
constexpr int PAUSED_WIDTH = 35;
constexpr int PAUSED_HEIGHT = 7;
extern const char* const PAUSED_TEXT[PAUSED_HEIGHT];

extern bool g_paused;

// After start-up has made the window and the sound: the settings of this run take effect.
void ApplySettings();

// P, Pause, M and F12 (repeats ignored); true when the key was one of them.
bool HandleControlKey(const plat::Event& event);
// No tick runs while paused, and sound holds; resuming starts the frame clock afresh.
void SetPaused(bool paused);
void OnFocusChange(bool active);
void OnWindowResized(int width, int height);
void OnFullscreenToggled();

// While paused, the main loop's pass: the last picture dimmed with "PAUSED" over it, shown
// again now and then (the window may have been uncovered or resized).
void PausedPass();

// Writes the picture as drawn to the pictures folder and prints its path on stdout, or on
// stderr while stdout carries the trace; a picture that cannot be written is said on stderr.
void SaveScreenshot();
extern bool g_stdoutTaken;  // set when stdout is the trace (--trace -)
