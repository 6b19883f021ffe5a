// A task list and hit ring of their own for each player-side test, stepped by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/globals.h"
#include "platform/headless/headless.h"
#include "shell/input.h"
#include "shell/sound.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

// A still box of any group, standing in for an enemy, a bullet or Santa.
class Obstacle : public NodeBaseClass, public HitObjClass {
public:
    Obstacle(int32_t x, int32_t y, int32_t w, int32_t h, int32_t group) {
        AllocBoxes(1);
        CreateBox(0, x, y, w, h);
        SetBoxInfo(0, 0, group, 0);
    }
    const char* ClassName() const override { return "Obstacle"; }
};

class PlayerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        InitTaskList();
        InitHitList();
        std::memset(g_keys, 0, sizeof g_keys);
        g_lives = 15;
        g_santaPos = Vec3{};
        CreateSoundTable(SOUND_COUNT);  // no audio: the calls are only logged
        KeepSoundCallLog(true);
    }
    void TearDown() override {
        KeepSoundCallLog(false);
        ReleaseTaskList();
        ReleaseHitList();
        std::memset(g_keys, 0, sizeof g_keys);
    }

    // The list is far from full here, so a linked task is kept and may be looked at.
    template <class T>
    T* Link(T* task) {
        AddTask(task);
        return task;
    }
    // One tick of the stage: the update pass, then the collision pass.
    static void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            UpdateTasks();
            RunCollisions();
        }
    }
    static void Hold(uint8_t key) { g_keys[key] = KEY_HELD; }

    // Linked tasks of one class, newest first, dead ones included.
    template <class T = NodeBaseClass>
    static std::vector<T*> Tasks(const char* className) {
        std::vector<T*> found;
        for (NodeBaseClass* n = g_taskHead->next; n != g_taskTail; n = n->next) {
            if (std::string(n->ClassName()) == className) found.push_back(static_cast<T*>(n));
        }
        return found;
    }
    static int Count(const char* className) { return static_cast<int>(Tasks(className).size()); }

    // Slots of the PlaySound calls since the last look.
    static std::vector<int> Played() {
        std::vector<int> slots;
        for (const auto& call : TakeSoundCallLog()) {
            if (std::string(call.call) == "PlaySound") slots.push_back(call.slot);
        }
        return slots;
    }
};
