#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tasks/hitobj.h"
#include "tasks/node.h"

namespace {

std::string g_log;

// A task that writes its name into the log on every update, draw and deletion.
class Probe : public NodeBaseClass {
public:
    explicit Probe(char name, int32_t prio = 0) : name_(name) { priority = prio; }
    ~Probe() override { g_log += std::string("~") + name_; }
    void Update() override {
        g_log += std::string("u") + name_;
        if (onUpdate) onUpdate(this);
    }
    void Draw() override { g_log += std::string("d") + name_; }
    std::function<void(Probe*)> onUpdate;

private:
    char name_;
};

// An actor with a box, as every colliding actor is.
class BoxedProbe : public NodeBaseClass, public HitObjClass {
public:
    BoxedProbe(int x, int y, int group) {
        AllocBoxes(1);
        CreateBox(0, x, y, 16, 16);
        SetBoxInfo(0, 0, group, 0);
    }
};

int RingSize() {
    int n = 0;
    for (HitBox* b = g_hitHead->next; b != g_hitTail; b = b->next) ++n;
    return n;
}

class TaskList : public testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        InitTaskList();
        InitHitList();
    }
    void TearDown() override {
        ReleaseTaskList();
        ReleaseHitList();
    }
};

TEST_F(TaskList, UpdatesNewestFirstAndDrawsByPriority) {
    AddTask(new Probe('a', 5));
    AddTask(new Probe('b', 1));
    AddTask(new Probe('c', 9));
    UpdateTasks();
    EXPECT_EQ(g_log, "ucubua");
    g_log.clear();
    DrawTasks();
    EXPECT_EQ(g_log, "dbdadc");
}

TEST_F(TaskList, TaskAddedDuringThePassIsDrawnAtOnceButUpdatedNextFrame) {
    auto* a = new Probe('a');
    a->onUpdate = [](Probe* self) {
        AddTask(new Probe('n'));
        self->onUpdate = nullptr;
    };
    AddTask(a);
    UpdateTasks();
    EXPECT_EQ(g_log, "ua");
    g_log.clear();
    DrawTasks();
    EXPECT_NE(g_log.find("dn"), std::string::npos);
    g_log.clear();
    UpdateTasks();
    EXPECT_EQ(g_log, "unua");
}

TEST_F(TaskList, DeadTaskIsDrawnUntilTheNextPassDeletesIt) {
    auto* a = new Probe('a');
    a->onUpdate = [](Probe* self) { self->state = TASK_DEAD; };
    AddTask(a);
    UpdateTasks();
    DrawTasks();
    EXPECT_EQ(g_log, "uada");
    EXPECT_EQ(g_taskCount, 1);
    g_log.clear();
    UpdateTasks();
    EXPECT_EQ(g_log, "~a");
    EXPECT_EQ(g_taskCount, 0);
}

TEST_F(TaskList, IdleAndUnknownStatesAreSkippedButDrawn) {
    auto* idle = new Probe('i');
    idle->state = TASK_IDLE;
    auto* odd = new Probe('o');
    odd->state = 7;
    AddTask(idle);
    AddTask(odd);
    UpdateTasks();
    EXPECT_EQ(g_log, "");
    DrawTasks();
    EXPECT_EQ(g_log, "dido");
}

TEST_F(TaskList, TaskKilledByANewerTaskGoesInTheSamePass) {
    auto* old = new Probe('o');
    AddTask(old);
    auto* killer = new Probe('k');
    killer->onUpdate = [old](Probe*) { old->state = TASK_DEAD; };
    AddTask(killer);
    UpdateTasks();
    EXPECT_EQ(g_log, "uk~o");
}

TEST_F(TaskList, HoldsAtMost1025AndDeletesARefusedTaskWithItsBox) {
    for (int i = 0; i < 1025; ++i) AddTask(new Probe('x'));
    EXPECT_EQ(g_taskCount, 1025);
    g_log.clear();
    AddTask(new BoxedProbe(0, 0, HIT_GROUP_ENEMY));
    EXPECT_EQ(g_taskCount, 1025);
    // The refused actor is gone, and its box did not stay behind in the ring to hit the player.
    EXPECT_EQ(RingSize(), 0);
    AddTask(nullptr);
    EXPECT_EQ(g_taskCount, 1025);
}

TEST_F(TaskList, EqualPrioritiesLayerAsTheQuicksortLeavesThem) {
    // Added a, b, c, d: the draw array starts newest first (d c b a).
    for (char c : std::string("abcd")) AddTask(new Probe(c));
    DrawTasks();
    EXPECT_EQ(g_log, "dbdadddc");
    g_log.clear();
    ClearTasks();
    g_log.clear();
    for (char c : std::string("abc")) AddTask(new Probe(c));
    DrawTasks();
    EXPECT_EQ(g_log, "dadbdc");
}

TEST_F(TaskList, ClearDeletesEveryTaskNewestFirstAndKeepsTheList) {
    AddTask(new Probe('a'));
    auto* dead = new Probe('b');
    dead->state = TASK_DEAD;
    AddTask(dead);
    ClearTasks();
    EXPECT_EQ(g_log, "~b~a");
    EXPECT_EQ(g_taskCount, 0);
    AddTask(new Probe('c'));
    EXPECT_EQ(g_taskCount, 1);
}

}  // namespace
