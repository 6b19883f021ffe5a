#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/input.h"

namespace plat {

namespace {

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
};
std::vector<Pad> g_pads;
int g_seenDevices = -1;

// A quarter of the stick's throw does nothing; past it, the stick's angle picks one of eight
// directions, so a push to the right that drifts a little up is still just right.
constexpr double DEAD_ZONE = 0.25;
constexpr double DIAGONAL = 0.3826834;  // sin 22.5 degrees: the edge between two directions

// Opens pads that came and closes pads that went.
void SyncPads() {
    bool lost = false;
    for (auto it = g_pads.begin(); it != g_pads.end();) {
        if (SDL_GameControllerGetAttached(it->controller)) {
            ++it;
            continue;
        }
        SDL_GameControllerClose(it->controller);
        it = g_pads.erase(it);
        lost = true;
    }
    const int devices = SDL_NumJoysticks();
    if (devices == g_seenDevices && !lost) return;
    g_seenDevices = devices;
    for (int i = 0; i < devices; ++i) {
        if (!SDL_IsGameController(i)) continue;
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        const bool open = std::any_of(g_pads.begin(), g_pads.end(),
                                      [id](const Pad& pad) { return pad.id == id; });
        if (open) continue;
        if (SDL_GameController* controller = SDL_GameControllerOpen(i)) {
            g_pads.push_back({controller, id});
        }
    }
}

// A stick's direction, as the arrows: past the dead zone, the angle picks one of eight.
uint32_t StickDirections(SDL_GameController* c, SDL_GameControllerAxis ax,
                         SDL_GameControllerAxis ay, int first) {
    const double x = SDL_GameControllerGetAxis(c, ax) / 32767.0;
    const double y = SDL_GameControllerGetAxis(c, ay) / 32767.0;
    const double length = std::sqrt(x * x + y * y);
    if (length <= DEAD_ZONE) return 0;
    uint32_t held = 0;  // first is the stick's left, then right, up, down
    if (x < -length * DIAGONAL) held |= PadBit(first);
    if (x > length * DIAGONAL) held |= PadBit(first + 1);
    if (y < -length * DIAGONAL) held |= PadBit(first + 2);
    if (y > length * DIAGONAL) held |= PadBit(first + 3);
    return held;
}

uint32_t Controls(SDL_GameController* c) {
    // PADC_SOUTH to PADC_PADDLE4 are SDL's buttons A to PADDLE4, in SDL's order.
    static_assert(int{PADC_PADDLE4} == int{SDL_CONTROLLER_BUTTON_PADDLE4});
    uint32_t held = 0;
    for (int b = 0; b <= SDL_CONTROLLER_BUTTON_PADDLE4; ++b) {
        if (SDL_GameControllerGetButton(c, static_cast<SDL_GameControllerButton>(b)) != 0) {
            held |= PadBit(b);
        }
    }
    held |=
        StickDirections(c, SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY, PADC_STICK_LEFT);
    held |= StickDirections(c, SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY,
                            PADC_RIGHT_STICK_LEFT);
    if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERLEFT) / 32767.0 > DEAD_ZONE) {
        held |= PadBit(PADC_LEFT_TRIGGER);
    }
    if (SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) / 32767.0 > DEAD_ZONE) {
        held |= PadBit(PADC_RIGHT_TRIGGER);
    }
    return held;
}

}  // namespace

uint32_t ReadPadControls() {
    // Only where the program started the controller service: the headless runner never does,
    // so a pad on the machine cannot change its runs.
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) {
        g_pads.clear();  // closed by SDL with the service
        g_seenDevices = -1;
        return 0;
    }
    SDL_GameControllerUpdate();
    SyncPads();
    uint32_t held = 0;
    for (const Pad& pad : g_pads) held |= Controls(pad.controller);
    return held;
}

uint8_t ReadPads() {
    static const struct {
        uint32_t controls;
        uint8_t bit;
    } PAD_KEYS[] = {
        {PadBit(PADC_DPAD_LEFT) | PadBit(PADC_STICK_LEFT), PAD_LEFT},
        {PadBit(PADC_DPAD_RIGHT) | PadBit(PADC_STICK_RIGHT), PAD_RIGHT},
        {PadBit(PADC_DPAD_UP) | PadBit(PADC_STICK_UP), PAD_UP},
        {PadBit(PADC_DPAD_DOWN) | PadBit(PADC_STICK_DOWN), PAD_DOWN},
        {PadBit(PADC_SOUTH) | PadBit(PADC_WEST), PAD_FIRE},
        {PadBit(PADC_START), PAD_START},
    };
    const uint32_t held = ReadPadControls();
    uint8_t pads = 0;
    for (const auto& key : PAD_KEYS) {
        if (held & key.controls) pads |= key.bit;
    }
    return pads;
}

}  // namespace plat
