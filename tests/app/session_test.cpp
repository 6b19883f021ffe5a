// The game's recording, replay and trace: a session played here on the headless backend, tick
// by tick as the real loop plays it, then replayed here and by the runner to the same trace.
#include "record/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "support/game_session.h"
#include "support/sim_runner.h"

namespace {

using record::HOLD_DOWN, record::HOLD_LEFT, record::HOLD_RETURN, record::HOLD_RIGHT,
    record::HOLD_SPACE, record::HOLD_UP;

// Menus, the stage with movement and fire, an F1 round trip, a spell in another window with
// keys still down (which pauses the game until P), and Escape.
Input PlayerAt(int64_t t) {
    Input in;
    if (t <= 30 || (t >= 100 && t <= 125)) in.held |= HOLD_RETURN;
    if (t >= 200 && t <= 420) in.held |= HOLD_RIGHT;
    if (t >= 220 && t <= 600 && t % 40 < 25) in.held |= HOLD_SPACE;
    if (t >= 300 && t <= 330) in.held |= HOLD_UP;
    if (t >= 450 && t <= 470) in.held |= HOLD_LEFT | HOLD_DOWN;
    if (t == 250 || t == 251) in.keyDowns.push_back(plat::VK_F1);
    if (t >= 380 && t <= 400) in.focused = false;
    if (t == 410) in.keyDowns.push_back(plat::VK_P);
    if (t == 700) in.keyDowns.push_back(plat::VK_ESCAPE);
    return in;
}

TEST(RecordAndReplay, ASessionReplaysToItsOwnTraceHereAndInTheRunner) {
    SimDir dir;
    const std::string recording = dir.Path("session.txt");
    KeysSeen seen;
    record::RecordHook recorder;
    record::TraceHook trace;
    ASSERT_TRUE(recorder.Open(recording, "test session"));
    ASSERT_TRUE(trace.Open(dir.Path("played.jsonl")));
    // Whatever becomes of the game, every tick so far is on disk and reads back as it was.
    auto onDisk = [&](int64_t t) {
        if (t % 97 != 0) return;
        record::Script script;
        std::string error;
        ASSERT_TRUE(record::LoadScript(recording, &script, &error)) << error;
        record::ScriptCursor cursor(script);
        for (size_t tick = 1; tick <= seen.held.size(); ++tick) {
            ASSERT_EQ(cursor.Next().held, seen.held[tick - 1]) << "tick " << tick << " at " << t;
        }
    };
    Play(PlayerAt, 1000, {&recorder, &trace, &seen}, onDisk);
    // Passes 380 to 409 are paused; P before pass 410 resumes it, and Escape ends it before 700.
    ASSERT_EQ(seen.held.size(), 699u - 30);
    const std::string played = ReadAll(dir.Path("played.jsonl"));
    ASSERT_EQ(std::count(played.begin(), played.end(), '\n'), 699 - 30 + 1);

    // Replayed here, with other keys down and other F1s on the live keyboard.
    record::Script script;
    std::string error;
    ASSERT_TRUE(record::LoadScript(recording, &script, &error)) << error;
    record::ScriptFeed replay(std::move(script));
    record::TraceHook again;
    ASSERT_TRUE(again.Open(dir.Path("replayed.jsonl")));
    auto meddler = [](int64_t t) {
        Input in;
        in.held = HOLD_LEFT | HOLD_SPACE;
        if (t % 100 == 7) in.keyDowns.push_back(plat::VK_F1);
        return in;
    };
    Play(meddler, 1000, {&again}, nullptr, &replay);
    EXPECT_EQ(ReadAll(dir.Path("replayed.jsonl")), played);

    const SimRun sim = RunSim({"--input", recording, "--ticks", "669"});
    ASSERT_EQ(sim.status, 0) << sim.err;
    EXPECT_EQ(sim.traceText, played);
}

TEST(RecordAndReplay, RunsOfTicksAreMergedAndKeyDownsComeBeforeTheirTick) {
    SimDir dir;
    record::RecordHook recorder;
    ASSERT_TRUE(recorder.Open(dir.Path("r.txt"), "heading"));
    auto plan = [](int64_t t) {
        Input in;
        if (t <= 3) in.held = HOLD_RIGHT;
        if (t == 5 || t == 6) in.held = HOLD_SPACE | HOLD_RIGHT;
        if (t == 6) in.keyDowns = {plat::VK_F1, plat::VK_F1};
        if (t == 8) in.keyDowns = {plat::VK_ESCAPE};
        return in;
    };
    Play(plan, 20, {&recorder});
    EXPECT_EQ(ReadAll(dir.Path("r.txt")),
              "# heading\n1-3 RIGHT\n5 RIGHT SPACE\n6 F1 F1\n6 RIGHT SPACE\n8 ESCAPE\n# 7 ticks\n");
}

TEST(RecordAndReplay, TheLiveKeysTakeOverWhenTheScriptEnds) {
    record::Script script;
    record::ScriptError error;
    ASSERT_TRUE(record::ParseScript("1-5 LEFT\n3 F1\n", &script, &error));
    record::ScriptFeed replay(std::move(script));
    KeysSeen seen;
    std::vector<uint8_t> windowed;
    auto plan = [](int64_t t) {
        Input in;
        in.held = HOLD_RIGHT;
        if (t == 2 || t == 8) in.keyDowns.push_back(plat::VK_F1);
        return in;
    };
    Play(
        plan, 9, {&seen}, [&](int64_t) { windowed.push_back(g_windowed); }, &replay);
    EXPECT_EQ(seen.held,
              (std::vector<uint8_t>{HOLD_LEFT, HOLD_LEFT, HOLD_LEFT, HOLD_LEFT, HOLD_LEFT,
                                    HOLD_RIGHT, HOLD_RIGHT, HOLD_RIGHT, HOLD_RIGHT}));
    // Before each tick: the live F1 before tick 2 is not taken, the script's before 3 is, and
    // the live one before 8 is taken once the script has run out.
    EXPECT_EQ(windowed, (std::vector<uint8_t>{1, 1, 1, 0, 0, 0, 0, 0, 1}));
}

// A command line that cannot run says so in one line with status 2, and writes nothing.
TEST(RecordAndReplay, ABadRecordingOrClashingFilesEndTheGameBeforeItStarts) {
    SimDir dir;
    std::ofstream(dir.Path("bad.txt")) << "# fine\n1-10 RIGHT\n12 JUMP\n";
    std::ofstream(dir.Path("good.txt")) << "1 RIGHT\n";
    std::filesystem::create_hard_link(dir.Path("good.txt"), dir.Path("linked.txt"));
    const std::string out = dir.Path("out.txt");
    struct Case {
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        {{"--record", out, "--replay", dir.Path("bad.txt")},
         dir.Path("bad.txt") + ":3: unknown key 'JUMP'"},
        {{"--replay", dir.Path("none.txt")}, "cannot read " + dir.Path("none.txt")},
        {{"--record", dir.Path("no/such/folder.txt")}, "cannot write"},
        {{"--replay", dir.Path("good.txt"), "--trace", dir.Path("./good.txt")},
         "--replay " + dir.Path("good.txt") + " and --trace " + dir.Path("./good.txt") +
             " are the same file"},
        {{"--replay", dir.Path("good.txt"), "--trace", dir.Path("linked.txt")},
         "--replay " + dir.Path("good.txt") + " and --trace " + dir.Path("linked.txt")},
        {{"--replay", dir.Path("good.txt"), "--record", dir.Path("linked.txt")},
         "and --record " + dir.Path("linked.txt")},
        {{"--record", out, "--trace", out}, "--record " + out + " and --trace " + out},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words = {"tinselrun"};
        words.insert(words.end(), c.args.begin(), c.args.end());
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        testing::internal::CaptureStderr();
        const int status = RunGame(static_cast<int>(words.size()), argv.data());
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 2) << err;
        EXPECT_EQ(err.rfind("tinselrun: ", 0), 0u) << err;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_FALSE(std::filesystem::exists(out)) << err;
    }
    EXPECT_EQ(ReadAll(dir.Path("good.txt")), "1 RIGHT\n");
}

}  // namespace
