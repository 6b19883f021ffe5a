// The player's desk around the game: pause and its menu, mute, full screen and the window's size
// kept in the settings, the bindings and assists that make the game's snapshot, screenshots.
// None of them changes a rule: a paused interval is not a tick, and the game reads one snapshot
// whatever made it.
#pragma once

#include <cstdint>
#include <functional>

#include "app/menu.h"
#include "app/settings.h"
#include "shell/desk.h"

class PlayerDesk final : public DeskHook, private MenuHost {
public:
    // Plays with `settings` (the kept ones with this run's options); the player's changes go to
    // `kept`, which the desk does not own. stdoutTaken: stdout carries the trace (--trace -).
    PlayerDesk(const Settings& settings, KeptSettings* kept, bool stdoutTaken = false);

    void Started() override;
    // P or Pause, M and F12 (their repeats ignored), focus changes, resizing; while paused, the
    // menu's keys and the mouse.
    bool TakeEvent(const plat::Event& event) override;
    void SwitchFullscreen() override;
    // The bound keys and pad controls as the game's six keys, fire held by auto-fire in the
    // stage; a pad's Back opens the menu, and moves it while it is open.
    bool ReadKeys(uint8_t keys[256]) override;
    // Longer than the frame period by the game speed.
    double FramePeriod() const override;
    bool Holding() const override { return paused_; }
    // The last picture dimmed with the menu over it, shown again at once after a change and now
    // and then (the window may have been uncovered or resized).
    void HeldPass() override;
    // The mark of the assists that are on, in a corner of the picture.
    void DrawOver() override;

    // No tick runs while paused, and sound holds; resuming starts the frame clock afresh, and
    // what is held as it resumes counts once it has been let go.
    void SetPaused(bool paused);
    bool Paused() const { return paused_; }
    // The player's change made outside the game (the page's own controls): played and kept.
    void Adopt(const Settings& settings);
    const Settings& Current() const override { return settings_; }
    const Menu& OpenMenu() const { return menu_; }

private:
    void Adjust(const std::function<void(Settings&)>& apply) override;
    void Resume() override { SetPaused(false); }
    void Quit() override;
    bool MenuKeyDown(const plat::Event& event);
    void PadsPressed(uint32_t pads);
    void AutoFire(const uint8_t held[256], uint32_t pads, uint8_t keys[256]);
    void ApplySettings();
    // The player's change: this run plays with it and the file keeps it.
    void Change(const std::function<void(Settings&)>& apply);

    Settings settings_;
    KeptSettings* kept_;
    bool stdoutTaken_;
    bool paused_ = false;
    double lastPaint_ = -1e9;
    Menu menu_;
    uint8_t held_[256] = {};         // the keyboard at the last read
    uint32_t pads_ = 0;              // the pad controls at the last read
    uint8_t heldThrough_[256] = {};  // held since the pause began, never let go
    uint32_t padsThrough_ = 0;
    uint8_t swallowed_[256] = {};  // pressed in the menu: not counted until let go
    uint32_t swallowedPads_ = 0;
    double padRepeatAt_ = 0.0;  // when a pad direction held in the menu steps again
    bool fireHeld_ = false;     // fire's keys at the last read, for auto-fire's presses
    bool autoFiring_ = false;
};
