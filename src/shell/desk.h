// Where the player's desk (settings, pause, screenshots, a menu) plugs into the loop. It sees
// every window event before the shell does and may hold the game still; without one the shell
// runs the plain game, as the runner and most tests do.
#pragma once

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
    // While true no tick runs and each pass calls HeldPass instead (pause, a menu).
    virtual bool Holding() const { return false; }
    virtual void HeldPass() {}
};

// nullptr puts back the plain desk. The caller keeps its desk alive until StopGame.
void SetDesk(DeskHook* desk);
DeskHook& Desk();
