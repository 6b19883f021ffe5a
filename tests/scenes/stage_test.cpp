// The stage's timeline of waves.
#include <map>
#include <string>

#include "scenes/gametime.h"
#include "support/scenes_fixture.h"

namespace {

using scenes_test::SceneTest;

// What each task created since the last look reports: class initial and position, oldest
// first (the newest lie nearest the head).
std::string Created(size_t& known) {
    std::vector<const NodeBaseClass*> tasks;
    for (NodeBaseClass* n = g_taskHead->next; n->next != nullptr; n = n->next) tasks.push_back(n);
    struct Pos final : TaskFields {
        void Int(const char*, int64_t) override {}
        void Float(const char*, float) override {}
        void Vec(const char* name, float vx, float vy) override {
            if (std::string(name) == "pos") x = static_cast<int>(vx), y = static_cast<int>(vy);
        }
        void Rect(const char*, int32_t, int32_t, int32_t, int32_t) override {}
        int x = 0, y = 0;
    };
    std::string made;
    for (size_t i = tasks.size() - known; i-- > 0;) {
        Pos pos;
        tasks[i]->Describe(pos);
        made += (made.empty() ? "" : " ") + std::string(1, tasks[i]->ClassName()[0]) +
                std::to_string(pos.x) + "," + std::to_string(pos.y);
    }
    known = tasks.size();
    return made;
}

// Everything the stage creates, frame by frame. Only the stage itself is updated, so nothing
// moves, fires or dies.
TEST_F(SceneTest, PlayerAndEighteenWavesArriveOnScheduleAndNothingAfterTheBoss) {
    const std::string row1 = "K800,300 K900,400 K1000,300 K1100,400 K1200,300 ";
    const std::string mixed = row1 + "K800,500 K900,100 K1000,100 K1100,400 K1200,200";
    const std::string trail = row1 + "K1300,500 K1400,100 K1500,350 K1600,150 K1700,300";
    const std::map<int, std::string> expected = {
        {1, "F-300,300"},
        {200, "K800,50 K900,50 K1000,50 K1100,50 K1200,50"},
        {400, "K800,500 K900,500 K1000,500 K1100,500 K1200,500"},
        {600,
         "K800,50 K900,50 K1000,50 K1100,50 K1200,50 "
         "K800,500 K900,500 K1000,500 K1100,500 K1200,500"},
        {900, "K800,300 K900,300 K1000,300 K1100,300 K1200,300"},
        {1100, mixed},
        {1200, "N750,200"},
        {1300, "K800,300 K900,300 K1000,300 K1100,300 K1200,300"},
        {1600, mixed},
        {1800, "N750,400 N700,200 N720,100"},
        {2000, mixed + " N750,440 N700,240 N720,140"},
        {2300, trail + " N750,200"},
        {2400, "N650,200"},
        {2500, "N600,200"},
        {2800, "T500,50 T600,300 T500,240 T600,500 T500,400"},
        {3300, "T550,60 T650,360 T550,260 T650,200 T500,400"},
        {4000, trail + " N750,200 N750,400 N750,550"},
        {4200, "T500,50 T600,300 T500,240 T600,500 T500,350"},
        {4600, "B600,50"},
    };

    GameTime* stage = new GameTime;
    stage->Init();
    AddTask(stage);
    size_t known = 3;  // the stage and its two towns
    std::map<int, std::string> seen;
    for (int frame = 1; frame <= 6000; ++frame) {
        stage->Update();
        if (std::string made = Created(known); !made.empty()) seen[frame] = made;
    }
    EXPECT_EQ(seen, expected);
}

}  // namespace
