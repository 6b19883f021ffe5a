#include "app/menu.h"

#include <algorithm>
#include <cctype>

#include "app/lettering.h"
#include "platform/input.h"
#include "shell/graphics.h"
#include "shell/input.h"

namespace {

enum Item : int {
    ITEM_RESUME,
    ITEM_VOLUME,
    ITEM_MUTE,
    ITEM_FULLSCREEN,
    ITEM_WHOLE_MULTIPLES,
    ITEM_FOCUS_PAUSE,
    ITEM_CONTROLS,
    ITEM_ASSISTS,
    ITEM_QUIT,
    ITEM_AUTO_FIRE,
    ITEM_SPEED,
    ITEM_RESET,
    ITEM_BACK,
    ITEM_BIND,  // + the input
};

constexpr int TOP_ITEMS[] = {ITEM_RESUME,     ITEM_VOLUME,          ITEM_MUTE,
                             ITEM_FULLSCREEN, ITEM_WHOLE_MULTIPLES, ITEM_FOCUS_PAUSE,
                             ITEM_CONTROLS,   ITEM_ASSISTS,         ITEM_QUIT};
constexpr int ASSIST_ITEMS[] = {ITEM_AUTO_FIRE, ITEM_SPEED, ITEM_BACK};
constexpr int CONTROL_ITEMS[] = {ITEM_BIND,     ITEM_BIND + 1, ITEM_BIND + 2, ITEM_BIND + 3,
                                 ITEM_BIND + 4, ITEM_BIND + 5, ITEM_RESET,    ITEM_BACK};
static_assert(INPUT_COUNT == 6);

const char* Label(int item) {
    switch (item) {
        case ITEM_RESUME: return "RESUME";
        case ITEM_VOLUME: return "VOLUME";
        case ITEM_MUTE: return "MUTE";
        case ITEM_FULLSCREEN: return "FULL SCREEN";
        case ITEM_WHOLE_MULTIPLES: return "WHOLE-MULTIPLE SCALING";
        case ITEM_FOCUS_PAUSE: return "PAUSE ON FOCUS LOSS";
        case ITEM_CONTROLS: return "CONTROLS";
        case ITEM_ASSISTS: return "ASSISTS";
        case ITEM_QUIT: return "QUIT";
        case ITEM_AUTO_FIRE: return "AUTO-FIRE";
        case ITEM_SPEED: return "GAME SPEED";
        case ITEM_RESET: return "RESET TO DEFAULTS";
        case ITEM_BACK: return "BACK";
        default: return InputName(item - ITEM_BIND);
    }
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The picture's layout, in picture pixels.
constexpr int TITLE_Y = 56;
constexpr int TITLE_SCALE = 6;
constexpr int FIRST_ROW_Y = 150;
constexpr int ROW_STEP = 40;       // items at scale 3
constexpr int BIND_ROW_STEP = 32;  // the controls' rows, at scale 2
constexpr int ROW_PAD = 9;         // the highlight reaches this far above and below the letters
constexpr int LABEL_X = 140;
constexpr int VALUE_RIGHT = 660;
constexpr int VALUE_SPAN = 200;  // a value's halves, from its right edge: step down, step up
constexpr int BIND_LABEL_X = 40;
constexpr int BIND_KEYS_X = 136;  // room for two of the longest names in each column
constexpr int BIND_PADS_X = 460;
constexpr int MESSAGE_Y = 508;
constexpr int HINT_Y = 560;
constexpr uint32_t HIGHLIGHT = 0x70C0282C;
// A dark panel under the menu keeps it clear of the picture's own words (the opening's story).
constexpr int PANEL_TOP = 28;
constexpr int PANEL_BOTTOM = 590;
constexpr int PANEL_BORDER = 2;
constexpr uint32_t PANEL = 0xC00A0C1C;
constexpr uint32_t PANEL_EDGE = 0xFF6A5228;
constexpr uint32_t HINT_TOP = 0xFFB8C0D8;
constexpr uint32_t HINT_BOTTOM = 0xFF8890B0;

Lettering Hint() {
    Lettering look = StoryLettering(2);
    look.top = HINT_TOP;
    look.bottom = HINT_BOTTOM;
    return look;
}

void Centred(std::vector<plat::FillRect>* out, const std::string& text, int y,
             const Lettering& look) {
    AddLettering(out, text, (SCREEN_WIDTH - LetteringWidth(text, look.scale)) / 2, y, look);
}

const char* OnOff(bool on) {
    return on ? "ON" : "OFF";
}

}  // namespace

void Menu::Open() {
    waitingFor_ = -1;
    message_.clear();
    Go(MenuScreen::Top, 0);
}

void Menu::Go(MenuScreen screen, int cursor) {
    screen_ = screen;
    cursor_ = cursor;
    Lay();
}

int Menu::Count() const {
    switch (screen_) {
        case MenuScreen::Top: return static_cast<int>(std::size(TOP_ITEMS));
        case MenuScreen::Controls: return static_cast<int>(std::size(CONTROL_ITEMS));
        case MenuScreen::Assists: return static_cast<int>(std::size(ASSIST_ITEMS));
    }
    return 0;
}

int Menu::ItemOf(int index) const {
    switch (screen_) {
        case MenuScreen::Top: return TOP_ITEMS[index];
        case MenuScreen::Controls: return CONTROL_ITEMS[index];
        case MenuScreen::Assists: return ASSIST_ITEMS[index];
    }
    return ITEM_BACK;
}

void Menu::Lay() {
    rows_.clear();
    int y = FIRST_ROW_Y;
    // The controls' table is too wide for the other screens' letters.
    const bool table = screen_ == MenuScreen::Controls;
    for (int i = 0; i < Count(); ++i) {
        const int item = ItemOf(i);
        MenuRow row;
        row.label = Upper(Label(item));
        row.scale = table ? 2 : 3;
        row.labelX = table ? BIND_LABEL_X : LABEL_X;
        row.labelY = y;
        const int left = row.labelX - 20;
        const int right = table ? SCREEN_WIDTH - left : VALUE_RIGHT + 20;
        row.area = {left, y - ROW_PAD, right - left, 7 * row.scale + 2 * ROW_PAD, HIGHLIGHT};
        if (item == ITEM_VOLUME || item == ITEM_SPEED) {
            row.valueLeft = VALUE_RIGHT - VALUE_SPAN;
            row.valueRight = VALUE_RIGHT;
        }
        rows_.push_back(row);
        // The last binding row leaves a gap before the items under it.
        y += table ? BIND_ROW_STEP + (item == ITEM_BIND + int{INPUT_START} ? 16 : 0) : ROW_STEP;
    }
}

void Menu::Press(MenuKey key, MenuHost& host) {
    if (Waiting()) {
        if (key == MenuKey::Back) CancelWait();
        return;
    }
    const int item = ItemOf(cursor_);
    switch (key) {
        case MenuKey::Up: cursor_ = (cursor_ + Count() - 1) % Count(); break;
        case MenuKey::Down: cursor_ = (cursor_ + 1) % Count(); break;
        case MenuKey::Left: Step(item, -1, host); break;
        case MenuKey::Right: Step(item, +1, host); break;
        case MenuKey::Choose: Choose(item, host); break;
        case MenuKey::Back:
            message_.clear();
            if (screen_ == MenuScreen::Top) {
                host.Resume();
            } else {
                const int from = screen_ == MenuScreen::Controls ? ITEM_CONTROLS : ITEM_ASSISTS;
                Go(MenuScreen::Top,
                   static_cast<int>(std::find(std::begin(TOP_ITEMS), std::end(TOP_ITEMS), from) -
                                    std::begin(TOP_ITEMS)));
            }
            break;
        case MenuKey::ClearKeys:
        case MenuKey::ClearPads:
            if (item < ITEM_BIND) break;
            host.Adjust([&](Settings& s) {
                InputBinding& b = s.bindings.inputs[item - ITEM_BIND];
                if (key == MenuKey::ClearKeys)
                    std::fill(std::begin(b.keys), std::end(b.keys), NO_KEY);
                if (key == MenuKey::ClearPads)
                    std::fill(std::begin(b.pads), std::end(b.pads), NO_PAD);
            });
            break;
    }
}

void Menu::Step(int item, int direction, MenuHost& host) {
    const Settings& now = host.Current();
    switch (item) {
        case ITEM_VOLUME: {
            // To the next step of ten on that side, whatever the volume was started with.
            const int v = direction > 0 ? std::min(100, (now.volume / 10 + 1) * 10)
                                        : std::max(0, ((now.volume + 9) / 10 - 1) * 10);
            host.Adjust([v](Settings& s) { s.volume = v; });
            break;
        }
        case ITEM_SPEED: {
            const int speed = std::clamp(now.gameSpeed + 10 * direction, 50, 100);
            host.Adjust([speed](Settings& s) { s.gameSpeed = speed; });
            break;
        }
        case ITEM_MUTE:
        case ITEM_FULLSCREEN:
        case ITEM_WHOLE_MULTIPLES:
        case ITEM_FOCUS_PAUSE:
        case ITEM_AUTO_FIRE: Choose(item, host); break;
        default: break;
    }
}

void Menu::Choose(int item, MenuHost& host) {
    const Settings& now = host.Current();
    message_.clear();
    switch (item) {
        case ITEM_RESUME: host.Resume(); break;
        case ITEM_MUTE: {
            const bool on = !now.mute;
            host.Adjust([on](Settings& s) { s.mute = on; });
            break;
        }
        case ITEM_FULLSCREEN: host.SwitchFullscreen(); break;
        case ITEM_WHOLE_MULTIPLES: {
            const bool on = !now.integerScale;
            host.Adjust([on](Settings& s) { s.integerScale = on; });
            break;
        }
        case ITEM_FOCUS_PAUSE: {
            const bool on = !now.pauseOnFocusLoss;
            host.Adjust([on](Settings& s) { s.pauseOnFocusLoss = on; });
            break;
        }
        case ITEM_AUTO_FIRE: {
            const bool on = !now.autoFire;
            host.Adjust([on](Settings& s) { s.autoFire = on; });
            break;
        }
        case ITEM_CONTROLS: Go(MenuScreen::Controls, 0); break;
        case ITEM_ASSISTS: Go(MenuScreen::Assists, 0); break;
        case ITEM_QUIT: host.Quit(); break;
        case ITEM_BACK: Press(MenuKey::Back, host); break;
        case ITEM_RESET:
            host.Adjust([](Settings& s) { s.bindings = DefaultBindings(); });
            message_ = "EVERY CONTROL IS AS IT WAS AT FIRST";
            break;
        case ITEM_VOLUME:
        case ITEM_SPEED: break;
        default:
            waitingFor_ = item - ITEM_BIND;
            message_ = "PRESS A KEY OR BUTTON FOR " + Upper(InputName(waitingFor_));
            break;
    }
}

void Menu::CancelWait() {
    waitingFor_ = -1;
    message_.clear();
}

void Menu::TakeKey(uint8_t key, MenuHost& host) {
    if (!Waiting()) return;
    if (key == DIK_ESCAPE) {
        CancelWait();
        return;
    }
    const std::string name = Upper(KeyName(key));
    if (name.empty()) return;  // a key the game has no name for
    if (KeyReserved(key)) {
        message_ = name + " KEEPS ITS OWN WORK: PRESS ANOTHER";
        return;
    }
    Bindings bindings = host.Current().bindings;
    const int from = BindKey(&bindings, waitingFor_, key);
    host.Adjust([&bindings](Settings& s) { s.bindings = bindings; });
    message_.clear();
    if (from >= 0) {
        message_ =
            name + " MOVED FROM " + Upper(InputName(from)) + " TO " + Upper(InputName(waitingFor_));
    }
    waitingFor_ = -1;
}

void Menu::TakePad(int control, MenuHost& host) {
    if (!Waiting()) return;
    if (control == plat::PADC_BACK) {
        CancelWait();
        return;
    }
    const std::string name = Upper(PadName(control));
    if (name.empty()) return;
    if (PadReserved(control)) {
        message_ = name + " KEEPS ITS OWN WORK: PRESS ANOTHER";
        return;
    }
    Bindings bindings = host.Current().bindings;
    const int from = BindPad(&bindings, waitingFor_, control);
    host.Adjust([&bindings](Settings& s) { s.bindings = bindings; });
    message_.clear();
    if (from >= 0) {
        message_ =
            name + " MOVED FROM " + Upper(InputName(from)) + " TO " + Upper(InputName(waitingFor_));
    }
    waitingFor_ = -1;
}

int Menu::ItemAt(int x, int y) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
        const plat::FillRect& a = rows_[i].area;
        if (x >= a.x && x < a.x + a.w && y >= a.y && y < a.y + a.h) return static_cast<int>(i);
    }
    return -1;
}

