// The spine: start-up, the window procedure, the frame pass, scene switching, shutdown, and the
// desktop's main loop. Loops drive it through shell/game.h.
#pragma once

#include <cstdint>

#include "platform/window.h"
#include "shell/game.h"

class NodeBaseClass;

// The scene-change request that RequestScene makes. Only the value 1 counts.
extern uint8_t g_sceneChange;
extern uint32_t g_nextScene;

// Scene creators: construct, Init, return (ServeSceneChange links it). An empty entry creates
// nothing. The start-up scene is what the game puts in before the first tick replaces it.
using SceneCreator = NodeBaseClass* (*)();
extern SceneCreator g_sceneTable[SCENE_COUNT];
extern SceneCreator g_startupScene;

// Class name of the scene that the last ServeSceneChange created, or nullptr (for the trace).
extern const char* g_servedScene;

// How a measuring program (bench/) watches the main loop; the game itself runs without one.
class LoopObserver {
public:
    virtual void Started(double clockStartMs) = 0;  // start-up done; when the frame clock began
    virtual void Passed(int frameResult) = 0;       // after each frame pass
    virtual bool Waited() = 0;    // no tick due: true when it has waited its own way instead
    virtual void Finished() = 0;  // the loop has ended; shut-down comes next

protected:
    ~LoopObserver() = default;
};

// The desktop's loop: StartGame, frame passes (sleeping while no tick is due), StopGame. The
// process's exit status: 0, or 1 when there is no display or the renderer cannot be made.
int GameMain(const GameStart& start, LoopObserver* observer = nullptr);

void WndProc(const plat::Event& event);
// The frame pass: input, frame clock, the due tick, its draw. What the frame clock said.
int RunFrame();
void DrawFrame();
void ServeSceneChange();
