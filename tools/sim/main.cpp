// tinselrun-sim: the whole game on the headless backend, one frame period per tick, keys from
// an input script, a JSON-lines trace of every tick, PNG snapshots and a WAV of the sound.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "options.h"
#include "platform/headless/headless.h"
#include "record/session.h"
#include "run.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/game.h"

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
    sim::Run run(Fail);
    if (!run.Prepare(options)) return EXIT_BAD_INPUT;
    if (!options.audioPath.empty() && !plat::headless::CaptureAudioTo(options.audioPath)) {
        Fail("cannot write " + options.audioPath + ": " + plat::headless::AudioCaptureError());
        return EXIT_BAD_INPUT;
    }

    StopOnSignals();
    InstallScenes();
    if (!options.assetsDir.empty()) SetAssetDir(options.assetsDir.c_str());
    // The sound up to the clock's time, as the game's audio device would have taken it.
    run.afterTick = [&] {
        if (plat::headless::FeedAudio()) return true;
        Fail("cannot write " + options.audioPath + ": " + plat::headless::AudioCaptureError());
        return false;
    };
    // The game ends here too when the device cannot be made (its message is already out).
    if (!run.Start()) return EXIT_RUN_FAILED;
    while (g_stopSignal == 0 && run.Next()) {
    }
    const int64_t lastTick = run.Tick();
    const int stoppedBy = lastTick < run.Ticks() && !QuitPosted() ? g_stopSignal : 0;
    int status = run.Finish();
    if (status == 0 && stoppedBy != 0) status = 128 + stoppedBy;
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
