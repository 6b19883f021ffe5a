// The runner end to end: the real binary on scripts, checked through its trace and files.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/dxmain.h"
#include "shell/graphics.h"
#include "support/sim_runner.h"

namespace {

// Trace lines must come back as JSON, one per tick, numbered from 0.
void ExpectWholeTrace(const SimRun& run, size_t lines) {
    ASSERT_EQ(run.badTraceLine, 0) << run.traceText.substr(0, 500);
    ASSERT_EQ(run.trace.size(), lines) << run.err;
    for (size_t t = 0; t < run.trace.size(); ++t) ASSERT_EQ(run.trace[t]["tick"], t);
}

// The stderr of a refused run: exactly one line, from the runner.
void ExpectOneErrorLine(const SimRun& run, const std::string& says) {
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("tinselrun-sim: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_TRUE(run.traceText.empty());
}

TEST(SimRunIsRepeatable, TwoRunsGiveByteIdenticalTraces) {
    const std::string script = "1-200 RETURN\n300-420 RIGHT UP\n350-900 SPACE\n500-560 LEFT DOWN\n";
    const SimRun first = RunSim({"--ticks", "900"}, script);
    const SimRun second = RunSim({"--ticks", "900"}, script);
    ASSERT_EQ(first.status, 0) << first.err;
    ExpectWholeTrace(first, 901);
    EXPECT_EQ(first.traceText, second.traceText);

    const SimRun stage = RunSim({"--ticks", "600", "--scene", "GAMETIME"}, "1-600 SPACE UP\n");
    ASSERT_EQ(stage.status, 0) << stage.err;
    EXPECT_EQ(stage.traceText,
              RunSim({"--ticks", "600", "--scene", "GAMETIME"}, "1-600 SPACE UP\n").traceText);
}

TEST(SimTraceHoldsEveryTick, FromStartUpToTheLast) {
    const SimRun run = RunSim({"--ticks", "30"});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectWholeTrace(run, 31);
    for (const nlohmann::json& line : run.trace) {
        for (const char* key : {"served", "globals", "tasks", "sounds"}) {
            ASSERT_TRUE(line.contains(key)) << key;
        }
        EXPECT_EQ(line["globals"].size(), 7u);
    }
    const SimRun none = RunSim({"--ticks", "0"});
    ASSERT_EQ(none.status, 0) << none.err;
    ExpectWholeTrace(none, 1);

    // "-" puts the same text on standard output.
    const SimRun out = RunSim({"--ticks", "30", "--trace", "-"});
    EXPECT_EQ(out.traceText, run.traceText);
}

TEST(SimStartUp, TickZeroHoldsTheStartUpSceneAndItsSounds) {
    const SimRun run = RunSim({"--ticks", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectWholeTrace(run, 2);
    const nlohmann::json& zero = run.trace[0];
    EXPECT_TRUE(zero["served"].is_null());
    EXPECT_EQ(zero["globals"]["sceneChange"], 1);  // the opening is asked for
    EXPECT_EQ(zero["globals"]["nextScene"], SCENE_OP);
    // Start-up links its stage last, so it heads the list; its Init started the stage music.
    ASSERT_FALSE(zero["tasks"].empty());
    EXPECT_EQ(zero["tasks"][0]["class"], "GameTime");
    EXPECT_EQ(zero["tasks"][0]["stageFrame"], 0);
    EXPECT_EQ(zero["sounds"], (nlohmann::json{{{"call", "PlaySoundLoop"}, {"slot", 12}}}));
    // Tick 1 throws it away before it is ever updated: its destructor's call comes first.
    const nlohmann::json& one = run.trace[1];
    EXPECT_EQ(FindTask(one, "GameTime"), nullptr);
    ASSERT_FALSE(one["sounds"].empty());
    EXPECT_EQ(one["sounds"][0], (nlohmann::json{{"call", "StopSound"}, {"slot", 12}}));
}

struct SceneCase {
    const char* option;
    uint32_t id;
    const char* className;
};

void PrintTo(const SceneCase& scene, std::ostream* out) {
    *out << scene.option;
}

class SimSceneOption : public testing::TestWithParam<SceneCase> {};

TEST_P(SimSceneOption, ServesThatSceneInTickOne) {
    const SceneCase& scene = GetParam();
    const SimRun run = RunSim({"--ticks", "3", "--scene", scene.option});
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectWholeTrace(run, 4);
    // Only the start-up value of the request changes: tick 0 is the usual start-up.
    EXPECT_EQ(run.trace[0]["globals"]["nextScene"], scene.id);
    EXPECT_EQ(run.trace[0]["globals"]["sceneChange"], 1);
    EXPECT_TRUE(run.trace[0]["served"].is_null());
    EXPECT_EQ(run.trace[1]["served"], scene.className);
    EXPECT_NE(FindTask(run.trace[1], scene.className), nullptr);
    EXPECT_EQ(run.trace[1]["globals"]["sceneChange"], 0);
    EXPECT_TRUE(run.trace[2]["served"].is_null());
    EXPECT_TRUE(run.trace[3]["served"].is_null());
}

INSTANTIATE_TEST_SUITE_P(Scenes, SimSceneOption,
                         testing::Values(SceneCase{"OP", SCENE_OP, "OP"},
                                         SceneCase{"GAMETIME", SCENE_GAMETIME, "GameTime"},
                                         SceneCase{"GAMEOVER", SCENE_GAMEOVER, "GAMEOVER"},
                                         SceneCase{"ED", SCENE_ED, "ED"}),
                         [](const auto& test) { return std::string(test.param.option); });

TEST(SimScriptReachesTheGame, SpaceOnTickFiveChoosesTheOneLifeRunThen) {
    const SimRun run = RunSim({"--ticks", "8"}, "5 SPACE\n");
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectWholeTrace(run, 9);
    EXPECT_EQ(run.trace[4]["globals"]["oneLifeMode"], 0);
    EXPECT_EQ(run.trace[5]["globals"]["oneLifeMode"], 1);
    EXPECT_EQ(run.trace[8]["globals"]["oneLifeMode"], 1);
}

TEST(SimScriptReachesTheGame, ReturnHeldFromTheStartReachesTheStageAtTick172) {
    // The worked example of the runner's guide. Enter cuts the opening short in tick 1; the
    // title takes it from its 120th update and fades for 50 more, so its request is served in
    // tick 172.
    const std::string script =
        SimReadFile(std::string(TINSELRUN_SOURCE_DIR) + "/tests/sim/scripts/enter_to_stage.txt");
    ASSERT_FALSE(script.empty());
    const SimRun run = RunSim({"--ticks", "240"}, script);
    ASSERT_EQ(run.status, 0) << run.err;
    ExpectWholeTrace(run, 241);
    EXPECT_EQ(run.trace[1]["served"], "OP");
    EXPECT_NE(FindTask(run.trace[1], "Title"), nullptr);
    for (int t = 2; t < 172; ++t) ASSERT_TRUE(run.trace[t]["served"].is_null()) << t;
    EXPECT_EQ(run.trace[172]["served"], "GameTime");
    EXPECT_EQ(FindTask(run.trace[172], "GameTime")->at("stageFrame"), 1);
    // The title's destructor stops the opening music before the stage starts its own.
    EXPECT_EQ(run.trace[172]["sounds"],
              (nlohmann::json{{{"call", "StopSound"}, {"slot", 15}},
                              {{"call", "PlaySoundLoop"}, {"slot", 12}}}));

    // CRLF line endings read the same.
    std::string crlf;
    for (char c : script) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(RunSim({"--ticks", "240"}, crlf).traceText, run.traceText);
}

TEST(SimEscape, EndsTheTraceAfterTheLastCompleteTick) {
    const SimRun run = RunSim({"--ticks", "100"}, "50 ESCAPE\n60-70 RIGHT\n");
    EXPECT_EQ(run.status, 0) << run.err;
    ExpectWholeTrace(run, 50);  // ticks 0 to 49

    const SimRun first = RunSim({"--ticks", "100"}, "1 ESCAPE\n");
    EXPECT_EQ(first.status, 0) << first.err;
    ExpectWholeTrace(first, 1);

    // The same ticks as a run that was not cut short.
    const SimRun whole = RunSim({"--ticks", "49"});
    EXPECT_EQ(run.traceText, whole.traceText);
}

TEST(SimF1, TogglesTheDisplayWithoutChangingTheGame) {
    const SimRun plain = RunSim({"--ticks", "60"});
    const SimRun toggled = RunSim({"--ticks", "60"}, "10 F1\n20-23 F1\n");
    ASSERT_EQ(toggled.status, 0) << toggled.err;
    EXPECT_EQ(plain.traceText, toggled.traceText);
}

TEST(SimRefusesBadInput, AScriptErrorExitsTwoNamingItsLineAndRunsNothing) {
    SimDir dir;
    const std::string trace = dir.Path("trace.jsonl");
    const SimRun run = RunSim({"--trace", trace}, "1 RETURN\n# fine\n3 FOO\n");
    ExpectOneErrorLine(run, "input.txt:3: unknown key 'FOO'");
    EXPECT_FALSE(std::filesystem::exists(trace));

    ExpectOneErrorLine(RunSim({"--trace", "-"}, "5-2 LEFT\n"), "input.txt:1: range '5-2'");
    ExpectOneErrorLine(RunSim({}, "1 LEFT\n99999999999 UP\n"), "input.txt:2: tick");
    ExpectOneErrorLine(RunSim({}, std::string("1 LEFT\n\x7F"
                                              "ELF\0\0\n",
                                              12)),
                       "input.txt:2: unexpected byte");
    ExpectOneErrorLine(RunSim({}, "1 " + std::string(5000, 'X') + "\n"), "input.txt:1: line");
}

TEST(SimRefusesBadInput, AnUnreadableScriptExitsTwo) {
    SimDir dir;
    ExpectOneErrorLine(RunSim({"--input", dir.Path("missing.txt")}),
                       "cannot read " + dir.Path("missing.txt"));
    std::filesystem::create_directory(dir.Path("folder"));
    ExpectOneErrorLine(RunSim({"--input", dir.Path("folder")}), "cannot read");
    // An output written over the script, by another name or through a hard link, or two
    // outputs in one file, would lose what was there.
    const std::string run = dir.Path("run.txt"), linked = dir.Path("linked.txt");
    std::ofstream(run) << "1-5 RIGHT\n";
    std::filesystem::create_hard_link(run, linked);
    const std::string fresh = dir.Path("fresh.out");
    const struct {
        std::vector<std::string> args;
        std::string says;
    } clashes[] = {
        {{"--trace", dir.Path("folder/../run.txt")},
         "--input " + run + " and --trace " + dir.Path("folder/../run.txt")},
        {{"--trace", linked}, "--input " + run + " and --trace " + linked},
        {{"--audio", linked}, "--input " + run + " and --audio " + linked},
        {{"--snapshot", "2:" + linked}, "--input " + run + " and --snapshot " + linked},
        {{"--trace", fresh, "--audio", fresh}, "--trace " + fresh + " and --audio " + fresh},
    };
    for (const auto& clash : clashes) {
        std::vector<std::string> args = {"--input", run, "--ticks", "5"};
        args.insert(args.end(), clash.args.begin(), clash.args.end());
        const SimRun refused = RunSim(args);
        EXPECT_EQ(refused.status, 2) << clash.says;
        EXPECT_EQ(refused.err, "tinselrun-sim: " + clash.says + " are the same file\n");
    }
    EXPECT_EQ(SimReadFile(run), "1-5 RIGHT\n");
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

TEST(SimRefusesBadInput, BadOptionsExitTwoWithOneLine) {
    SimDir dir;
    ExpectOneErrorLine(RunSim({"--frames", "5"}), "unknown option '--frames'");
    ExpectOneErrorLine(RunSim({"--ticks", "ten"}), "--ticks wants");
    ExpectOneErrorLine(RunSim({"--ticks"}), "--ticks needs a value");
    ExpectOneErrorLine(RunSim({"--scene", "TITLE"}), "--scene wants");
    ExpectOneErrorLine(RunSim({"--ticks", "5", "--snapshot", "6:a.png"}), "past the last");
    ExpectOneErrorLine(RunSim({"--assets", dir.Path("nowhere")}), "not a folder");
    ExpectOneErrorLine(RunSim({"--trace", dir.Path("no/such/dir/t.jsonl")}), "cannot write");
    ExpectOneErrorLine(RunSim({"--scene", "OP\nED"}), "--scene wants");  // still one line
}

// The picture in the frame buffer as opaque ARGB, row by row, as a picture file holds it: a blend
// leaves the frame's own alpha a little under full, which no picture of it keeps.
std::vector<uint32_t> CurrentFrame() {
    const plat::headless::Frame frame = plat::headless::ReadFrame();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            pixels.push_back(frame.pixels[y * frame.pitch + x] | 0xFF000000u);
        }
    }
    return pixels;
}

// A PNG as ARGB; empty when it cannot be read or is not 800 x 600.
std::vector<uint32_t> ReadPicture(const std::string& path) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) return {};
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    std::vector<uint32_t> pixels;
    if (argb != nullptr && argb->w == 800 && argb->h == 600) {
        for (int y = 0; y < argb->h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch);
            pixels.insert(pixels.end(), row, row + argb->w);
        }
    }
    SDL_FreeSurface(argb);
    return pixels;
}

