#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/common/stick.h"
#include "platform/input.h"

namespace plat {

namespace {

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
};
std::vector<Pad> g_pads;
int g_seenDevices = -1;

// A trigger counts past a quarter of its travel, as a stick past a quarter of its throw.
constexpr double DEAD_ZONE = 0.25;

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

uint32_t Controls(SDL_GameController* c) {
    // PADC_SOUTH to PADC_PADDLE4 are SDL's buttons A to PADDLE4, in SDL's order.
    static_assert(int{PADC_PADDLE4} == int{SDL_CONTROLLER_BUTTON_PADDLE4});
    uint32_t held = 0;
    for (int b = 0; b <= SDL_CONTROLLER_BUTTON_PADDLE4; ++b) {
        if (SDL_GameControllerGetButton(c, static_cast<SDL_GameControllerButton>(b)) != 0) {
            held |= PadBit(b);
        }
    }
    auto axis = [c](SDL_GameControllerAxis a) { return SDL_GameControllerGetAxis(c, a) / 32767.0; };
    held |= common::StickControls(axis(SDL_CONTROLLER_AXIS_LEFTX), axis(SDL_CONTROLLER_AXIS_LEFTY),
                                  PADC_STICK_LEFT);
    held |= common::StickControls(axis(SDL_CONTROLLER_AXIS_RIGHTX),
                                  axis(SDL_CONTROLLER_AXIS_RIGHTY), PADC_RIGHT_STICK_LEFT);
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
    return common::PadsFromControls(ReadPadControls());
}

}  // namespace plat
