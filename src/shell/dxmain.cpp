#include "shell/dxmain.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/window.h"
#include "shell/desk.h"
#include "shell/graphics.h"
#include "shell/input.h"
#include "shell/sound.h"
#include "shell/tickhook.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

uint8_t g_sceneChange = 1;  // raised at load: the first tick serves the opening
uint32_t g_nextScene = SCENE_OP;

SceneCreator g_sceneTable[SCENE_COUNT] = {};
SceneCreator g_startupScene = nullptr;
const char* g_servedScene = nullptr;

namespace {

// The idle pass sleeps only when the next tick is further away than one sleep can overshoot.
constexpr double SLEEP_THRESHOLD_MS = 2.0;
constexpr int PAUSED_SLEEP_MS = 10;
constexpr uint32_t CLEAR_COLOR = 0xFF646464;
// A stepped clock lands this far past a tick's due time: well inside that tick, short of the next.
constexpr double STEP_PAST_DUE_MS = 0.5;

bool g_quit = false;
bool g_drawFrames = true;
uint32_t g_playingScene = SCENE_COUNT;
std::vector<int> g_fedKeyDowns;

// PeekMessage + DispatchMessage: one waiting event to the window procedure; false when none waits.
bool DispatchOneEvent() {
    plat::Event event;
    if (!plat::PeekEvent(&event)) return false;
    // While a recording plays the game, its own F1s are the ones that count.
    const bool ignored = event.type == plat::EventType::KeyDown &&
                         (event.key & 0xFF) == plat::VK_F1 && !LiveKeysDriveTheGame();
    if (!ignored) WndProc(event);
    return true;
}

void DispatchEvents() {
    while (!g_quit && DispatchOneEvent()) {
    }
}

void ShutDown() {
    ReleaseTaskList();
    ReleaseHitList();
    ReleaseLine();
    ReleaseTextures();
    ReleaseDirect3D();
    ReleaseInput();
    ReleaseSound();
    plat::DestroyGameWindow();
}

}  // namespace

void RequestScene(uint32_t id) {
    g_nextScene = id;
    g_sceneChange = 1;
}

uint32_t PlayingScene() {
    return g_playingScene;
}

void ServeSceneChange() {
    if (g_sceneChange != 1) return;
    ClearTasks();
    if (g_nextScene < SCENE_COUNT && g_sceneTable[g_nextScene] != nullptr) {
        NodeBaseClass* scene = g_sceneTable[g_nextScene]();
        g_servedScene = scene->ClassName();
        AddTask(scene);
    }
    g_playingScene = g_nextScene;
    g_sceneChange = 0;
}

void DrawFrame() {
    if (!g_rasterize) {
        DrawTasks();
        return;
    }
    plat::Clear(CLEAR_COLOR);
    if (plat::BeginScene()) {
        DrawTasks();
        Desk().DrawOver();
        plat::EndScene();
    }
    plat::Present();
}

int RunFrame() {
    Desk().ReadKeys(g_keys);
    ReadMouse(nullptr, nullptr, &g_mouseState);
    ReadJoysticks();
    if (Desk().Holding()) {
        ClearLatchedKeys();  // keys pressed while the game is held were the desk's
        Desk().HeldPass();
        return 0;
    }
    const int r = TickFrameClock();
    if (r >= FRAME_UPDATE) {
        if (FedTick(g_keys, &g_fedKeyDowns)) {
            for (int vk : g_fedKeyDowns) {
                plat::Event key{plat::EventType::KeyDown};
                key.key = vk;
                WndProc(key);
            }
            if (g_quit) return 0;  // a replayed Escape ends the run before its tick
        }
        ServeSceneChange();
        UpdateTasks();
        ClearLatchedKeys();
        RunCollisions();
        NotifyTickDone();
    }
    if (r == FRAME_UPDATE_DRAW && g_drawFrames) DrawFrame();
    return r;
}

void PostQuitMessage() {
    g_quit = true;
}

bool QuitPosted() {
    return g_quit;
}

void WndProc(const plat::Event& event) {
    if (Desk().TakeEvent(event)) return;
    switch (event.type) {
        case plat::EventType::Close: PostQuitMessage(); break;
        case plat::EventType::Activate:
            // Gained or lost alike: the devices are made anew.
            ReleaseInput();
            InitInput();
            break;
        case plat::EventType::KeyDown:
            if (!event.repeat) LatchKeyDown(event.scan);
            if ((event.key & 0xFF) == plat::VK_ESCAPE) {
                NotifyKeyDown(plat::VK_ESCAPE);
                PostQuitMessage();
            }
            // A held F1 would switch the screen, and be recorded, at every auto-repeat.
            if ((event.key & 0xFF) == plat::VK_F1 && !event.repeat) {
                NotifyKeyDown(plat::VK_F1);
                Desk().SwitchFullscreen();
            }
            break;
        case plat::EventType::Resized: break;
        case plat::EventType::MouseDown: break;
        case plat::EventType::MouseMove:
            g_mouseX = event.x & 0xFFFF;
            g_mouseY = event.y & 0xFFFF;
            break;
    }
}

int StartGame(const GameStart& start) {
    g_quit = false;
    g_drawFrames = start.draw;
    g_sceneChange = 1;
    g_nextScene = start.scene;
    g_servedScene = nullptr;
    g_playingScene = SCENE_COUNT;
    std::string why;
    if (plat::CreateGameWindow("Tinselrun", start.windowWidth, start.windowHeight, &why) ==
        plat::WindowResult::NoDisplay) {
        std::fprintf(stderr, "tinselrun: no display (%s); tinselrun-sim plays without one\n",
                     why.c_str());
        return START_NO_DISPLAY;
    }
    if (InitDirect3D(SCREEN_WIDTH, SCREEN_HEIGHT, 1) < 0) return START_NO_RENDERER;
    InitSound();
    Desk().Started();
    InitTaskList();
    InitHitList();
    CreateLine();
    StartFrameClock(Desk().FramePeriod());
    LoadTextures();
    LoadSounds();
    // Replaced by the first tick's scene before it is ever updated or drawn.
    if (g_startupScene != nullptr) AddTask(g_startupScene());
    NotifyStarted();
    return START_OK;
}

int FramePass() {
    DispatchEvents();
    if (g_quit) return 0;
    return RunFrame();
}

int StepTick() {
    DispatchEvents();
    if (g_quit) return 0;
    if (!Desk().Holding()) plat::WaitUntilMs(g_clockNext + STEP_PAST_DUE_MS);
    return RunFrame();
}

void StopGame() {
    NotifyFinished();
    ShutDown();
}

int GameMain(const GameStart& start, LoopObserver* observer) {
    if (StartGame(start) != START_OK) return 1;
    if (observer != nullptr) observer->Started(g_clockNext - g_clockPeriod);
    while (!g_quit) {
        const int r = FramePass();
        if (g_quit) break;
        if (observer != nullptr) observer->Passed(r);
        if (r != 0) continue;
        if (Desk().Holding()) {
            plat::SleepMs(PAUSED_SLEEP_MS);
            continue;
        }
        if (observer != nullptr && observer->Waited()) continue;
        if (g_clockNext - plat::ClockMs() > SLEEP_THRESHOLD_MS) plat::SleepMs(1);
    }
    if (observer != nullptr) observer->Finished();
    StopGame();
    return 0;
}