TEST(SimSnapshots, ArePicturesOfWhatTheDrawPassDrew) {
    InstallScenes();
    const std::string assets = AssetDir();
    SimDir dir;
    const SimRun run =
        RunSim({"--ticks", "120", "--assets", assets, "--snapshot", "0:" + dir.Path("0.png"),
                "--snapshot", "1:" + dir.Path("1.png"), "--snapshot", "1:" + dir.Path("1b.png"),
                "--snapshot", "120:" + dir.Path("120.png")});
    ASSERT_EQ(run.status, 0) << run.err;
    // Drawing for a snapshot changes nothing in the game.
    EXPECT_EQ(run.traceText, RunSim({"--ticks", "120", "--assets", assets}).traceText);

    const auto zero = ReadPicture(dir.Path("0.png"));
    const auto one = ReadPicture(dir.Path("1.png"));
    ASSERT_EQ(zero.size(), 800u * 600u);
    ASSERT_EQ(one.size(), 800u * 600u);
    EXPECT_EQ(ReadPicture(dir.Path("1b.png")), one);

    // The same start-up and first tick here, drawn by the draw pass itself.
    const uint8_t noKeys[256] = {};
    plat::headless::SetKeys(noKeys);
    GameStart start;
    start.draw = false;
    ASSERT_EQ(StartGame(start), START_OK);
    DrawFrame();
    const bool zeroMatches = CurrentFrame() == zero;
    const int result = StepTick();
    DrawFrame();
    const bool oneMatches = CurrentFrame() == one;
    const bool havePictures = TextureEntry(11) != nullptr;  // the opening's back picture
    StopGame();
    EXPECT_EQ(result, FRAME_UPDATE_DRAW);
    EXPECT_TRUE(zeroMatches);
    EXPECT_TRUE(oneMatches);

    // The opening scrolls: two seconds on, its picture has moved.
    if (!havePictures) GTEST_SKIP() << "no pictures in " << assets;
    EXPECT_NE(ReadPicture(dir.Path("120.png")), one);
}

