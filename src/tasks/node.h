// The task base class and the one task list that updates and draws every scene, actor and effect.
#pragma once

#include <cstdint>
#include <utility>

#include "tasks/fields.h"

enum : int32_t {
    TASK_DEAD = 0,    // removed and deleted when the update pass reaches it
    TASK_IDLE = 1,    // neither updated nor removed (the sentinels)
    TASK_ACTIVE = 2,  // updated every tick
};

class NodeBaseClass {
public:
    NodeBaseClass() = default;
    virtual ~NodeBaseClass() = default;
    virtual void Update() {}
    virtual void Draw() {}

    // The class name as the game names it, and its own fields, for the trace.
    virtual const char* ClassName() const { return "NodeBaseClass"; }
    virtual void Describe(TaskFields& /*out*/) const {}

    int32_t priority = 0;  // draw order: lower is drawn first, further back
    int32_t state = TASK_ACTIVE;
    NodeBaseClass* next = nullptr;
    NodeBaseClass* prev = nullptr;

    NodeBaseClass(const NodeBaseClass&) = delete;
    NodeBaseClass& operator=(const NodeBaseClass&) = delete;
};

constexpr int32_t MAX_TASKS = 1024;  // AddTask refuses while more than this many are linked
constexpr int32_t SENTINEL_PRIORITY = 100000;

extern NodeBaseClass* g_taskHead;
extern NodeBaseClass* g_taskTail;
extern int32_t g_taskCount;

void InitTaskList();
// Links the task behind the head (newest first). A task refused because the list is full is
// deleted here, so its hit boxes leave the ring with it; nobody may touch it afterwards.
int32_t AddTask(NodeBaseClass* task);
void RemoveTask(NodeBaseClass* task);

// How every task is made: constructed on the heap, given its start values by Init, linked. The
// creator keeps no pointer: a task the full list refuses is gone at once.
template <class T, class... Args>
void Spawn(Args&&... args) {
    T* task = new T;
    task->Init(std::forward<Args>(args)...);
    AddTask(task);
}

void UpdateTasks();
void DrawTasks();
void ClearTasks();
void ReleaseTaskList();
