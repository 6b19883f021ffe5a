#include "options.h"

#include "cmdline/cmdline.h"
#include "record/script.h"
#include "shell/dxmain.h"

namespace sim {

const char* const USAGE =
    "usage: tinselrun-sim [--ticks N] [--input FILE] [--scene OP|GAMETIME|GAMEOVER|ED]\n"
    "                     [--trace FILE|-] [--snapshot T:FILE.png]... [--audio FILE.wav]\n"
    "                     [--assets DIR]\n";

namespace {

bool ParseCount(const std::string& text, int64_t* out) {
    if (text.empty() || text.size() > 10) return false;
    int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > record::MAX_SCRIPT_TICK) return false;
    *out = v;
    return true;
}

bool ParseScene(const std::string& name, uint32_t* out) {
    static const struct {
        const char* name;
        uint32_t id;
    } SCENES[] = {{"OP", SCENE_OP},
                  {"GAMETIME", SCENE_GAMETIME},
                  {"GAMEOVER", SCENE_GAMEOVER},
                  {"ED", SCENE_ED}};
    for (const auto& scene : SCENES) {
        if (name == scene.name) {
            *out = scene.id;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options* out, std::string* error) {
    static const std::vector<cmdline::OptionRule> RULES = {{"help", false, true, 'h'},
                                                           {"ticks", true},
                                                           {"input", true},
                                                           {"scene", true},
                                                           {"trace", true},
                                                           {"snapshot", true, true},
                                                           {"audio", true},
                                                           {"assets", true}};
    std::vector<cmdline::Given> given;
    if (!cmdline::Parse(args, RULES, &given, error)) return false;
    Options options;
    for (const cmdline::Given& option : given) {
        const std::string& name = option.name;
        const std::string& value = option.value;
        if (name == "help") {
            options.help = true;
        } else if (name == "ticks") {
            if (!ParseCount(value, &options.ticks)) {
                *error = "--ticks wants a whole number from 0 to " +
                         std::to_string(record::MAX_SCRIPT_TICK) + ", not '" + value + "'";
                return false;
            }
        } else if (name == "scene") {
            if (!ParseScene(value, &options.scene)) {
                *error = "--scene wants OP, GAMETIME, GAMEOVER or ED, not '" + value + "'";
                return false;
            }
        } else if (name == "snapshot") {
            const size_t colon = value.find(':');
            Snapshot shot;
            if (colon == std::string::npos || !ParseCount(value.substr(0, colon), &shot.tick) ||
                colon + 1 == value.size()) {
                *error = "--snapshot wants T:FILE.png, not '" + value + "'";
                return false;
            }
            shot.path = value.substr(colon + 1);
            options.snapshots.push_back(std::move(shot));
        } else if (value.empty()) {
            *error = "--" + name + " needs a value";
            return false;
        } else if (name == "input") {
            options.inputPath = value;
        } else if (name == "trace") {
            options.tracePath = value;
        } else if (name == "audio") {
            options.audioPath = value;
        } else {
            options.assetsDir = value;
        }
    }
    for (const Snapshot& shot : options.snapshots) {
        if (shot.tick > options.ticks) {
            *error = "--snapshot " + std::to_string(shot.tick) + ":" + shot.path +
                     " is past the last tick (" + std::to_string(options.ticks) + ")";
            return false;
        }
    }
    *out = std::move(options);
    return true;
}

}  // namespace sim
