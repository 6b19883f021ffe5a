// The player's desk around the game: pause, mute, full screen and the window's size kept in the
// settings, screenshots. None of them changes a rule: a paused interval is not a tick.
#pragma once

#include "app/settings.h"
#include "shell/desk.h"

class PlayerDesk final : public DeskHook {
public:
    // Plays with `settings` (the kept ones with this run's options); the player's changes go to
    // `kept`, which the desk does not own. stdoutTaken: stdout carries the trace (--trace -).
    PlayerDesk(const Settings& settings, KeptSettings* kept, bool stdoutTaken = false);

    void Started() override;
    // P or Pause, M and F12 (their repeats ignored), focus changes, resizing.
    bool TakeEvent(const plat::Event& event) override;
    void SwitchFullscreen() override;
    bool Holding() const override { return paused_; }
    // The last picture dimmed with "PAUSED" over it, shown again now and then (the window may
    // have been uncovered or resized).
    void HeldPass() override;

    // No tick runs while paused, and sound holds; resuming starts the frame clock afresh.
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    // The player's change made outside the game (the page's own controls): played and kept.
    void Adopt(const Settings& settings);
    const Settings& Current() const { return settings_; }

private:
    void ApplySound();
    // The player's change: this run plays with it and the file keeps it. `apply` sets values,
    // it does not flip them, since the run's settings may differ from the kept ones.
    template <class F>
    void Change(F apply);

    Settings settings_;
    KeptSettings* kept_;
    bool stdoutTaken_;
    bool paused_ = false;
    double lastPaint_ = -1e9;
};
