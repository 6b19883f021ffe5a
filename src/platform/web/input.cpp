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

// The "standard" mapping's buttons, which every browser gives a pad it knows, by the place of
// each control; its axes are the left stick's x and y, then the right stick's.
constexpr struct {
    int button;
    PadControl control;
} STANDARD_BUTTONS[] = {
    {0, PADC_SOUTH},
    {1, PADC_EAST},
    {2, PADC_WEST},
    {3, PADC_NORTH},
    {4, PADC_LEFT_SHOULDER},
    {5, PADC_RIGHT_SHOULDER},
    {8, PADC_BACK},
    {9, PADC_START},
    {10, PADC_LEFT_STICK_PRESS},
    {11, PADC_RIGHT_STICK_PRESS},
    {12, PADC_DPAD_UP},
    {13, PADC_DPAD_DOWN},
    {14, PADC_DPAD_LEFT},
    {15, PADC_DPAD_RIGHT},
    {16, PADC_GUIDE},
};
constexpr int STD_LEFT_TRIGGER = 6;
constexpr int STD_RIGHT_TRIGGER = 7;
constexpr double TRIGGER_PAST = 0.25;  // a quarter of its travel, as on the desktop

uint32_t PadControlsHeld() {
    // Polled every pass: browsers miss connect events after a reload until a button is pressed.
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return 0;
    uint32_t held = 0;
    const int count = emscripten_get_num_gamepads();
    for (int i = 0; i < count; ++i) {
        EmscriptenGamepadEvent pad;
        if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS) continue;
        if (!pad.connected || std::strcmp(pad.mapping, "standard") != 0) continue;
        for (const auto& b : STANDARD_BUTTONS) {
            if (b.button < pad.numButtons && pad.digitalButton[b.button]) held |= PadBit(b.control);
        }
        auto trigger = [&pad](int b) {
            return b < pad.numButtons && pad.analogButton[b] > TRIGGER_PAST;
        };
        if (trigger(STD_LEFT_TRIGGER)) held |= PadBit(PADC_LEFT_TRIGGER);
        if (trigger(STD_RIGHT_TRIGGER)) held |= PadBit(PADC_RIGHT_TRIGGER);
        if (pad.numAxes >= 2)
            held |= common::StickControls(pad.axis[0], pad.axis[1], PADC_STICK_LEFT);
        if (pad.numAxes >= 4) {
            held |= common::StickControls(pad.axis[2], pad.axis[3], PADC_RIGHT_STICK_LEFT);
        }
    }
    return held;
}

// The touch controls as a pad's: the stick as the left stick, fire as South, start as Start.
uint32_t TouchControlsHeld() {
    if (g_touches.empty()) return 0;
    const uint8_t pads = HeldBy(LayoutNow(), nullptr, nullptr);
    constexpr struct {
        uint8_t pad;
        PadControl control;
    } AS[] = {{PAD_LEFT, PADC_STICK_LEFT}, {PAD_RIGHT, PADC_STICK_RIGHT}, {PAD_UP, PADC_STICK_UP},
              {PAD_DOWN, PADC_STICK_DOWN}, {PAD_FIRE, PADC_SOUTH},        {PAD_START, PADC_START}};
    uint32_t held = 0;
    for (const auto& a : AS) {
        if (pads & a.pad) held |= PadBit(a.control);
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

uint32_t ReadPadControls() {
    if (!web::LiveInput() || !web::PageActive()) return 0;
    return web::PadControlsHeld() | web::TouchControlsHeld();
}

uint8_t ReadPads() {
    return common::PadsFromControls(ReadPadControls());
}

}  // namespace plat
