#include "app/options.h"

#include "cmdline/cmdline.h"

namespace app {

const char* const USAGE =
    "usage: tinselrun [--fullscreen | --windowed] [--scale N] [--integer-scale]\n"
    "                 [--volume 0-100] [--mute] [--auto-fire] [--speed PERCENT]\n"
    "                 [--record FILE] [--replay FILE] [--trace FILE|-] [--help] [--version]\n"
    "\n"
    "  --fullscreen, --windowed  start in full screen or in a window\n"
    "  --scale N                 open the window at N x 800 x 600 (1 to 8), smaller to fit\n"
    "  --integer-scale           enlarge the picture by whole multiples only\n"
    "  --volume 0-100            the volume of everything the game plays\n"
    "  --mute                    start muted\n"
    "  --auto-fire               in the stage, a press of fire starts firing, the next stops it\n"
    "  --speed PERCENT           play slower: 100, 90, 80, 70, 60 or 50 per cent of the pace\n"
    "  --record FILE             write the keys of every tick as an input script\n"
    "  --replay FILE             play a recording (Escape quits; at its end your keys take over)\n"
    "  --trace FILE              write the trace the headless runner writes ('-': stdout)\n"
    "\n"
    "Options hold for this run only; the settings kept in $XDG_CONFIG_HOME/tinselrun/settings.ini\n"
    "(~/.config by default) stay as they are. Keys: arrows move, Space shoots, Enter confirms,\n"
    "P or Pause pauses and opens the menu (settings, controls, assists), M mutes, F1 full\n"
    "screen, F12 screenshot, Escape quits.\n";

namespace {

bool ParseWhole(const std::string& text, int low, int high, int* out) {
    if (text.empty() || text.size() > 3) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return false;
    *out = v;
    return true;
}

bool Refuse(std::string* error, const std::string& message) {
    *error = message;
    if (message.find("(try --help)") == std::string::npos) *error += " (try --help)";
    return false;
}

}  // namespace

bool ParseGameOptions(const std::vector<std::string>& args, GameOptions* out, std::string* error) {
    static const std::vector<cmdline::OptionRule> RULES = {{"fullscreen", false, true},
                                                           {"windowed", false, true},
                                                           {"scale", true},
                                                           {"integer-scale", false, true},
                                                           {"volume", true},
                                                           {"mute", false, true},
                                                           {"auto-fire", false, true},
                                                           {"speed", true},
                                                           {"record", true},
                                                           {"replay", true},
                                                           {"trace", true},
                                                           {"help", false, true, 'h'},
                                                           {"version", false, true}};
    std::vector<cmdline::Given> given;
    std::string message;
    if (!cmdline::Parse(args, RULES, &given, &message)) return Refuse(error, message);
    GameOptions options;
    for (const cmdline::Given& option : given) {
        const std::string& name = option.name;
        const std::string& value = option.value;
        if (name == "fullscreen" || name == "windowed") {
            const auto display = name == "fullscreen" ? GameOptions::Display::Fullscreen
                                                      : GameOptions::Display::Windowed;
            if (options.display != GameOptions::Display::Kept && options.display != display) {
                return Refuse(error, "--fullscreen and --windowed cannot both be given");
            }
            options.display = display;
        } else if (name == "scale") {
            if (!ParseWhole(value, 1, 8, &options.scale)) {
                return Refuse(error,
                              "--scale wants a whole number from 1 to 8, not '" + value + "'");
            }
        } else if (name == "volume") {
            if (!ParseWhole(value, 0, 100, &options.volume)) {
                return Refuse(error,
                              "--volume wants a whole number from 0 to 100, not '" + value + "'");
            }
        } else if (name == "speed") {
            if (!ParseWhole(value, 50, 100, &options.speed) || options.speed % 10 != 0) {
                return Refuse(error,
                              "--speed wants 100, 90, 80, 70, 60 or 50, not '" + value + "'");
            }
        } else if (name == "auto-fire") {
            options.autoFire = true;
        } else if (name == "integer-scale") {
            options.integerScale = true;
        } else if (name == "mute") {
            options.mute = true;
        } else if (name == "help") {
            options.help = true;
        } else if (name == "version") {
            options.version = true;
        } else if (value.empty()) {
            return Refuse(error, "--" + name + " needs a value");
        } else if (name == "record") {
            options.recordPath = value;
        } else if (name == "replay") {
            options.replayPath = value;
        } else {
            options.tracePath = value;
        }
    }
    *out = std::move(options);
    return true;
}

Settings WithOptions(const Settings& kept, const GameOptions& options) {
    Settings s = kept;
    if (options.display != GameOptions::Display::Kept) {
        s.fullscreen = options.display == GameOptions::Display::Fullscreen;
    }
    if (options.scale > 0) {
        s.scale = options.scale;
        s.windowWidth = s.windowHeight = 0;
    }
    if (options.integerScale) s.integerScale = true;
    if (options.volume >= 0) s.volume = options.volume;
    if (options.mute) s.mute = true;
    if (options.autoFire) s.autoFire = true;
    if (options.speed > 0) s.gameSpeed = options.speed;
    return s;
}

}  // namespace app
