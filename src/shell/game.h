// How any loop drives the game: the desktop's, the runner's, the tests', the benchmarks' and the
// page's. Start it in a scene, then run frame passes (a real clock decides which tick is due) or
// whole ticks (a stepped clock is moved to each), then stop it.
#pragma once

#include <cstdint>

#include "shell/frameclock.h"
#include "shell/graphics.h"
#include "shell/scenerequest.h"

struct GameStart {
    uint32_t scene = SCENE_OP;  // the scene the first tick serves
    // The window's client size; it is made smaller, same shape, to fit the desktop.
    int windowWidth = SCREEN_WIDTH;
    int windowHeight = SCREEN_HEIGHT;
    bool draw = true;  // false: due ticks are updated but never drawn (benchmarks)
};

enum : int {
    START_OK = 0,
    START_NO_RENDERER = -1,  // its message box (or stderr line) is out
    START_NO_DISPLAY = -2,   // one stderr line is out
};
// Every service up to the first scene, as the game has always started.
int StartGame(const GameStart& start);

// One pass of the main loop: every waiting event, then one frame pass (input, frame clock, the
// due tick's update and collisions, its draw). Returns what the frame clock said: 0 when no tick
// was due, the game is paused or a quit was posted.
int FramePass();

// For a stepped clock (the runner, tests, benchmarks, a traced replay in the page): every
// waiting event, then the clock moved half a millisecond past the next tick's due time and one
// frame pass, so exactly one tick runs and is drawn unless the game is paused or quits.
int StepTick();

// The scene the last served request made (SCENE_COUNT before the first tick): what is played.
uint32_t PlayingScene();

// Escape, the window's close button or a replayed Escape has asked the loop to end.
bool QuitPosted();
void PostQuitMessage();

// Tells the hooks how many ticks ran and releases every service.
void StopGame();
