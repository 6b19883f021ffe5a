#include "app/desk.h"

#include <cstring>
#include <string>

#include "app/lettering.h"
#include "app/screenshot.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/renderer.h"
#include "shell/frameclock.h"
#include "shell/game.h"
#include "shell/graphics.h"
#include "shell/input.h"

namespace {

constexpr double REPAINT_MS = 100.0;
constexpr uint32_t SHADE = 0xA0000000;
// A pad direction held in the menu steps again after this, then at this pace.
constexpr double PAD_REPEAT_DELAY_MS = 400.0;
constexpr double PAD_REPEAT_MS = 130.0;
constexpr int MARK_X = 12;
constexpr int MARK_Y = 578;

// Keys the menu always answers to, whatever is bound.
constexpr uint8_t DIK_BACK = 0x0E, DIK_DELETE = 0xD3, DIK_NUMPADENTER = 0x9C;

using plat::PadBit;
constexpr uint32_t PAD_MENU_UP = PadBit(plat::PADC_DPAD_UP) | PadBit(plat::PADC_STICK_UP);
constexpr uint32_t PAD_MENU_DOWN = PadBit(plat::PADC_DPAD_DOWN) | PadBit(plat::PADC_STICK_DOWN);
constexpr uint32_t PAD_MENU_LEFT = PadBit(plat::PADC_DPAD_LEFT) | PadBit(plat::PADC_STICK_LEFT);
constexpr uint32_t PAD_MENU_RIGHT = PadBit(plat::PADC_DPAD_RIGHT) | PadBit(plat::PADC_STICK_RIGHT);

}  // namespace

PlayerDesk::PlayerDesk(const Settings& settings, KeptSettings* kept, bool stdoutTaken)
    : settings_(settings), kept_(kept), stdoutTaken_(stdoutTaken) {}

void PlayerDesk::Change(const std::function<void(Settings&)>& apply) {
    apply(settings_);
    if (kept_ == nullptr) return;
    Settings kept = kept_->Values();
    apply(kept);
    kept_->Keep(kept);
}

void PlayerDesk::Adjust(const std::function<void(Settings&)>& apply) {
    Change(apply);
    ApplySettings();
}

void PlayerDesk::ApplySettings() {
    plat::SetMasterVolume(static_cast<float>(settings_.volume) / 100.0f);
    plat::SetMuted(settings_.mute);
    plat::SetIntegerScale(settings_.integerScale);
}

void PlayerDesk::Quit() {
    PostQuitMessage();
}

void PlayerDesk::Started() {
    paused_ = false;
    autoFiring_ = false;
    if (settings_.fullscreen && g_windowed) ToggleFullscreen();
    ApplySettings();
}

double PlayerDesk::FramePeriod() const {
    // At 100 % exactly the period the game has always had.
    return double(FRAME_PERIOD) / (settings_.gameSpeed / 100.0);
}