// The game-over screen sets no sprite transform and draws with what the last draw pass left. A
// snapshot of a stage frame ends on a 4x one; the frames drawn after it must not keep it.
TEST(SimSnapshots, AreTheSameTakenTogetherOrAlone) {
    const std::string script = SimReadFile(TINSELRUN_SOURCE_DIR "/tests/traces/one_life.txt");
    SimDir dir;
    const SimRun together = RunSim({"--ticks", "1530", "--snapshot", "1300:" + dir.Path("a.png"),
                                    "--snapshot", "1530:" + dir.Path("b.png")},
                                   script);
    const SimRun alone =
        RunSim({"--ticks", "1530", "--snapshot", "1530:" + dir.Path("c.png")}, script);
    ASSERT_EQ(together.status, 0) << together.err;
    ASSERT_EQ(alone.status, 0) << alone.err;
    ASSERT_EQ(together.trace.at(1522)["served"], "GAMEOVER");
    const auto b = ReadPicture(dir.Path("b.png"));
    ASSERT_EQ(b.size(), 800u * 600u);
    EXPECT_TRUE(b == ReadPicture(dir.Path("c.png")));
}

TEST(SimAudio, WritesTheRunAsAStereoWav) {
    SimDir dir;
    const std::string wav = dir.Path("run.wav");
    const SimRun run = RunSim({"--ticks", "120", "--audio", wav});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.traceText, RunSim({"--ticks", "120"}).traceText);
    const std::string data = SimReadFile(wav);
    ASSERT_GE(data.size(), 44u);
    EXPECT_EQ(data.substr(0, 4), "RIFF");
    EXPECT_EQ(data.substr(8, 4), "WAVE");
    uint16_t channels = 0;
    uint32_t rate = 0;
    std::memcpy(&channels, data.data() + 22, 2);
    std::memcpy(&rate, data.data() + 24, 4);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 44100u);
}

}  // namespace
