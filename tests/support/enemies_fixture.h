// A fresh task list and hit ring for each enemy test, and ways to hit an enemy the test owns,
// run it frame by frame and see what it created and played.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/globals.h"
#include "platform/headless/headless.h"
#include "shell/sound.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

// A bare box standing in for Santa or an arrow.
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
        CreateSoundTable(SOUND_COUNT);  // no audio: the calls are only logged
        KeepSoundCallLog(true);
    }
    void TearDown() override {
        KeepSoundCallLog(false);
        ReleaseTaskList();
        ReleaseHitList();
    }

    // One frame: the update (after a hit, if asked), then the collision pass, which clears the
    // flag again. What the enemy creates lands in the task list and is not updated.
    template <class T>
    static void Frame(T& enemy, bool hit = false, int times = 1) {
        for (int i = 0; i < times; ++i) {
            if (hit) const_cast<HitBox*>(enemy.Box(0))->hit = 1;
            enemy.Update();
            RunCollisions();
        }
    }

    // Classes in the task list, oldest first; ClearTasks starts afresh.
    static std::vector<std::string> Created() {
        std::vector<std::string> out;
        for (NodeBaseClass* t = g_taskTail->prev; t != g_taskHead; t = t->prev) {
            out.emplace_back(t->ClassName());
        }
        return out;
    }
    static int Count(const std::string& cls) {
        int n = 0;
        for (const std::string& c : Created()) n += c == cls;
        return n;
    }
    template <class T>
    static T* Newest() {
        return dynamic_cast<T*>(g_taskHead->next);
    }

    // Slots passed to PlaySound since the last call.
    static std::vector<int> Played() {
        std::vector<int> slots;
        for (const auto& c : TakeSoundCallLog()) {
            if (std::string(c.call) == "PlaySound") slots.push_back(c.slot);
        }
        return slots;
    }
};

using Classes = std::vector<std::string>;
