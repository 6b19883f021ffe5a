// The page's window: the canvas and the document's events through html5.h, and the clock.
#include "platform/window.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstring>
#include <deque>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/keymap.h"
#include "platform/web/backend.h"
#include "platform/web/keycodes.h"
#include "platform/web/web.h"

namespace plat {
namespace web {

uint8_t g_heldKeys[256] = {};

namespace {

std::deque<Event> g_pending;
double g_clockStart = 0.0;
bool g_stepped = false;
double g_steppedNow = 0.0;
bool g_live = true;
bool g_focused = true;
bool g_visible = true;

// The keys the game or the player's desk acts on: their default (scrolling the page, the
// browser's help on F1) would fight the game.
bool GameKey(int dik, int vk) {
    static constexpr int DIKS[] = {0xC8, 0xCB, 0xCD, 0xD0, 0x39, 0x1C};  // arrows, Space, Return
    for (int game : DIKS) {
        if (dik == game) return true;
    }
    static constexpr int VKS[] = {VK_ESCAPE, VK_PAUSE, VK_P, VK_M, VK_F1, VK_SCREENSHOT_PAGE};
    for (int game : VKS) {
        if (vk == game) return true;
    }
    return false;
}

void Push(const Event& event) {
    if (g_live) g_pending.push_back(event);
}

void PushActivate(bool active) {
    Event event{EventType::Activate};
    event.active = active;
    Push(event);
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* /*user*/) {
    GestureSeen();
    const int scancode = ScancodeFromCode(e->code);
    const int dik = DikFromScancode(scancode);
    const int vk = VirtualKeyFromScancode(scancode);
    if (type == EMSCRIPTEN_EVENT_KEYUP) {
        if (dik != 0) g_heldKeys[dik] = 0;
        return GameKey(dik, vk);
    }
    if (e->ctrlKey || e->metaKey || e->altKey) return false;  // the browser's shortcuts
    if (dik != 0) g_heldKeys[dik] = 0x80;
    // Full screen is only granted inside the key's own handler.
    if (vk == VK_F1 && !e->repeat && g_live) ToggleFullscreen();
    Event key{EventType::KeyDown};
    key.key = vk;
    key.scan = dik;
    key.repeat = e->repeat != 0;
    Push(key);
    return GameKey(dik, vk);
}

// Clicks and moves on the canvas, in its pixels (the pause menu takes them).
EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void* /*user*/) {
    const double ratio = emscripten_get_device_pixel_ratio();
    Event event{type == EMSCRIPTEN_EVENT_MOUSEDOWN ? EventType::MouseDown : EventType::MouseMove};
    event.x = static_cast<int>(e->targetX * ratio);
    event.y = static_cast<int>(e->targetY * ratio);
    if (event.type == EventType::MouseDown) {
        if (e->button != 0 && e->button != 2) return false;
        event.key = e->button == 0 ? VK_LBUTTON : VK_RBUTTON;
    }
    Push(event);
    return false;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent* /*e*/, void* /*user*/) {
    const bool focused = type == EMSCRIPTEN_EVENT_FOCUS;
    if (focused == g_focused) return false;
    g_focused = focused;
    // Keys let go while the page had no focus would stay held.
    if (!focused) std::memset(g_heldKeys, 0, sizeof g_heldKeys);
    if (g_visible) PushActivate(focused);
    return false;
}

EM_BOOL OnVisibility(int /*type*/, const EmscriptenVisibilityChangeEvent* e, void* /*user*/) {
    const bool visible = !e->hidden;
    if (visible == g_visible) return false;
    g_visible = visible;
    // A hidden tab is a window in the background: it pauses like focus loss.
    if (g_focused) PushActivate(visible);
    return false;
}

EM_BOOL OnResize(int /*type*/, const EmscriptenUiEvent* /*e*/, void* /*user*/) {
    FitCanvas();
    return false;
}

EM_BOOL OnFullscreen(int /*type*/, const EmscriptenFullscreenChangeEvent* /*e*/, void* /*user*/) {
    FitCanvas();
    return false;
}

}  // namespace

bool LiveInput() {
    return g_live;
}

bool PageActive() {
    return g_focused && g_visible;
}

bool SteppedClock() {
    return g_stepped;
}

void UseSteppedClock(bool stepped) {
    g_stepped = stepped;
    g_steppedNow = 0.0;
}

void SetLiveInput(bool live) {
    g_live = live;
    if (!live) std::memset(g_heldKeys, 0, sizeof g_heldKeys);
}

// clang-format off
EM_JS(void, ToggleFullscreenJs, (), {
    var area = document.getElementById('game') || document.getElementById('canvas');
    if (document.fullscreenElement || document.webkitFullscreenElement) {
        (document.exitFullscreen || document.webkitExitFullscreen).call(document);
    } else if (area.requestFullscreen) {
        area.requestFullscreen().catch(function() {});
    } else if (area.webkitRequestFullscreen) {
        area.webkitRequestFullscreen();
    }
});
// clang-format on

void ToggleFullscreen() {
    ToggleFullscreenJs();
}

void CanvasPixels(int* width, int* height) {
    emscripten_get_canvas_element_size(CANVAS, width, height);
}

void FitCanvas() {
    double cssW = 0, cssH = 0;
    emscripten_get_element_css_size(CANVAS, &cssW, &cssH);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int w = static_cast<int>(cssW * ratio + 0.5), h = static_cast<int>(cssH * ratio + 0.5);
    int nowW = 0, nowH = 0;
    CanvasPixels(&nowW, &nowH);
    if (w > 0 && h > 0 && (w != nowW || h != nowH)) {
        emscripten_set_canvas_element_size(CANVAS, w, h);
        PresentAgain();
    }
}

}  // namespace web

