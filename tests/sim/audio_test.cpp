// The runner's --audio is what the game plays: the same mixer fed by the device's callback gives
// the same samples; and a sound file that cannot be written fails the run.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/common/bytes.h"
#include "platform/headless/headless.h"
#include "platform/window.h"
#include "record/session.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/game.h"
#include "shell/tickhook.h"
#include "support/sim_runner.h"

namespace {

constexpr int TICKS = 1500;  // through the opening and title into the stage, firing

// The game on the headless backend from the script, its sound pulled as the real device pulls
// it: buffers of 1024 frames through the callback, as the clock passes each one's end.
std::vector<int16_t> PlayThroughTheCallback(const std::string& scriptText) {
    record::Script script;
    record::ScriptError error;
    EXPECT_TRUE(record::ParseScript(scriptText, &script, &error)) << error.message;
    std::vector<int16_t> heard;
    plat::headless::RunAudioDevice(1024, [&heard](const int16_t* samples, int frames) {
        heard.insert(heard.end(), samples, samples + 2 * frames);
    });
    InstallScenes();
    SetAssetDir(TINSELRUN_BUILD_DIR);
    record::ScriptFeed feed(std::move(script));
    SetKeyFeed(&feed);
    g_rasterize = false;
    EXPECT_EQ(StartGame(GameStart{}), START_OK);
    for (int tick = 1; tick <= TICKS; ++tick) EXPECT_EQ(StepTick(), FRAME_UPDATE_DRAW);
    StopGame();
    ClearTickHooks();
    g_rasterize = true;
    plat::headless::RunAudioDevice(0, nullptr);
    return heard;
}

TEST(SimAudio, TheRunnersSoundIsWhatTheDeviceCallbackPlaysBitForBit) {
    const std::string script =
        SimReadFile(std::string(TINSELRUN_SOURCE_DIR) + "/tests/traces/stage_fire.txt");
    SimDir dir;
    const SimRun run =
        RunSim({"--ticks", std::to_string(TICKS), "--audio", dir.Path("a.wav")}, script);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string wav = SimReadFile(dir.Path("a.wav"));
    ASSERT_GT(wav.size(), 44u);
    std::vector<int16_t> runner((wav.size() - 44) / 2);
    for (size_t i = 0; i < runner.size(); ++i) {
        runner[i] = static_cast<int16_t>(
            plat::common::Le16(reinterpret_cast<const uint8_t*>(wav.data()) + 44 + 2 * i));
    }
    // Up to the last tick's clock, half a millisecond past its due time.
    const double frames = (TICKS * double(FRAME_PERIOD) + 0.5) * 44.1;
    ASSERT_NEAR(static_cast<double>(runner.size()) / 2, frames, 1.0);

    const std::vector<int16_t> callback = PlayThroughTheCallback(script);
    // The device has taken every whole buffer the clock passed: all but the last part of one.
    ASSERT_GT(callback.size(), runner.size() - 2 * 1024);
    ASSERT_LE(callback.size(), runner.size());
    size_t differ = 0;
    while (differ < callback.size() && callback[differ] == runner[differ]) ++differ;
    EXPECT_EQ(differ, callback.size()) << "first difference at frame " << differ / 2;
    // The run is no silence: the music and the effects are there.
    int peak = 0;
    for (int16_t s : runner) peak = std::max(peak, std::abs(int(s)));
    EXPECT_GT(peak, 3000);
}

TEST(SimAudio, ASoundFileThatCannotBeWrittenFailsTheRun) {
    const SimRun full = RunSim({"--ticks", "300", "--audio", "/dev/full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "tinselrun-sim: cannot write /dev/full: No space left on device\n");
    ASSERT_GE(full.trace.size(), 1u) << "the trace holds the ticks up to the failure";
    EXPECT_LT(full.trace.size(), 301u);

    SimDir dir;
    const SimRun nowhere = RunSim({"--audio", dir.Path("no/such/dir/a.wav")});
    EXPECT_EQ(nowhere.status, 2);
    EXPECT_EQ(nowhere.err.find("tinselrun-sim: cannot write " + dir.Path("no/such/dir/a.wav")), 0u)
        << nowhere.err;
    EXPECT_EQ(nowhere.err.find('\n'), nowhere.err.size() - 1) << nowhere.err;
}

}  // namespace
