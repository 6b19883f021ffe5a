#include "shell/desk.h"

#include "shell/graphics.h"

namespace {

DeskHook g_plainDesk;
DeskHook* g_desk = &g_plainDesk;

}  // namespace

void DeskHook::SwitchFullscreen() {
    ToggleFullscreen();
}

void SetDesk(DeskHook* desk) {
    g_desk = desk != nullptr ? desk : &g_plainDesk;
}

DeskHook& Desk() {
    return *g_desk;
}