bool DisplayExpected(std::string* /*why*/) {
    return true;
}

WindowResult CreateGameWindow(const char* /*title*/, int /*width*/, int /*height*/,
                              std::string* /*why*/) {
    web::g_pending.clear();
    web::g_clockStart = emscripten_get_now();
    web::g_steppedNow = 0.0;
    std::memset(web::g_heldKeys, 0, sizeof web::g_heldKeys);
    static bool installed = false;
    if (!installed) {
        installed = true;
        const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
        emscripten_set_keydown_callback(window, nullptr, true, web::OnKey);
        emscripten_set_keyup_callback(window, nullptr, true, web::OnKey);
        // Not captured: the window's own focus, not that of the elements inside it.
        emscripten_set_focus_callback(window, nullptr, false, web::OnFocus);
        emscripten_set_blur_callback(window, nullptr, false, web::OnFocus);
        emscripten_set_visibilitychange_callback(nullptr, true, web::OnVisibility);
        emscripten_set_resize_callback(window, nullptr, false, web::OnResize);
        emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, false,
                                                 web::OnFullscreen);
        emscripten_set_mousedown_callback(web::CANVAS, nullptr, false, web::OnMouse);
        emscripten_set_mousemove_callback(web::CANVAS, nullptr, false, web::OnMouse);
        web::InstallTouch();
    }
    EmscriptenVisibilityChangeEvent visibility;
    if (emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS) {
        web::g_visible = !visibility.hidden;
    }
    // Showing the window activates it, as on the desktop (and in the runner: a traced replay
    // has it too).
    Event activate{EventType::Activate};
    activate.active = true;
    web::g_pending.push_back(activate);
    return WindowResult::Ok;
}

void DestroyGameWindow() {
    web::g_pending.clear();
}

bool PeekEvent(Event* out) {
    if (web::g_pending.empty()) return false;
    *out = web::g_pending.front();
    web::g_pending.pop_front();
    return true;
}

// clang-format off
EM_JS(void, ShowOnPage, (const char* text), {
    if (Module.showMessage) Module.showMessage(UTF8ToString(text));
});
// clang-format on

void ShowMessageBox(const char* text, const char* caption, bool /*errorIcon*/) {
    std::fprintf(stderr, "%s%s%s\n", caption != nullptr ? caption : "",
                 caption != nullptr && caption[0] != '\0' ? ": " : "", text);
    ShowOnPage(text);
}

// The page's one thread must never block: a wait is the next animation frame's business.
void SleepMs(int /*ms*/) {}

double ClockMs() {
    if (web::g_stepped) return web::g_steppedNow;
    return emscripten_get_now() - web::g_clockStart;
}

void WaitUntilMs(double ms) {
    if (web::g_stepped && ms > web::g_steppedNow) web::g_steppedNow = ms;
}

}  // namespace plat
