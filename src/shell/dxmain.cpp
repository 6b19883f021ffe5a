#include "shell/dxmain.h"

#include "platform/clock.h"
#include "platform/window.h"
#include "shell/graphics.h"
#include "shell/input.h"
#include "shell/sound.h"
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
    const int r = TickFrameClock();
    if (r >= FRAME_UPDATE) {
        ServeSceneChange();
        UpdateTasks();
        RunCollisions();
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
            break;
        case plat::EventType::KeyDown:
            if ((event.key & 0xFF) == plat::VK_ESCAPE) PostQuitMessage();
            if ((event.key & 0xFF) == plat::VK_F1) ToggleFullscreen();
            break;
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
    WndProc(event);
    return true;
}

int StartUp() {
    g_quit = false;
    plat::CreateGameWindow("Tinselrun", SCREEN_WIDTH, SCREEN_HEIGHT);
    if (InitDirect3D(SCREEN_WIDTH, SCREEN_HEIGHT, 1) < 0) return -1;
    InitSound();
    InitTaskList();
    InitHitList();
    CreateLine();
    StartFrameClock();
    LoadTextures();
    LoadSounds();
    // Replaced by the first tick's scene before it is ever updated or drawn.
    if (g_startupScene != nullptr) AddTask(g_startupScene());
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
    if (StartUp() < 0) return 0;
    if (observer != nullptr) observer->Started(g_clockNext - FIRST_PERIOD_MS);
    while (!g_quit) {
        if (DispatchOneEvent()) continue;
        const int r = RunFrame();
        if (observer != nullptr) observer->Passed(r);
        if (r != 0 || (observer != nullptr && observer->Waited())) continue;
        if (g_clockNext - plat::ClockMs() > SLEEP_THRESHOLD_MS) plat::SleepMs(1);
    }
    if (observer != nullptr) observer->Finished();
    ShutDown();
    return 0;
}
