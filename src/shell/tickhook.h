// Lets the program watch or drive the game tick by tick: recording, replaying, tracing.
#pragma once

#include <cstdint>

class TickHook {
public:
    virtual ~TickHook() = default;
    // Start-up is done; no tick has run.
    virtual void Started() {}
    // Tick `tick` is due and g_keys holds what it will read: a hook may replace the keys and
    // deliver the tick's key-downs through WndProc (a quit then ends the run before the tick).
    virtual void BeforeTick(int64_t /*tick*/) {}
    // The tick's update and collision passes are done.
    virtual void AfterTick(int64_t /*tick*/) {}
    // Escape or F1 was acted on; it counts for the tick that runs next.
    virtual void KeyDown(int /*vk*/, int64_t /*tick*/) {}
    // False while the game plays from a script: the live keys and pads do not drive it.
    virtual bool TakesLiveKeys() const { return true; }
    // The loop is over; `ticks` ran.
    virtual void Finished(int64_t /*ticks*/) {}
};

// Hooks are called in the order they were added; the caller keeps them alive until ShutDown.
void AddTickHook(TickHook* hook);
void ClearTickHooks();

// For the main loop: false when a hook ended the run before the tick.
bool BeginTick();
void EndTick();
void NotifyKeyDown(int vk);
bool LiveKeysDriveTheGame();
void NotifyStarted();
void NotifyFinished();
int64_t TicksRun();