void Menu::PointAt(int x, int y) {
    const int at = ItemAt(x, y);
    if (at >= 0 && !Waiting()) cursor_ = at;
}

void Menu::Click(int x, int y, MenuHost& host) {
    if (Waiting()) {
        CancelWait();  // a mouse button cannot be bound
        return;
    }
    const int at = ItemAt(x, y);
    if (at < 0) return;
    cursor_ = at;
    const MenuRow& row = rows_[at];
    const int item = ItemOf(at);
    if (row.valueRight > row.valueLeft) {
        if (x >= row.valueLeft) Step(item, x < (row.valueLeft + row.valueRight) / 2 ? -1 : 1, host);
        return;
    }
    Choose(item, host);
}

const std::vector<plat::FillRect>& Menu::Picture(const Settings& current) {
    picture_.clear();
    const int panelLeft = screen_ == MenuScreen::Controls ? 12 : 96;
    const int panelW = SCREEN_WIDTH - 2 * panelLeft, panelH = PANEL_BOTTOM - PANEL_TOP;
    const int e = PANEL_BORDER;
    picture_.push_back({panelLeft, PANEL_TOP, panelW, panelH, PANEL});
    picture_.push_back({panelLeft - e, PANEL_TOP - e, panelW + 2 * e, e, PANEL_EDGE});
    picture_.push_back({panelLeft - e, PANEL_BOTTOM, panelW + 2 * e, e, PANEL_EDGE});
    picture_.push_back({panelLeft - e, PANEL_TOP, e, panelH, PANEL_EDGE});
    picture_.push_back({panelLeft + panelW, PANEL_TOP, e, panelH, PANEL_EDGE});
    const char* title = screen_ == MenuScreen::Top        ? "PAUSED"
                        : screen_ == MenuScreen::Controls ? "CONTROLS"
                                                          : "ASSISTS";
    Centred(&picture_, title, TITLE_Y, HeadingLettering(TITLE_SCALE));
    const Lettering hint = Hint();
    if (screen_ == MenuScreen::Controls) {
        AddLettering(&picture_, "KEYS", BIND_KEYS_X, FIRST_ROW_Y - 30, hint);
        AddLettering(&picture_, "PAD", BIND_PADS_X, FIRST_ROW_Y - 30, hint);
    }
    for (size_t i = 0; i < rows_.size(); ++i) {
        const MenuRow& row = rows_[i];
        const int item = ItemOf(static_cast<int>(i));
        const bool lit = static_cast<int>(i) == cursor_;
        if (lit) picture_.push_back(row.area);
        const Lettering look = lit ? HeadingLettering(row.scale) : StoryLettering(row.scale);
        AddLettering(&picture_, row.label, row.labelX, row.labelY, look);
        std::string value;
        switch (item) {
            case ITEM_VOLUME: value = "< " + std::to_string(current.volume) + " >"; break;
            case ITEM_MUTE: value = OnOff(current.mute); break;
            case ITEM_FULLSCREEN: value = OnOff(current.fullscreen); break;
            case ITEM_WHOLE_MULTIPLES: value = OnOff(current.integerScale); break;
            case ITEM_FOCUS_PAUSE: value = OnOff(current.pauseOnFocusLoss); break;
            case ITEM_AUTO_FIRE: value = OnOff(current.autoFire); break;
            case ITEM_SPEED: value = "< " + std::to_string(current.gameSpeed) + "% >"; break;
            default: break;
        }
        if (!value.empty()) {
            AddLettering(&picture_, value, VALUE_RIGHT - LetteringWidth(value, row.scale),
                         row.labelY, look);
        }
        if (item >= ITEM_BIND) {
            const InputBinding& b = current.bindings.inputs[item - ITEM_BIND];
            const std::string keys = KeysText(b), pads = PadsText(b);
            AddLettering(&picture_, keys.empty() ? "-" : keys, BIND_KEYS_X, row.labelY, look);
            AddLettering(&picture_, pads.empty() ? "-" : pads, BIND_PADS_X, row.labelY, look);
        }
    }
    if (!message_.empty()) Centred(&picture_, message_, MESSAGE_Y, HeadingLettering(2));
    const char* keys =
        Waiting()                         ? "ESCAPE OR BACK CANCELS"
        : screen_ == MenuScreen::Controls ? "ENTER BINDS   DELETE CLEARS KEYS   NORTH CLEARS PAD"
        : screen_ == MenuScreen::Top      ? "ENTER CHOOSES   LEFT / RIGHT CHANGE   ESC RESUMES"
                                          : "LEFT / RIGHT CHANGE   ESC GOES BACK";
    Centred(&picture_, keys, HINT_Y, hint);
    return picture_;
}
