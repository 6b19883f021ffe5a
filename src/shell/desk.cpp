#include "shell/desk.h"

#include "shell/frameclock.h"
#include "shell/graphics.h"
#include "shell/input.h"

namespace {

DeskHook g_plainDesk;
DeskHook* g_desk = &g_plainDesk;

}  // namespace

void DeskHook::SwitchFullscreen() {
    ToggleFullscreen();
}

bool DeskHook::ReadKeys(uint8_t keys[256]) {
    return ReadKeyboard(keys);
}

double DeskHook::FramePeriod() const {
    return FRAME_PERIOD;
}

void SetDesk(DeskHook* desk) {
    g_desk = desk != nullptr ? desk : &g_plainDesk;
}

DeskHook& Desk() {
    return *g_desk;
}
