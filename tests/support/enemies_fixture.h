// Shared set-up for the enemy tests: a fresh task list and hit ring, and ways to hit an enemy,
// run it frame by frame and see what it left behind.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/globals.h"
#include "platform/headless/headless.h"
#include "shell/sound.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

// A bare box of some group, standing in for Santa, an arrow or a bullet.
struct Probe : HitObjClass {
    Probe(int32_t group, int32_t x, int32_t y, int32_t w, int32_t h) {
        AllocBoxes(1);
        CreateBox(0, x, y, w, h);
        SetBoxInfo(0, 0, group, 0);
    }
};

class EnemyTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitTaskList();
        InitHitList();
        g_santaPos = Vec3{100.0f, 300.0f, 0.0f};
        g_deathSound = 7;
        g_stageClear = 0;
        // A sound table without audio: the calls are only logged.
        CreateSoundTable(SOUND_COUNT);
        plat::headless::TakeSoundCalls();
    }
    void TearDown() override {
        ReleaseTaskList();
        ReleaseHitList();
    }

    // What the collision pass leaves for the enemy's next update.
    static void Hit(const HitObjClass& enemy) {
        ASSERT_NE(enemy.Box(0), nullptr);
        const_cast<HitBox*>(enemy.Box(0))->hit = 1;
    }

    // One frame for an enemy the test owns: its update, then the collision pass, which also
    // clears any flag set by Hit. What it creates goes into the task list, unupdated.
    template <class T>
    static void Frame(T& enemy, bool hit = false) {
        if (hit) Hit(enemy);
        enemy.Update();
        RunCollisions();
    }
    template <class T>
    static void Frames(T& enemy, int n) {
        for (int i = 0; i < n; ++i) Frame(enemy);
    }

    // Classes of the tasks in the list in creation order; ClearTasks starts a fresh record.
    static std::vector<std::string> Created() {
        std::vector<std::string> out;
        for (NodeBaseClass* t = g_taskTail->prev; t != g_taskHead; t = t->prev) {
            out.emplace_back(t->ClassName());
        }
        return out;
    }
    static int CountCreated(const std::string& cls) {
        int n = 0;
        for (const std::string& c : Created()) n += c == cls ? 1 : 0;
        return n;
    }
    // The newest task, cast to what the test expects it to be.
    template <class T>
    static T* Newest() {
        return dynamic_cast<T*>(g_taskHead->next);
    }

    // Slots passed to PlaySound since the last call.
    static std::vector<int> Played() {
        std::vector<int> slots;
        for (const auto& c : plat::headless::TakeSoundCalls()) {
            if (std::string(c.call) == "PlaySound") slots.push_back(c.slot);
        }
        return slots;
    }
};
