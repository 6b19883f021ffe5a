#include "app/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmdline/cmdline.h"

namespace {

using app::GameOptions;

GameOptions Parsed(const std::vector<std::string>& args) {
    GameOptions options;
    std::string error;
    EXPECT_TRUE(app::ParseGameOptions(args, &options, &error)) << error;
    return options;
}

struct Refused {
    std::vector<std::string> args;
    const char* says;
};

void PrintTo(const Refused& bad, std::ostream* out) {
    for (const std::string& arg : bad.args) *out << arg << '_';
}

class GameOptionsRefuse : public testing::TestWithParam<Refused> {};

// One line that names the option and points to --help, and nothing taken from a bad line.
TEST_P(GameOptionsRefuse, WithOneLineNamingItAndPointingToHelp) {
    GameOptions options;
    options.scale = 5;
    std::string error;
    ASSERT_FALSE(app::ParseGameOptions(GetParam().args, &options, &error));
    EXPECT_NE(error.find(GetParam().says), std::string::npos) << error;
    EXPECT_EQ(error.size() - error.rfind(" (try --help)"), 13u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_EQ(options.scale, 5);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Options, GameOptionsRefuse,
    testing::Values(
        Refused{{"--fulscreen"}, "unknown option '--fulscreen'"},
        Refused{{"--full"}, "unknown option '--full'"},  // no abbreviations
        Refused{{"--vol=50"}, "unknown option '--vol'"},
        Refused{{"-x"}, "unknown option '-x'"},
        Refused{{"level2"}, "unexpected argument 'level2'"},
        Refused{{"--mute", "--", "--mute"}, "unexpected argument '--mute'"},
        Refused{{"--scale"}, "--scale needs a value"},
        Refused{{"--scale", "0"}, "--scale wants a whole number from 1 to 8, not '0'"},
        Refused{{"--scale", "2.5"}, "--scale wants"},
        Refused{{"--scale", "2", "--scale", "3"}, "--scale given twice"},
        Refused{{"--volume", "101"}, "--volume wants a whole number from 0 to 100"},
        Refused{{"--volume", "00100"}, "--volume wants"},
        Refused{{"--mute=1"}, "--mute takes no value"},
        Refused{{"--speed", "55"}, "--speed wants 100, 90, 80, 70, 60 or 50, not '55'"},
        Refused{{"--speed", "40"}, "--speed wants"},
        Refused{{"--fullscreen", "--windowed"}, "cannot both be given"},
        Refused{{"--record", ""}, "--record needs a value"}));
// clang-format on

// The command line wins for this run; what it does not name stays as kept.
TEST(GameOptions, OverrideTheKeptSettingsForTheRun) {
    Settings kept;
    kept.fullscreen = true;
    kept.windowWidth = 1001;
    kept.windowHeight = 557;
    kept.volume = 35;
    kept.pauseOnFocusLoss = false;
    EXPECT_EQ(app::WithOptions(kept, Parsed({})), kept);

    Settings want = kept;
    want.fullscreen = false;
    want.scale = 2;  // the kept size gives way to the scale asked for
    want.windowWidth = want.windowHeight = 0;
    want.integerScale = true;
    want.volume = 0;
    want.mute = true;
    want.autoFire = true;
    want.gameSpeed = 60;
    const GameOptions options =
        Parsed({"--windowed", "--scale", "2", "--integer-scale", "--volume=0", "--mute", "--record",
                "r", "--replay=p", "--trace", "-", "--auto-fire", "--speed", "60"});
    EXPECT_EQ(app::WithOptions(kept, options), want);
    EXPECT_EQ(options.recordPath + options.replayPath + options.tracePath, "rp-");
    EXPECT_TRUE(app::WithOptions(Settings{}, Parsed({"--fullscreen"})).fullscreen);
}

// The parser starts afresh on every call, whatever the last one left behind.
TEST(CommandLine, EachParseStartsAfresh) {
    const std::vector<cmdline::OptionRule> rules = {{"a", true, true}, {"b", false, true}};
    std::vector<cmdline::Given> given;
    std::string error;
    EXPECT_FALSE(cmdline::Parse({"--a"}, rules, &given, &error));
    EXPECT_FALSE(cmdline::Parse({"--b", "--c"}, rules, &given, &error));
    ASSERT_TRUE(cmdline::Parse({"--b", "--a", "--b", "--a=x=y"}, rules, &given, &error)) << error;
    ASSERT_EQ(given.size(), 3u);
    EXPECT_EQ(given[0].name, "b");
    EXPECT_EQ(given[1].name, "a");
    EXPECT_EQ(given[1].value, "--b");  // a value may start with dashes
    EXPECT_EQ(given[2].value, "x=y");
}

}  // namespace
