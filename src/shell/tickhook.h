// Lets a program watch the game tick by tick (recording, tracing), or play its keys from a
// recording: one path for the game's replay, the runner and the page.
#pragma once

#include <cstdint>
#include <vector>

class TickHook {
public:
    virtual ~TickHook() = default;
    // Start-up is done; no tick has run.
    virtual void Started() {}
    // The tick's update and collision passes are done.
    virtual void AfterTick(int64_t /*tick*/) {}
    // Escape or F1 was acted on; it counts for the tick that runs next.
    virtual void KeyDown(int /*vk*/, int64_t /*tick*/) {}
    // The loop is over; `ticks` ran.
    virtual void Finished(int64_t /*ticks*/) {}
};

// Hooks are called in the order they were added; the caller keeps them alive until StopGame.
void AddTickHook(TickHook* hook);
void ClearTickHooks();

// The keys of the ticks a recording holds. Each due tick up to LastTick takes its keys from here
// instead of the devices, and its key-downs go to the window procedure before it runs (so a
// replayed Escape ends the run before its tick); from then on the player's keys count again.
class KeyFeed {
public:
    virtual ~KeyFeed() = default;
    virtual int64_t LastTick() const = 0;
    // The snapshot tick `tick` holds and its key-downs (virtual-key codes), in order.
    virtual void Feed(int64_t tick, uint8_t keys[256], std::vector<int>* keyDowns) = 0;
};
// nullptr: the devices drive the game. The caller keeps the feed alive until StopGame.
void SetKeyFeed(KeyFeed* feed);

// For the main loop.
void NotifyStarted();
// The next tick's keys and key-downs from the feed; false when the devices drive it.
bool FedTick(uint8_t keys[256], std::vector<int>* keyDowns);
void NotifyTickDone();
void NotifyKeyDown(int vk);
// False while a recording plays the game: then only its F1s switch the display.
bool LiveKeysDriveTheGame();
void NotifyFinished();
int64_t TicksRun();
