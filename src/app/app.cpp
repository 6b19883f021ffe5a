#include "app/app.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/desk.h"
#include "app/options.h"
#include "app/settings.h"
#include "platform/window.h"
#include "record/session.h"
#include "shell/dxmain.h"
#include "shell/tickhook.h"

#ifndef TINSELRUN_VERSION
#define TINSELRUN_VERSION "unknown"
#endif

namespace {

constexpr int EXIT_BAD_INPUT = 2;
constexpr int EXIT_NO_DISPLAY = 1;

// One line on stderr, whatever bytes the message carries.
void Say(const std::string& message) {
    std::string line = "tinselrun: ";
    for (char c : message) line += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

}  // namespace

std::string RecordingHeading() {
    return std::string("tinselrun ") + TINSELRUN_VERSION +
           " recording, starting in scene OP; play it with tinselrun --replay FILE, or "
           "tinselrun-sim --input FILE --ticks N";
}

int RunGame(int argc, char** argv) {
    app::GameOptions options;
    std::string error;
    if (!app::ParseGameOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        Say(error);
        return EXIT_BAD_INPUT;
    }
    if (options.help) {
        std::fputs(app::USAGE, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tinselrun %s\n", TINSELRUN_VERSION);
        return 0;
    }
    // An output written over the replay or over another output would lose it.
    error = record::FileClash({{"--replay", options.replayPath, false},
                               {"--record", options.recordPath, true},
                               {"--trace", options.tracePath, true}});
    if (!error.empty()) {
        Say(error);
        return EXIT_BAD_INPUT;
    }

    // A trace piped into a reader that has gone is a write error like any other: play goes on.
    std::signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<record::ScriptFeed> replay;
    if (!options.replayPath.empty()) {
        record::Script script;
        if (!record::LoadScript(options.replayPath, &script, &error)) {
            Say(error);
            return EXIT_BAD_INPUT;
        }
        replay = std::make_unique<record::ScriptFeed>(std::move(script));
    }
    std::string noDisplay;
    if (!plat::DisplayExpected(&noDisplay)) {
        Say("no display (" + noDisplay + "); tinselrun-sim plays without one");
        return EXIT_NO_DISPLAY;
    }

    record::RecordHook recorder;
    if (!options.recordPath.empty() && !recorder.Open(options.recordPath, RecordingHeading())) {
        Say("cannot write " + options.recordPath + ": " + std::strerror(errno));
        return EXIT_BAD_INPUT;
    }
    record::TraceHook trace;
    if (!options.tracePath.empty() && !trace.Open(options.tracePath)) {
        Say("cannot write " + options.tracePath + ": " + std::strerror(errno));
        return EXIT_BAD_INPUT;
    }

    if (replay) SetKeyFeed(replay.get());
    if (!options.recordPath.empty()) AddTickHook(&recorder);
    if (!options.tracePath.empty()) AddTickHook(&trace);
    KeptSettings kept;
    kept.Load(SettingsPath());
    const Settings settings = app::WithOptions(kept.Values(), options);
    PlayerDesk desk(settings, &kept, options.tracePath == "-");
    SetDesk(&desk);
    const bool sized = settings.windowWidth > 0 && settings.windowHeight > 0;
    GameStart start;
    start.windowWidth = sized ? settings.windowWidth : SCREEN_WIDTH * settings.scale;
    start.windowHeight = sized ? settings.windowHeight : SCREEN_HEIGHT * settings.scale;
    const int status = GameMain(start);
    SetDesk(nullptr);
    ClearTickHooks();
    return status;
}
