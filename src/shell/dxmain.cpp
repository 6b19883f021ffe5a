#include "shell/dxmain.h"

#include <cstdio>
#include <string>

#include "platform/clock.h"
#include "platform/window.h"
#include "shell/controls.h"
#include "shell/graphics.h"
#include "shell/input.h"
#include "shell/settings.h"
#include "shell/sound.h"
#include "shell/tickhook.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

uint8_t g_sceneChange = 1;  // raised at load: the first tick serves the opening
uint32_t g_nextScene = SCENE_OP;

double g_clockNow = 0.0;
double g_clockNext = 0.0;
double g_clockLate = 0.0;
float FRAME_PERIOD = 16.666666f;
int32_t g_skipCount = 0;

int32_t g_mouseX = 0;
int32_t g_mouseY = 0;

SceneCreator g_sceneTable[SCENE_COUNT] = {};
SceneCreator g_startupScene = nullptr;
const char* g_servedScene = nullptr;
bool g_drawFrames = true;
bool g_quit = false;

namespace {

constexpr double FIRST_PERIOD_MS = 16.666666030883789;
// The idle pass sleeps only when the next tick is further away than one sleep can overshoot.
constexpr double SLEEP_THRESHOLD_MS = 2.0;
constexpr int PAUSED_SLEEP_MS = 10;
constexpr uint32_t CLEAR_COLOR = 0xFF646464;

}  // namespace

void StartFrameClock() {
    g_clockNow = plat::ClockMs();
    g_clockNext = plat::ClockMs() + FIRST_PERIOD_MS;
    g_clockLate = 0.0;
    g_skipCount = 0;
    FRAME_PERIOD = 16.666666f;
}

int TickFrameClock() {
    g_clockNow = plat::ClockMs();
    g_clockLate = g_clockNow - g_clockNext;
    if (!(g_clockLate > 0.0)) return 0;
    const double period = FRAME_PERIOD;
    int result = FRAME_UPDATE_DRAW;
    if (g_clockLate - period > period) {
        // More than two periods behind: ten ticks without drawing, then one drawn.
        if (g_skipCount >= 10) {
            g_skipCount = 0;
        } else {
            ++g_skipCount;
            result = FRAME_UPDATE;
        }
    }
    g_clockNext += period;
    return result;
}

void RequestScene(uint32_t id) {
    g_nextScene = id;
    g_sceneChange = 1;
}

void ServeSceneChange() {
    if (g_sceneChange != 1) return;
    ClearTasks();
    if (g_nextScene < SCENE_COUNT && g_sceneTable[g_nextScene] != nullptr) {
        NodeBaseClass* scene = g_sceneTable[g_nextScene]();
        g_servedScene = scene->ClassName();
        AddTask(scene);
    }
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
        plat::EndScene();
    }
    plat::Present();
}

int RunFrame() {
    ReadKeyboard(g_keys);
    ReadMouse(nullptr, nullptr, &g_mouseState);
    ReadJoysticks();
    if (g_paused) {
        PausedPass();
        return 0;
    }
    const int r = TickFrameClock();
    if (r >= FRAME_UPDATE) {
        if (!BeginTick()) return 0;  // a replayed Escape ends the run before this tick
        ServeSceneChange();
        UpdateTasks();
        RunCollisions();
        EndTick();
    }
    if (r == FRAME_UPDATE_DRAW && g_drawFrames) DrawFrame();
    return r;
}

void PostQuitMessage() {
    g_quit = true;
}

void WndProc(const plat::Event& event) {
    switch (event.type) {
        case plat::EventType::Close: PostQuitMessage(); break;
        case plat::EventType::Activate:
            // Gained or lost alike: the devices are made anew.
            ReleaseInput();
            InitInput();
            OnFocusChange(event.active);
            break;
        case plat::EventType::KeyDown:
            if (HandleControlKey(event)) break;
            if ((event.key & 0xFF) == plat::VK_ESCAPE) {
                NotifyKeyDown(plat::VK_ESCAPE);
                PostQuitMessage();
            }
            if ((event.key & 0xFF) == plat::VK_F1) {
                NotifyKeyDown(plat::VK_F1);
                ToggleFullscreen();
                OnFullscreenToggled();
            }
            break;
        case plat::EventType::Resized: OnWindowResized(event.x, event.y); break;
        case plat::EventType::MouseMove:
            g_mouseX = event.x & 0xFFFF;
            g_mouseY = event.y & 0xFFFF;
            break;
    }
}

bool DispatchOneEvent() {
    if (g_quit) return false;
    plat::Event event;
    if (!plat::PeekEvent(&event)) return false;
    // While a script plays the game, its own F1s are the ones that count.
    const bool scriptKey = event.type == plat::EventType::KeyDown &&
                           (event.key & 0xFF) == plat::VK_F1 && !LiveKeysDriveTheGame();
    if (!scriptKey) WndProc(event);
    return true;
}

int StartUp() {
    g_quit = false;
    g_paused = false;
    const bool sized = g_settings.windowWidth > 0 && g_settings.windowHeight > 0;
    std::string why;
    if (plat::CreateGameWindow("Tinselrun",
                               sized ? g_settings.windowWidth : SCREEN_WIDTH * g_settings.scale,
                               sized ? g_settings.windowHeight : SCREEN_HEIGHT * g_settings.scale,
                               &why) == plat::WindowResult::NoDisplay) {
        std::fprintf(stderr, "tinselrun: no display (%s); tinselrun-sim plays without one\n",
                     why.c_str());
        return START_NO_DISPLAY;
    }
    if (InitDirect3D(SCREEN_WIDTH, SCREEN_HEIGHT, 1) < 0) return -1;
    InitSound();
    ApplySettings();
    InitTaskList();
    InitHitList();
    CreateLine();
    StartFrameClock();
    LoadTextures();
    LoadSounds();
    // Replaced by the first tick's scene before it is ever updated or drawn.
    if (g_startupScene != nullptr) AddTask(g_startupScene());
    NotifyStarted();
    return 0;
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

int GameMain(LoopObserver* observer) {
    const int started = StartUp();
    if (started == START_NO_DISPLAY) return 1;
    if (started < 0) return 0;
    if (observer != nullptr) observer->Started(g_clockNext - FIRST_PERIOD_MS);
    while (!g_quit) {
        if (DispatchOneEvent()) continue;
        const int r = RunFrame();
        if (observer != nullptr) observer->Passed(r);
        if (r != 0) continue;
        if (g_paused) {
            plat::SleepMs(PAUSED_SLEEP_MS);
            continue;
        }
        if (observer != nullptr && observer->Waited()) continue;
        if (g_clockNext - plat::ClockMs() > SLEEP_THRESHOLD_MS) plat::SleepMs(1);
    }
    NotifyFinished();
    if (observer != nullptr) observer->Finished();
    ShutDown();
    return 0;
}
