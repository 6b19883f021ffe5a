// The page's keyboard (kept by the key events), game pads through the Gamepad API, and the
// touch controls.
#include "platform/input.h"

#include <emscripten/html5.h>

#include <cstring>
#include <vector>

#include "platform/common/stick.h"
#include "platform/common/touchpad.h"
#include "platform/renderer.h"
#include "platform/web/backend.h"
#include "platform/web/web.h"

namespace plat {
namespace web {
namespace {

struct Touch {
    long id;
    common::TouchZone zone;
    float x, y;  // canvas pixels
};
std::vector<Touch> g_touches;
bool g_touchScreen = false;

common::TouchLayout LayoutNow() {
    int w = 0, h = 0;
    CanvasPixels(&w, &h);
    return common::LayOutTouch(w, h, FitPicture(w, h, 800, 600, false));
}

EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* e, void* /*user*/) {
    g_touchScreen = true;
    if (type == EMSCRIPTEN_EVENT_TOUCHEND) GestureSeen();
    if (!LiveInput()) return true;
    const double ratio = emscripten_get_device_pixel_ratio();
    const common::TouchLayout layout = LayoutNow();
    for (int i = 0; i < e->numTouches; ++i) {
        const EmscriptenTouchPoint& point = e->touches[i];
        if (!point.isChanged) continue;
        const float x = static_cast<float>(point.targetX * ratio);
        const float y = static_cast<float>(point.targetY * ratio);
        auto it = g_touches.begin();
        while (it != g_touches.end() && it->id != point.identifier) ++it;
        if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
            if (it == g_touches.end()) {
                g_touches.push_back({point.identifier, common::ZoneAt(layout, x, y), x, y});
            }
        } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) {
            if (it != g_touches.end()) {
                it->x = x;
                it->y = y;
            }
        } else if (it != g_touches.end()) {
            g_touches.erase(it);
        }
    }
    return true;  // no scrolling, zooming or mouse clicks made up from the touches
}

uint8_t HeldBy(const common::TouchLayout& layout, float* stickX, float* stickY) {
    uint8_t held = 0;
    for (const Touch& touch : g_touches) {
        switch (touch.zone) {
            case common::TouchZone::Stick:
                held |= common::StickTouch(layout, touch.x, touch.y);
                if (stickX != nullptr) *stickX = touch.x;
                if (stickY != nullptr) *stickY = touch.y;
                break;
            case common::TouchZone::Fire: held |= PAD_FIRE; break;
            case common::TouchZone::Start: held |= PAD_START; break;
            case common::TouchZone::None: break;
        }
    }
    return held;
}

// The "standard" mapping's buttons and axes, which every browser gives a pad it knows.
enum {
    STD_A = 0,
    STD_X = 2,
    STD_START = 9,
    STD_UP = 12,
    STD_DOWN = 13,
    STD_LEFT = 14,
    STD_RIGHT = 15,
};

uint8_t PadsHeld() {
    // Polled every pass: browsers miss connect events after a reload until a button is pressed.
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return 0;
    uint8_t held = 0;
    const int count = emscripten_get_num_gamepads();
    for (int i = 0; i < count; ++i) {
        EmscriptenGamepadEvent pad;
        if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS) continue;
        if (!pad.connected || std::strcmp(pad.mapping, "standard") != 0) continue;
        auto button = [&pad](int b) { return b < pad.numButtons && pad.digitalButton[b]; };
        if (button(STD_LEFT)) held |= PAD_LEFT;
        if (button(STD_RIGHT)) held |= PAD_RIGHT;
        if (button(STD_UP)) held |= PAD_UP;
        if (button(STD_DOWN)) held |= PAD_DOWN;
        if (button(STD_A) || button(STD_X)) held |= PAD_FIRE;
        if (button(STD_START)) held |= PAD_START;
        if (pad.numAxes >= 2) held |= common::StickPads(pad.axis[0], pad.axis[1]);
    }
    return held;
}

}  // namespace

void InstallTouch() {
    emscripten_set_touchstart_callback(CANVAS, nullptr, false, OnTouch);
    emscripten_set_touchmove_callback(CANVAS, nullptr, false, OnTouch);
    emscripten_set_touchend_callback(CANVAS, nullptr, false, OnTouch);
    emscripten_set_touchcancel_callback(CANVAS, nullptr, false, OnTouch);
    g_touchScreen = EM_ASM_INT({ return navigator.maxTouchPoints > 0 ? 1 : 0; }) != 0;
}

uint8_t TouchPads() {
    if (g_touches.empty()) return 0;
    return HeldBy(LayoutNow(), nullptr, nullptr);
}

bool TouchControls(common::TouchLayout* layout, uint8_t* held, float* stickX, float* stickY) {
    if (!g_touchScreen || !LiveInput()) return false;
    *layout = LayoutNow();
    *stickX = layout->stick.x;
    *stickY = layout->stick.y;
    *held = HeldBy(*layout, stickX, stickY);
    return true;
}

}  // namespace web

bool ReadKeyboardState(uint8_t keys[256]) {
    if (!web::LiveInput()) {
        std::memset(keys, 0, 256);
        return true;
    }
    // The keys of a page in the background do not reach the game.
    if (!web::PageActive()) return false;
    std::memcpy(keys, web::g_heldKeys, 256);
    return true;
}

bool ReadMouseState(int32_t* dx, int32_t* dy, int32_t* dz, uint8_t buttons[4]) {
    *dx = *dy = *dz = 0;
    std::memset(buttons, 0, 4);
    return true;
}

int OpenJoysticks(int /*maxCount*/) {
    return 0;
}
void CloseJoysticks() {}
bool ReadJoystick(int /*index*/, JoyReading* /*out*/) {
    return false;
}

uint8_t ReadPads() {
    if (!web::LiveInput() || !web::PageActive()) return 0;
    return web::PadsHeld() | web::TouchPads();
}

}  // namespace plat
