#include "options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/dxmain.h"

namespace {

TEST(RunnerOptions, EveryOptionIsRead) {
    sim::Options options;
    std::string error;
    ASSERT_TRUE(sim::ParseOptions(
        {"--ticks", "0", "--scene", "ED", "--input", "in.txt", "--trace", "-", "--snapshot",
         "0:a.png", "--audio", "x.wav", "--snapshot", "0:dir:with:colons.png", "--assets", "data"},
        &options, &error))
        << error;
    EXPECT_EQ(options.ticks, 0);
    EXPECT_EQ(options.scene, uint32_t{SCENE_ED});
    EXPECT_EQ(options.inputPath, "in.txt");
    EXPECT_EQ(options.tracePath, "-");
    ASSERT_EQ(options.snapshots.size(), 2u);
    EXPECT_EQ(options.snapshots[1].tick, 0);
    EXPECT_EQ(options.snapshots[1].path, "dir:with:colons.png");
    EXPECT_EQ(options.audioPath, "x.wav");
    EXPECT_EQ(options.assetsDir, "data");

    ASSERT_TRUE(sim::ParseOptions({}, &options, &error)) << error;
    EXPECT_EQ(options.ticks, 600);
    EXPECT_EQ(options.scene, uint32_t{SCENE_OP});
    EXPECT_TRUE(options.tracePath.empty());

    for (const auto& [name, id] : std::vector<std::pair<std::string, uint32_t>>{
             {"OP", SCENE_OP}, {"GAMETIME", SCENE_GAMETIME}, {"GAMEOVER", SCENE_GAMEOVER}}) {
        ASSERT_TRUE(sim::ParseOptions({"--scene", name}, &options, &error)) << error;
        EXPECT_EQ(options.scene, id) << name;
    }
}

struct BadOptions {
    std::vector<std::string> args;
    const char* says;
};

void PrintTo(const BadOptions& bad, std::ostream* out) {
    for (const std::string& arg : bad.args) *out << arg << '_';
}

class RunnerOptionsRefuse : public testing::TestWithParam<BadOptions> {};

TEST_P(RunnerOptionsRefuse, WithAMessageNamingTheProblem) {
    sim::Options options;
    options.ticks = 77;
    std::string error;
    ASSERT_FALSE(sim::ParseOptions(GetParam().args, &options, &error));
    EXPECT_NE(error.find(GetParam().says), std::string::npos) << error;
    EXPECT_EQ(options.ticks, 77);  // untouched
}

INSTANTIATE_TEST_SUITE_P(
    Options, RunnerOptionsRefuse,
    testing::Values(BadOptions{{"--tick", "5"}, "unknown option '--tick'"},
                    BadOptions{{"--ticks"}, "--ticks needs a value"},
                    BadOptions{{"--ticks", "-1"}, "--ticks wants"},
                    BadOptions{{"--ticks", "99999999999999999999"}, "--ticks wants"},
                    BadOptions{{"--ticks", "2147483648"}, "--ticks wants"},
                    BadOptions{{"--ticks", "5", "--ticks", "6"}, "--ticks given twice"},
                    BadOptions{{"--scene", "op"}, "--scene wants"},
                    BadOptions{{"--snapshot", "x:a.png"}, "--snapshot wants"},
                    BadOptions{{"--snapshot", "5:"}, "--snapshot wants"},
                    BadOptions{{"--ticks", "10", "--snapshot", "11:a.png"}, "past the last"},
                    BadOptions{{"--input", ""}, "--input needs a value"}));

}  // namespace
