#include "record/trace.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

#include "game/globals.h"
#include "shell/dxmain.h"
#include "tasks/node.h"

namespace {

std::string FloatText(float v) {
    std::string out;
    record::AppendFloat(out, v);
    return out;
}

TEST(TraceNumbers, FloatsReadBackExactlyInTheirShortestForm) {
    EXPECT_EQ(FloatText(0.5f), "0.5");
    EXPECT_EQ(FloatText(100.0f), "100");
    EXPECT_EQ(FloatText(-300.0f), "-300");
    EXPECT_EQ(FloatText(795.5f), "795.5");
    EXPECT_EQ(FloatText(0.1f), "0.1");
    for (float v : {16.666666f, 1.0f / 3.0f, 1e-45f, 3.4028235e38f, -0.0f, 123456.79f}) {
        const std::string text = FloatText(v);
        float back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << text;
        EXPECT_EQ(back, v) << text;
        EXPECT_TRUE(nlohmann::json::accept(text)) << text;
    }
    // JSON has no NaN or infinity.
    EXPECT_EQ(FloatText(std::numeric_limits<float>::quiet_NaN()), "null");
    EXPECT_EQ(FloatText(-std::numeric_limits<float>::infinity()), "null");
}

// Two stand-ins for game tasks, each reporting its own fields.
class Walker : public NodeBaseClass {
public:
    const char* ClassName() const override { return "Walker"; }
    void Describe(TaskFields& out) const override {
        out.Vec("pos", 12.5f, -3.0f);
        out.Int("timer", 7);
        out.Float("vy", -0.25f);
        out.Rect("srcRect", 16, 0, 32, 16);
    }
};

class Quiet : public NodeBaseClass {
public:
    const char* ClassName() const override { return "Quiet"; }
};

class TraceLine : public testing::Test {
protected:
    void SetUp() override { InitTaskList(); }
    void TearDown() override { ReleaseTaskList(); }

    nlohmann::json Line(int64_t tick, const char* served,
                        const std::vector<SoundCall>& sounds = {}) {
        std::string out;
        record::AppendTickLine(out, tick, served, sounds);
        EXPECT_EQ(out.back(), '\n');
        EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line per tick";
        return nlohmann::json::parse(out);
    }
};

// The page's standard library has no std::to_chars for floats: its own writer must give the
// same bytes, or the page's trace would differ from the runner's.
TEST(TraceNumbers, ThePagesFloatWriterWritesWhatToCharsWrites) {
    auto same = [](float v) {
        char ours[80], theirs[80];
        const std::string a(ours, record::ShortestFloatText(v, ours));
        const std::string b(theirs, std::to_chars(theirs, theirs + sizeof theirs, v).ptr);
        return a == b ? std::string() : a + " against " + b;
    };
    // Every sixteenth of a pixel over the playfield and beyond, as positions and speeds go.
    for (int k = -40000; k <= 40000; ++k) ASSERT_EQ(same(static_cast<float>(k) / 16.0f), "") << k;
    // Powers of two and their neighbours (where the rounding interval is lopsided), and a
    // million floats of every magnitude, denormals included.
    uint32_t bits = 0x12345678u;
    for (int i = 0; i < 200000; ++i) {
        bits = bits * 1664525u + 1013904223u;
        float v;
        if (i < 2 * 254) {
            v = std::ldexp(1.0f, i / 2 - 126);
            if (i % 2) v = std::nextafter(v, 0.0f);
        } else {
            std::memcpy(&v, &bits, sizeof v);
        }
        if (!std::isfinite(v)) continue;
        ASSERT_EQ(same(v), "") << bits;
    }
}

TEST_F(TraceLine, ListsTasksNewestFirstWithTheirOwnFieldsInOrder) {
    auto* quiet = new Quiet;
    quiet->priority = -1;
    AddTask(quiet);
    auto* walker = new Walker;
    walker->priority = 30;
    walker->state = TASK_DEAD;  // still linked, so still listed
    AddTask(walker);

    std::string out;
    record::AppendTickLine(out, 3, nullptr, {});
    const nlohmann::json line = nlohmann::json::parse(out);
    ASSERT_EQ(line["tasks"].size(), 2u);  // the sentinels stay out
    EXPECT_EQ(line["tasks"][1],
              (nlohmann::json{{"class", "Quiet"}, {"state", 2}, {"priority", -1}}));
    const auto& w = line["tasks"][0];
    EXPECT_EQ(w["class"], "Walker");
    EXPECT_EQ(w["state"], TASK_DEAD);
    EXPECT_EQ(w["priority"], 30);
    EXPECT_EQ(w["pos"], (nlohmann::json{12.5, -3.0}));
    EXPECT_EQ(w["timer"], 7);
    EXPECT_EQ(w["vy"], -0.25);
    EXPECT_EQ(w["srcRect"], (nlohmann::json{16, 0, 32, 16}));
    // Field order is part of the text, so diffs of two traces line up.
    EXPECT_NE(out.find(R"("class":"Walker","state":0,"priority":30,"pos":[12.5,-3],"timer":7,)"
                       R"("vy":-0.25,"srcRect":[16,0,32,16]})"),
              std::string::npos)
        << out;
}

TEST_F(TraceLine, CarriesTickServedSceneGlobalsAndSoundsInCallOrder) {
    g_lives = 15;
    g_oneLifeMode = 1;
    g_stageClear = 1;
    g_deathSound = 4;
    g_santaPos = {100.5f, 300.0f, 9.0f};
    g_sceneChange = 0;
    g_nextScene = 3;
    const nlohmann::json line =
        Line(172, "GameTime", {{"StopSound", 15}, {"PlaySoundLoop", 12}, {"StopAllSounds", -1}});
    EXPECT_EQ(line["tick"], 172);
    EXPECT_EQ(line["served"], "GameTime");
    EXPECT_EQ(line["globals"], (nlohmann::json{{"lives", 15},
                                               {"oneLifeMode", 1},
                                               {"stageClear", 1},
                                               {"deathSound", 4},
                                               {"santaPos", {100.5, 300.0}},
                                               {"sceneChange", 0},
                                               {"nextScene", 3}}));
    EXPECT_EQ(line["tasks"], nlohmann::json::array());
    EXPECT_EQ(line["sounds"], (nlohmann::json{{{"call", "StopSound"}, {"slot", 15}},
                                              {{"call", "PlaySoundLoop"}, {"slot", 12}},
                                              {{"call", "StopAllSounds"}, {"slot", -1}}}));
    EXPECT_TRUE(Line(173, nullptr)["served"].is_null());
}

}  // namespace
