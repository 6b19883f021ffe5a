#include "shell/tickhook.h"

namespace {

std::vector<TickHook*> g_hooks;
KeyFeed* g_feed = nullptr;
int64_t g_ticks = 0;

}  // namespace

void AddTickHook(TickHook* hook) {
    g_hooks.push_back(hook);
}

void ClearTickHooks() {
    g_hooks.clear();
    g_feed = nullptr;
    g_ticks = 0;
}

void SetKeyFeed(KeyFeed* feed) {
    g_feed = feed;
}

void NotifyStarted() {
    g_ticks = 0;
    for (TickHook* hook : g_hooks) hook->Started();
}

bool FedTick(uint8_t keys[256], std::vector<int>* keyDowns) {
    keyDowns->clear();
    if (g_feed == nullptr || g_ticks + 1 > g_feed->LastTick()) return false;
    g_feed->Feed(g_ticks + 1, keys, keyDowns);
    return true;
}

void NotifyTickDone() {
    ++g_ticks;
    for (TickHook* hook : g_hooks) hook->AfterTick(g_ticks);
}

void NotifyKeyDown(int vk) {
    for (TickHook* hook : g_hooks) hook->KeyDown(vk, g_ticks + 1);
}

bool LiveKeysDriveTheGame() {
    return g_feed == nullptr || g_ticks >= g_feed->LastTick();
}

void NotifyFinished() {
    for (TickHook* hook : g_hooks) hook->Finished(g_ticks);
}

int64_t TicksRun() {
    return g_ticks;
}
