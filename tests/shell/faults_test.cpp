#include <gtest/gtest.h>

#include <string>

#include "enemies/knight.h"
#include "scenes/scenetable.h"
#include "shell/input.h"
#include "support/shell_fixture.h"
#include "tasks/hitobj.h"

namespace {

// The whole game on the headless backend, with its real scenes.
class Faults : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        Restart(SCENE_OP);
        plat::headless::SetActive(true);
    }
    void TearDown() override {
        uint8_t none[256] = {};
        plat::headless::SetKeys(none);
        plat::headless::SetActive(true);
        ShellFixture::TearDown();
    }
    void Hold(uint8_t key) {
        uint8_t keys[256] = {};
        keys[key] = KEY_HELD;
        plat::headless::SetKeys(keys);
    }
    static void Ticks(int n) {
        for (int i = 0; i < n; ++i) StepTick();
    }
    std::string SceneOnTop() {
        for (NodeBaseClass* n = g_taskHead->next; n->next != nullptr; n = n->next) {
            const std::string name = n->ClassName();
            if (name == "OP" || name == "Title" || name == "GameTime" || name == "ED" ||
                name == "GAMEOVER") {
                return name;
            }
        }
        return "";
    }
    static int RingSize() {
        int n = 0;
        for (HitBox* b = g_hitHead->next; b != g_hitTail; b = b->next) ++n;
        return n;
    }
};

TEST_F(Faults, NoKeyStaysHeldWhileTheWindowIsInTheBackground) {
    Hold(DIK_RIGHT);
    Ticks(2);
    EXPECT_TRUE(KeyHeld(DIK_RIGHT));
    for (int i = 0; i < 50; ++i) {
        plat::Event lost{plat::EventType::Activate};
        plat::headless::SetActive(false);
        plat::headless::PushEvent(lost);
        Ticks(1);
        EXPECT_FALSE(KeyHeld(DIK_RIGHT));
        plat::Event back{plat::EventType::Activate};
        back.active = true;
        plat::headless::SetActive(true);
        plat::headless::PushEvent(back);
        Ticks(1);
        EXPECT_TRUE(KeyHeld(DIK_RIGHT));
    }
}

TEST_F(Faults, ATapBetweenTwoTicksIsHeldForTheNextTickOnly) {
    plat::Event up{plat::EventType::KeyDown, 0x26};  // VK_UP, released before the tick reads it
    up.scan = DIK_UP;
    plat::headless::PushEvent(up);
    Pump();  // a pass with no tick due keeps the tap for the tick
    Ticks(1);
    EXPECT_TRUE(KeyHeld(DIK_UP));
    Ticks(1);
    EXPECT_FALSE(KeyHeld(DIK_UP));
    up.repeat = true;  // a repeat is no new press
    plat::headless::PushEvent(up);
    Ticks(1);
    EXPECT_FALSE(KeyHeld(DIK_UP));
}

TEST_F(Faults, TwoHundredFullScreenTogglesLeaveThePictureDrawn) {
    for (int i = 0; i < 200; ++i)
        plat::headless::PushEvent({plat::EventType::KeyDown, plat::VK_F1});
    Ticks(3);
    EXPECT_EQ(g_windowed, 1);
    EXPECT_NE(g_pSprite, nullptr);
    DrawFrame();
    const plat::headless::Frame f = plat::headless::ReadFrame();
    int notGrey = 0;
    for (int y = 0; y < f.height; y += 10) {
        for (int x = 0; x < f.width; x += 10)
            notGrey += (f.pixels[y * f.pitch + x] & 0xFFFFFF) != 0x646464;
    }
    EXPECT_GT(notGrey, 100);  // the opening's pictures, not just the clear colour
}

// Closing the window in each scene ends the loop; the fixture's shutdown then releases all.
TEST_F(Faults, ClosingTheWindowInEveryScene) {
    const struct {
        uint32_t scene;
        const char* name;
    } scenes[] = {{SCENE_OP, "OP"},
                  {SCENE_GAMETIME, "GameTime"},
                  {SCENE_GAMEOVER, "GAMEOVER"},
                  {SCENE_ED, "ED"}};
    for (const auto& s : scenes) {
        Restart(s.scene);
        Ticks(100);
        EXPECT_EQ(SceneOnTop(), s.name);
        plat::headless::PushEvent({plat::EventType::Close});
        Pump();
        EXPECT_TRUE(QuitPosted()) << s.name;
    }
}

TEST_F(Faults, AFloodedTaskListKeepsTheGameRunningAndRefusesCleanly) {
    Restart(SCENE_GAMETIME);
    Ticks(1);
    // Knights waiting far off to the right: they live on and keep their boxes.
    for (int i = 0; i < 2000; ++i) {
        auto* k = new Knight;
        k->Init(Vec3{5000.0f + i, 300.0f, 0.0f});
        AddTask(k);
    }
    EXPECT_EQ(g_taskCount, MAX_TASKS + 1);
    Hold(DIK_SPACE);
    Ticks(600);
    EXPECT_LE(g_taskCount, MAX_TASKS + 1);
    int actorsWithBoxes = 0;
    for (NodeBaseClass* n = g_taskHead->next; n->next != nullptr; n = n->next) {
        if (auto* h = dynamic_cast<HitObjClass*>(n); h != nullptr && h->Box(0) != nullptr) {
            ++actorsWithBoxes;
        }
    }
    EXPECT_EQ(RingSize(), actorsWithBoxes);  // no box of a refused task is left behind
    EXPECT_EQ(SceneOnTop(), "GameTime");
}

}  // namespace
