#include "platform/window.h"

#include <cstdio>
#include <deque>

#include "platform/clock.h"
#include "platform/headless/headless.h"

namespace plat {
namespace {

std::deque<Event> g_pending;
double g_clock = 0.0;

}  // namespace

bool DisplayExpected(std::string* /*why*/) {
    return true;
}

WindowResult CreateGameWindow(const char* /*title*/, int /*width*/, int /*height*/,
                              std::string* /*why*/) {
    g_clock = 0.0;  // the clock counts from the window's making, as the real one does
    Event activate{EventType::Activate};
    activate.active = true;
    g_pending.push_back(activate);
    return WindowResult::Ok;
}

void DestroyGameWindow() {
    g_pending.clear();
}

bool PeekEvent(Event* out) {
    if (g_pending.empty()) return false;
    *out = g_pending.front();
    g_pending.pop_front();
    return true;
}

void ShowMessageBox(const char* text, const char* caption, bool /*errorIcon*/) {
    std::fprintf(stderr, "%s%s%s\n", caption != nullptr ? caption : "",
                 caption != nullptr && caption[0] != '\0' ? ": " : "", text);
}

void SleepMs(int /*ms*/) {}

double ClockMs() {
    return g_clock;
}

void WaitUntilMs(double ms) {
    if (ms > g_clock) headless::SetClock(ms);
}

namespace headless {

void SetClock(double ms) {
    g_clock = ms;
    ClockMoved();
}
void AdvanceClock(double ms) {
    g_clock += ms;
    ClockMoved();
}
void PushEvent(const Event& event) {
    g_pending.push_back(event);
}

}  // namespace headless
}  // namespace plat
