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

uint8_t Held(SDL_GameController* c) {
    auto button = [c](SDL_GameControllerButton b) {
        return SDL_GameControllerGetButton(c, b) != 0;
    };
    uint8_t held = 0;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) held |= PAD_LEFT;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) held |= PAD_RIGHT;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_UP)) held |= PAD_UP;
    if (button(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) held |= PAD_DOWN;
    if (button(SDL_CONTROLLER_BUTTON_A) || button(SDL_CONTROLLER_BUTTON_X)) held |= PAD_FIRE;
    if (button(SDL_CONTROLLER_BUTTON_START)) held |= PAD_START;
    const double x = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX) / 32767.0;
    const double y = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY) / 32767.0;
    return held | common::StickPads(x, y);
}

}  // namespace

uint8_t ReadPads() {
    // Only where the program started the controller service: the headless runner never does,
    // so a pad on the machine cannot change its runs.
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) {
        g_pads.clear();  // closed by SDL with the service
        g_seenDevices = -1;
        return 0;
    }
    SDL_GameControllerUpdate();
    SyncPads();
    uint8_t held = 0;
    for (const Pad& pad : g_pads) held |= Held(pad.controller);
    return held;
}

}  // namespace plat
