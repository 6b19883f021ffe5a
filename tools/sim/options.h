// The runner's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct Snapshot {
    int64_t tick = 0;  // 0 is the picture after start-up
    std::string path;
};

struct Options {
    int64_t ticks = 600;
    std::string inputPath;  // empty: no key is ever held
    uint32_t scene = 0;     // start-up value of g_nextScene
    std::string tracePath;  // empty: no trace; "-": standard output
    std::vector<Snapshot> snapshots;
    std::string audioPath;
    std::string assetsDir;  // empty: found as the game finds it
    bool help = false;
};

extern const char* const USAGE;

// args without the program name. False with a one-line message on any bad option.
bool ParseOptions(const std::vector<std::string>& args, Options* out, std::string* error);

}  // namespace sim