void PlayerDesk::SetPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    plat::SetPaused(paused);
    if (paused) {
        menu_.Open();
        std::memcpy(heldThrough_, held_, sizeof heldThrough_);
        padsThrough_ = pads_;
        lastPaint_ = -1e9;  // shown at once
    } else {
        // A key or button pressed in the menu (the one that resumed, say) does not reach the
        // game; one held all through the pause goes on counting.
        for (int k = 0; k < 256; ++k) swallowed_[k] = held_[k] & ~heldThrough_[k];
        swallowedPads_ = pads_ & ~padsThrough_;
        StartFrameClock(FramePeriod());  // the paused time is not owed: no burst of ticks follows
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
        case plat::EventType::MouseMove: {
            int x = 0, y = 0;
            if (paused_ && plat::PictureFromWindow(event.x, event.y, &x, &y)) {
                const int before = menu_.Cursor();
                menu_.PointAt(x, y);
                if (menu_.Cursor() != before) lastPaint_ = -1e9;
            }
            return false;  // the shell keeps the cursor's place too
        }
        case plat::EventType::MouseDown: {
            if (!paused_) return false;
            int x = 0, y = 0;
            if (event.key == plat::VK_RBUTTON) {
                menu_.Press(MenuKey::Back, *this);
            } else if (plat::PictureFromWindow(event.x, event.y, &x, &y)) {
                menu_.Click(x, y, *this);
            }
            lastPaint_ = -1e9;
            return true;
        }
        case plat::EventType::KeyDown: break;
        default: return false;
    }
    if (paused_ && menu_.Waiting()) {
        // Every key goes to the binding: Escape cancels, the reserved ones are refused.
        if (!event.repeat) menu_.TakeKey(static_cast<uint8_t>(event.scan), *this);
        lastPaint_ = -1e9;
        return true;
    }
    const int key = event.key & 0xFF;
    const bool own =
        key == plat::VK_P || key == plat::VK_PAUSE || key == plat::VK_M || key == plat::VK_F12;
    if (!own) return paused_ && key != plat::VK_F1 && MenuKeyDown(event);
    if (event.repeat) return true;
    if (key == plat::VK_P || key == plat::VK_PAUSE) SetPaused(!paused_);
    if (key == plat::VK_M) {
        const bool mute = !settings_.mute;
        Adjust([&](Settings& s) { s.mute = mute; });
        lastPaint_ = -1e9;
    }
    if (key == plat::VK_F12) SaveScreenshot(stdoutTaken_);
    return true;
}

void PlayerDesk::Adopt(const Settings& settings) {
    Adjust([&](Settings& s) { s = settings; });
    lastPaint_ = -1e9;
}

bool PlayerDesk::MenuKeyDown(const plat::Event& event) {
    const uint8_t scan = static_cast<uint8_t>(event.scan);
    // The arrows step on while held; the rest act once a press.
    MenuKey action;
    if (scan == DIK_UP) {
        action = MenuKey::Up;
    } else if (scan == DIK_DOWN) {
        action = MenuKey::Down;
    } else if (scan == DIK_LEFT) {
        action = MenuKey::Left;
    } else if (scan == DIK_RIGHT) {
        action = MenuKey::Right;
    } else if (event.repeat) {
        return true;
    } else if (scan == DIK_RETURN || scan == DIK_SPACE || scan == DIK_NUMPADENTER) {
        action = MenuKey::Choose;
    } else if (scan == DIK_ESCAPE || scan == DIK_BACK) {
        action = MenuKey::Back;
    } else if (scan == DIK_DELETE) {
        action = MenuKey::ClearKeys;
    } else {
        // The player's own keys for the game's inputs move and choose too.
        uint8_t held[256] = {};
        held[scan] = KEY_HELD;
        const struct {
            int input;
            MenuKey action;
        } bound[] = {{INPUT_UP, MenuKey::Up},       {INPUT_DOWN, MenuKey::Down},
                     {INPUT_LEFT, MenuKey::Left},   {INPUT_RIGHT, MenuKey::Right},
                     {INPUT_FIRE, MenuKey::Choose}, {INPUT_START, MenuKey::Choose}};
        int found = -1;
        for (int i = 0; i < 6 && found < 0 && scan != 0; ++i) {
            if (InputHeld(settings_.bindings, bound[i].input, held, 0)) found = i;
        }
        if (found < 0) return true;
        action = bound[found].action;
    }
    menu_.Press(action, *this);
    lastPaint_ = -1e9;
    return true;
}

void PlayerDesk::SwitchFullscreen() {
    ToggleFullscreen();
    Change([](Settings& s) { s.fullscreen = g_windowed == 0; });
    lastPaint_ = -1e9;
}

