// Where the player's desk (settings, pause, screenshots, a menu) plugs into the loop. It sees
// every window event before the shell does, may hold the game still, and turns the devices into
// the keys the game reads; without one the shell runs the plain game, as the runner and most
// tests do.
#pragma once

#include <cstdint>

#include "platform/window.h"

class DeskHook {
public:
    virtual ~DeskHook() = default;
    // Start-up is done (window, renderer, sound): the desk's settings take effect.
    virtual void Started() {}
    // Before the shell acts on an event; true when the desk has taken it (the shell then does
    // nothing more with it).
    virtual bool TakeEvent(const plat::Event& /*event*/) { return false; }
    // F1: window and full screen change places.
    virtual void SwitchFullscreen();
    // Every pass, the snapshot the next tick reads (DirectInput layout, 0x80 held), as
    // ReadKeyboard makes it: the plain desk passes the keyboard on with the pads added.
    virtual bool ReadKeys(uint8_t keys[256]);
    // The frame clock's period from start-up on; the desk starts the clock again itself when
    // it changes the period.
    virtual double FramePeriod() const;
    // While true no tick runs and each pass calls HeldPass instead (pause, a menu).
    virtual bool Holding() const { return false; }
    virtual void HeldPass() {}
    // After the tasks have drawn a frame: what the desk adds to the picture.
    virtual void DrawOver() {}
};

// nullptr puts back the plain desk. The caller keeps its desk alive until StopGame.
void SetDesk(DeskHook* desk);
DeskHook& Desk();
