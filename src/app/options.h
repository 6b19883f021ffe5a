// The game's command line.
#pragma once

#include <string>
#include <vector>

#include "app/settings.h"

namespace app {

struct GameOptions {
    enum class Display { Kept, Fullscreen, Windowed };
    Display display = Display::Kept;  // Kept: as the settings say
    int scale = 0;                    // 1 to 8; 0: as the settings say
    bool integerScale = false;
    int volume = -1;  // 0 to 100; -1: as the settings say
    bool mute = false;
    bool autoFire = false;
    int speed = 0;  // per cent: 100, 90, ... 50; 0: as the settings say
    std::string recordPath;
    std::string replayPath;
    std::string tracePath;  // "-": standard output
    bool help = false;
    bool version = false;
};

extern const char* const USAGE;

// args without the program's name. False with a one-line message that names the option and
// ends "(try --help)".
bool ParseGameOptions(const std::vector<std::string>& args, GameOptions* out, std::string* error);

// The settings this run plays with: the kept ones, with what the command line says instead.
// --scale opens the window at that scale whatever size was kept.
Settings WithOptions(const Settings& kept, const GameOptions& options);

}  // namespace app
