// SDL's virtual joystick as a pad plugged into the machine, for the tests of controllers.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

// A pad with every standard button and axis, plugged in for the test's lifetime or until
// pulled out.
class VirtualPad {
public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        stick_ = SDL_JoystickOpen(index);
        EXPECT_NE(stick_, nullptr) << SDL_GetError();
        id_ = SDL_JoystickInstanceID(stick_);
    }
    ~VirtualPad() { Unplug(); }
    void Press(SDL_GameControllerButton b, bool down = true) {
        SDL_JoystickSetVirtualButton(stick_, b, down ? 1 : 0);
    }
    void Release() {
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            SDL_JoystickSetVirtualButton(stick_, b, 0);
        Stick(0, 0);
    }
    void Stick(double x, double y) {
        SDL_JoystickSetVirtualAxis(stick_, SDL_CONTROLLER_AXIS_LEFTX,
                                   static_cast<Sint16>(x * 32767));
        SDL_JoystickSetVirtualAxis(stick_, SDL_CONTROLLER_AXIS_LEFTY,
                                   static_cast<Sint16>(y * 32767));
    }
    void Unplug() {
        if (stick_ == nullptr) return;
        SDL_JoystickClose(stick_);
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id_) SDL_JoystickDetachVirtual(i);
        }
        stick_ = nullptr;
    }

private:
    SDL_Joystick* stick_ = nullptr;
    SDL_JoystickID id_ = -1;
};
