// tinselrun-sim: the whole game on the headless backend, one frame period per tick, keys from
// an input script, a JSON-lines trace of every tick, PNG snapshots and a WAV of the sound.
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

namespace {

constexpr int EXIT_BAD_INPUT = 2;
constexpr int EXIT_RUN_FAILED = 1;
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
    // Writing the trace over the script would lose the script.
    if (!options.inputPath.empty() && !options.tracePath.empty() && options.tracePath != "-" &&
        record::SameFile(options.inputPath, options.tracePath)) {
        Fail("--input and --trace name the same file (" + options.tracePath + ")");
        return EXIT_BAD_INPUT;
    }
    sim::Run run(Fail);
    if (!run.Prepare(options)) return EXIT_BAD_INPUT;
    if (!options.audioPath.empty() && !plat::headless::CaptureAudioTo(options.audioPath)) {
        Fail("cannot write " + options.audioPath + ": " + plat::headless::AudioCaptureError());
        return EXIT_BAD_INPUT;
    }

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
    while (run.Next()) {
    }
    int status = run.Finish();
    if (status == 0 && !plat::headless::AudioCaptureError().empty()) {
        Fail("cannot write " + options.audioPath + ": " + plat::headless::AudioCaptureError());
        status = EXIT_RUN_FAILED;
    }
    return status;
}
