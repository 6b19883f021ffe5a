// tinselrun-sim: the whole game on the headless backend, one frame period per tick, keys from
// an input script, a JSON-lines trace of every tick, PNG snapshots and a WAV of the sound.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "options.h"
#include "platform/headless/headless.h"
#include "record/script.h"
#include "record/session.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/dxmain.h"
#include "shell/game.h"
#include "shell/graphics.h"
#include "shell/tickhook.h"

namespace {

constexpr int EXIT_BAD_INPUT = 2;
constexpr int EXIT_RUN_FAILED = 1;

volatile std::sig_atomic_t g_stopSignal = 0;

void NoteStop(int signal) {
    g_stopSignal = signal;
}

// Ctrl-C and kill end the run between two ticks, so every output is whole up to the last one.
void StopOnSignals() {
    struct sigaction action = {};
    action.sa_handler = NoteStop;
    action.sa_flags = SA_RESTART;  // a write in progress finishes rather than failing
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
// One line on stderr, whatever bytes the message carries.
void Fail(const std::string& message) {
    std::string line = "tinselrun-sim: ";
    for (char c : message) line += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

bool SnapshotAt(const std::vector<sim::Snapshot>& shots, int64_t tick) {
    for (const sim::Snapshot& shot : shots) {
        if (shot.tick == tick) return true;
    }
    return false;
}

// Writes every snapshot asked for this tick, of the frame its draw pass painted.
bool SaveSnapshots(const std::vector<sim::Snapshot>& shots, int64_t tick) {
    for (const sim::Snapshot& shot : shots) {
        std::string why;
        if (shot.tick == tick && !plat::headless::SaveFramePNG(shot.path.c_str(), &why)) {
            Fail("cannot write " + shot.path + ": " + why);
            return false;
        }
    }
    return true;
}

// Tick 0 is the state start-up left, which the game never draws: paint it for its snapshots
// without letting that pass leave anything (the sprite transform) for tick 1's.
bool SnapshotStartUp(const std::vector<sim::Snapshot>& shots) {
    if (!SnapshotAt(shots, 0)) return true;
    const Matrix2D kept = g_pSprite->Transform();
    g_rasterize = true;
    DrawFrame();
    g_pSprite->SetTransform(kept);
    return SaveSnapshots(shots, 0);
}

}  // namespace

int main(int argc, char** argv) {
    sim::Options options;
    std::string error;
    if (!sim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        Fail(error);
        return EXIT_BAD_INPUT;
    }
    if (options.help) {
        std::fputs(sim::USAGE, stdout);
        return 0;
    }
    std::error_code ec;
    if (!options.assetsDir.empty() && !std::filesystem::is_directory(options.assetsDir, ec)) {
        Fail("--assets " + options.assetsDir + ": not a folder");
        return EXIT_BAD_INPUT;
    }
    // An output written over the script or over another output would lose it.
    std::vector<record::NamedFile> files = {{"--input", options.inputPath, false},
                                            {"--trace", options.tracePath, true},
                                            {"--audio", options.audioPath, true}};
    for (const sim::Snapshot& shot : options.snapshots) {
        files.push_back({"--snapshot", shot.path, true});
    }
    error = record::FileClash(files);
    if (!error.empty()) {
        Fail(error);
        return EXIT_BAD_INPUT;
    }
    std::unique_ptr<record::ScriptFeed> feed;
    if (!options.inputPath.empty()) {
        record::Script script;
        if (!record::LoadScript(options.inputPath, &script, &error)) {
            Fail(error);
            return EXIT_BAD_INPUT;
        }
        feed = std::make_unique<record::ScriptFeed>(std::move(script));
    }
    // Written in large blocks; a write error ends the run.
    record::TraceHook trace({.flushEveryTick = false, .sayErrors = false});
    if (!options.tracePath.empty() && !trace.Open(options.tracePath)) {
        Fail("cannot write " + options.tracePath + ": " + std::strerror(errno));
        return EXIT_BAD_INPUT;
    }
    if (!options.audioPath.empty() && !plat::headless::CaptureAudioTo(options.audioPath)) {
        Fail("cannot write " + options.audioPath + ": " + plat::headless::AudioCaptureError());
        return EXIT_BAD_INPUT;
    }

    StopOnSignals();
    InstallScenes();
    if (!options.assetsDir.empty()) SetAssetDir(options.assetsDir.c_str());
    if (feed) SetKeyFeed(feed.get());
    if (!options.tracePath.empty()) AddTickHook(&trace);
    GameStart start;
    start.scene = options.scene;
    // Every tick is drawn, as in the game, but only snapshot ticks are painted.
    g_rasterize = false;
    // The game ends here too when the device cannot be made (its message is already out).
    if (StartGame(start) != START_OK) return EXIT_RUN_FAILED;

    auto traceOk = [&] {
        if (trace.Error().empty()) return true;
        Fail("cannot write " + options.tracePath + ": " + trace.Error());
        return false;
    };
    // The sound up to the clock's time, as the game's audio device would have taken it.
    auto feedAudio = [&] {
        if (plat::headless::FeedAudio()) return true;
        Fail("cannot write " + options.audioPath + ": " + plat::headless::AudioCaptureError());
        return false;
    };

    bool ok = traceOk() && SnapshotStartUp(options.snapshots);
    int64_t lastTick = 0;
    for (int64_t tick = 1; ok && tick <= options.ticks && g_stopSignal == 0; ++tick) {
        lastTick = tick;
        g_rasterize = SnapshotAt(options.snapshots, tick);
        const int result = StepTick();
        if (QuitPosted()) break;
        if (result != FRAME_UPDATE_DRAW) {
            Fail("tick " + std::to_string(tick) + " was not due as one whole frame (clock " +
                 std::to_string(result) + ")");
            ok = false;
            break;
        }
        ok = traceOk() && SaveSnapshots(options.snapshots, tick) && feedAudio();
    }
    int status = ok ? 0 : EXIT_RUN_FAILED;
    const int stoppedBy = lastTick < options.ticks && !QuitPosted() ? g_stopSignal : 0;
    if (ok && stoppedBy != 0) status = 128 + stoppedBy;

    StopGame();
    ClearTickHooks();
    if (status != EXIT_RUN_FAILED && !traceOk()) status = EXIT_RUN_FAILED;
    if (status != EXIT_RUN_FAILED && !plat::headless::AudioCaptureError().empty()) {
        Fail("cannot write " + options.audioPath + ": " + plat::headless::AudioCaptureError());
        status = EXIT_RUN_FAILED;
    }
    if (status == 128 + stoppedBy) {
        Fail(std::string(stoppedBy == SIGINT ? "interrupted" : "terminated") + " after tick " +
             std::to_string(lastTick) + "; every output holds the run up to it");
    }
    return status;
}
