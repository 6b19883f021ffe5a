#include "app/desk.h"

#include "app/caption.h"
#include "app/screenshot.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/renderer.h"
#include "shell/frameclock.h"
#include "shell/graphics.h"

namespace {

constexpr double REPAINT_MS = 100.0;
constexpr uint32_t SHADE = 0xA0000000;

}  // namespace

PlayerDesk::PlayerDesk(const Settings& settings, KeptSettings* kept, bool stdoutTaken)
    : settings_(settings), kept_(kept), stdoutTaken_(stdoutTaken) {}

template <class F>
void PlayerDesk::Change(F apply) {
    apply(settings_);
    if (kept_ == nullptr) return;
    Settings kept = kept_->Values();
    apply(kept);
    kept_->Keep(kept);
}

void PlayerDesk::ApplySound() {
    plat::SetMasterVolume(static_cast<float>(settings_.volume) / 100.0f);
    plat::SetMuted(settings_.mute);
}

void PlayerDesk::Started() {
    paused_ = false;
    plat::SetIntegerScale(settings_.integerScale);
    if (settings_.fullscreen && g_windowed) ToggleFullscreen();
    ApplySound();
}

void PlayerDesk::SetPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    plat::SetPaused(paused);
    if (paused) {
        lastPaint_ = -1e9;  // shown at once
    } else {
        StartFrameClock();  // the paused time is not owed: no burst of ticks follows
    }
}

bool PlayerDesk::TakeEvent(const plat::Event& event) {
    switch (event.type) {
        case plat::EventType::Activate:
            if (!event.active && settings_.pauseOnFocusLoss) SetPaused(true);
            return false;  // the shell makes the input devices anew
        case plat::EventType::Resized:
            Change([&](Settings& s) {
                s.windowWidth = event.x;
                s.windowHeight = event.y;
            });
            lastPaint_ = -1e9;
            return true;
        case plat::EventType::KeyDown: break;
        default: return false;
    }
    const int key = event.key & 0xFF;
    if (key != plat::VK_P && key != plat::VK_PAUSE && key != plat::VK_M && key != plat::VK_F12) {
        return false;
    }
    if (event.repeat) return true;
    if (key == plat::VK_P || key == plat::VK_PAUSE) SetPaused(!paused_);
    if (key == plat::VK_M) {
        const bool mute = !settings_.mute;
        Change([&](Settings& s) { s.mute = mute; });
        ApplySound();
    }
    if (key == plat::VK_F12) SaveScreenshot(stdoutTaken_);
    return true;
}

void PlayerDesk::Adopt(const Settings& settings) {
    Change([&](Settings& s) { s = settings; });
    plat::SetIntegerScale(settings_.integerScale);
    ApplySound();
}

void PlayerDesk::SwitchFullscreen() {
    ToggleFullscreen();
    Change([](Settings& s) { s.fullscreen = g_windowed == 0; });
    lastPaint_ = -1e9;
}

void PlayerDesk::HeldPass() {
    const double now = plat::ClockMs();
    if (now - lastPaint_ < REPAINT_MS) return;
    lastPaint_ = now;
    const auto& caption = PausedCaption();
    plat::PresentOverlay(SHADE, caption.data(), static_cast<int>(caption.size()));
}
