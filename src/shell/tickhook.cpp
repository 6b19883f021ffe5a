#include "shell/tickhook.h"

#include <vector>

#include "shell/dxmain.h"

namespace {

std::vector<TickHook*> g_hooks;
int64_t g_ticks = 0;

}  // namespace

void AddTickHook(TickHook* hook) {
    g_hooks.push_back(hook);
}

void ClearTickHooks() {
    g_hooks.clear();
    g_ticks = 0;
}

bool BeginTick() {
    for (TickHook* hook : g_hooks) hook->BeforeTick(g_ticks + 1);
    return !g_quit;
}

void EndTick() {
    ++g_ticks;
    for (TickHook* hook : g_hooks) hook->AfterTick(g_ticks);
}

void NotifyKeyDown(int vk) {
    for (TickHook* hook : g_hooks) hook->KeyDown(vk, g_ticks + 1);
}

bool LiveKeysDriveTheGame() {
    for (const TickHook* hook : g_hooks) {
        if (!hook->TakesLiveKeys()) return false;
    }
    return true;
}

void NotifyStarted() {
    g_ticks = 0;
    for (TickHook* hook : g_hooks) hook->Started();
}

void NotifyFinished() {
    for (TickHook* hook : g_hooks) hook->Finished(g_ticks);
}

int64_t TicksRun() {
    return g_ticks;
}
