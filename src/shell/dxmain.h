// The spine: start-up, the message loop, the 60 Hz frame clock, scene switching, shutdown.
#pragma once

#include <cstdint>

#include "platform/window.h"
#include "shell/scenerequest.h"

class NodeBaseClass;

enum : int {
    FRAME_UPDATE = 10,
    FRAME_UPDATE_DRAW = 11,
};

// The scene-change request that RequestScene makes. Only the value 1 counts.
extern uint8_t g_sceneChange;
extern uint32_t g_nextScene;

// Milliseconds since start-up, 64-bit in double precision so that long uptimes stay exact.
extern double g_clockNow;
extern double g_clockNext;
extern double g_clockLate;
extern float FRAME_PERIOD;
extern int32_t g_skipCount;

extern int32_t g_mouseX;
extern int32_t g_mouseY;

// Scene creators: construct, Init, return (ServeSceneChange links it). An empty entry creates
// nothing. The start-up scene is what the game puts in before the first tick replaces it.
using SceneCreator = NodeBaseClass* (*)();
extern SceneCreator g_sceneTable[SCENE_COUNT];
extern SceneCreator g_startupScene;

// Class name of the scene that the last ServeSceneChange created, or nullptr (for the trace).
extern const char* g_servedScene;
// When false, ticks that are due to be drawn are not drawn (the headless runner draws itself).
extern bool g_drawFrames;

// How a measuring program (bench/) watches the main loop; the game itself runs without one.
class LoopObserver {
public:
    virtual void Started(double clockStartMs) = 0;  // start-up done; when the frame clock began
    virtual void Passed(int frameResult) = 0;       // after each pass that ran the frame clock
    virtual bool Waited() = 0;    // no tick due: true when it has waited its own way instead
    virtual void Finished() = 0;  // the loop has ended; shut-down comes next

protected:
    ~LoopObserver() = default;
};

// Every service up to the first scene; negative when the device failed, START_NO_DISPLAY
// (after one stderr line) when there is no display to show the window on.
int StartUp();
constexpr int START_NO_DISPLAY = -2;
void ShutDown();
// StartUp, the message loop, ShutDown; the process's exit status (1: no display).
int GameMain(LoopObserver* observer = nullptr);

// One turn of the message loop: dispatch one waiting event and return true, or false when
// there was none. g_quit is set once a quit was posted.
bool DispatchOneEvent();
extern bool g_quit;
void WndProc(const plat::Event& event);
void PostQuitMessage();

// One pass of the loop when no event is waiting; returns what the frame clock said.
int RunFrame();
void DrawFrame();
void ServeSceneChange();
void StartFrameClock();
int TickFrameClock();