void PlayerDesk::PadsPressed(uint32_t pads) {
    const uint32_t pressed = pads & ~pads_;
    if (!paused_) {
        if (pressed & PadBit(plat::PADC_BACK)) SetPaused(true);
        return;
    }
    if (menu_.Waiting()) {
        for (int control = 0; control < plat::PADC_COUNT; ++control) {
            if ((pressed & PadBit(control)) == 0) continue;
            menu_.TakePad(control, *this);
            lastPaint_ = -1e9;
            break;
        }
        return;
    }
    if (pressed & PadBit(plat::PADC_BACK)) {
        SetPaused(false);
        return;
    }
    const double now = plat::ClockMs();
    const struct {
        uint32_t controls;
        MenuKey action;
        bool repeats;
    } menuPad[] = {{PAD_MENU_UP, MenuKey::Up, true},
                   {PAD_MENU_DOWN, MenuKey::Down, true},
                   {PAD_MENU_LEFT, MenuKey::Left, true},
                   {PAD_MENU_RIGHT, MenuKey::Right, true},
                   {PadBit(plat::PADC_SOUTH), MenuKey::Choose, false},
                   {PadBit(plat::PADC_EAST), MenuKey::Back, false},
                   {PadBit(plat::PADC_NORTH), MenuKey::ClearPads, false}};
    for (const auto& m : menuPad) {
        bool act = (pressed & m.controls) != 0;
        if (act && m.repeats) padRepeatAt_ = now + PAD_REPEAT_DELAY_MS;
        if (!act && m.repeats && (pads & m.controls) != 0 && now >= padRepeatAt_) {
            act = true;
            padRepeatAt_ = now + PAD_REPEAT_MS;
        }
        if (!act) continue;
        menu_.Press(m.action, *this);
        lastPaint_ = -1e9;
        if (!paused_ || menu_.Waiting()) break;  // it resumed the game, or waits for a binding
    }
}

bool PlayerDesk::ReadKeys(uint8_t keys[256]) {
    if (!g_inputCreated) return false;  // no device: the snapshot keeps its last contents
    uint8_t held[256];
    const bool focused = ReadHeldKeys(held);
    const uint32_t pads = focused ? plat::ReadPadControls() : 0;
    PadsPressed(pads);
    std::memcpy(held_, held, sizeof held_);
    pads_ = pads;
    for (int k = 0; k < 256; ++k) heldThrough_[k] &= held[k];
    padsThrough_ &= pads;
    for (int k = 0; k < 256; ++k) {
        if ((held[k] & KEY_HELD) == 0) swallowed_[k] = 0;
        if (swallowed_[k] != 0) held[k] = 0;
    }
    swallowedPads_ &= pads;
    const uint32_t live = pads & ~swallowedPads_;
    BoundSnapshot(settings_.bindings, held, live, keys);
    AutoFire(held, live, keys);
    // Inactive window: nothing is held, so Santa does not run on while the player is away.
    if (!focused) std::memset(keys, 0, 256);
    return focused;
}

void PlayerDesk::AutoFire(const uint8_t held[256], uint32_t pads, uint8_t keys[256]) {
    const bool fire = InputHeld(settings_.bindings, INPUT_FIRE, held, pads);
    const bool pressed = fire && !fireHeld_;
    fireHeld_ = fire;
    if (!settings_.autoFire || PlayingScene() != SCENE_GAMETIME) {
        autoFiring_ = false;  // outside the stage fire is plain fire, and each stage starts still
        return;
    }
    if (pressed && !paused_) autoFiring_ = !autoFiring_;
    keys[DIK_SPACE] = autoFiring_ ? KEY_HELD : 0;
}

void PlayerDesk::HeldPass() {
    const double now = plat::ClockMs();
    if (now - lastPaint_ < REPAINT_MS) return;
    lastPaint_ = now;
    const auto& picture = menu_.Picture(settings_);
    plat::PresentOverlay(SHADE, picture.data(), static_cast<int>(picture.size()));
}

void PlayerDesk::DrawOver() {
    std::string mark;
    if (settings_.autoFire) mark = "AUTO-FIRE";
    if (settings_.gameSpeed != 100) {
        mark += (mark.empty() ? "" : "  ") + std::string("SPEED ") +
                std::to_string(settings_.gameSpeed) + "%";
    }
    if (mark.empty()) return;
    std::vector<plat::FillRect> rects;
    Lettering look = StoryLettering(2);
    look.outlineWidth = 1;
    AddLettering(&rects, mark, MARK_X, MARK_Y, look);
    plat::FillRects(rects.data(), static_cast<int>(rects.size()));
}
