#include <vector>

#include "tasks/node.h"

NodeBaseClass* g_taskHead = nullptr;
NodeBaseClass* g_taskTail = nullptr;
int32_t g_taskCount = 0;

namespace {

// Ascending by priority. Not stable: equal priorities come out in exactly the order this scheme
// makes of the newest-first array, which is the layering the game's pictures were drawn for.
void SortByPriority(NodeBaseClass** a, int lo, int hi) {
    const int32_t pivot = a[(lo + hi) / 2]->priority;
    int i = lo;
    int j = hi;
    for (;;) {
        while (a[i]->priority < pivot) ++i;
        while (pivot < a[j]->priority) --j;
        if (i >= j) break;
        NodeBaseClass* t = a[i];
        a[i] = a[j];
        a[j] = t;
        ++i;
        --j;
    }
    if (lo < i - 1) SortByPriority(a, lo, i - 1);
    if (j + 1 < hi) SortByPriority(a, j + 1, hi);
}

}  // namespace

void InitTaskList() {
    g_taskCount = 0;
    g_taskHead = new NodeBaseClass;
    g_taskTail = new NodeBaseClass;
    g_taskHead->next = g_taskTail;
    g_taskTail->prev = g_taskHead;
    g_taskHead->prev = nullptr;
    g_taskTail->next = nullptr;
    g_taskHead->priority = g_taskTail->priority = SENTINEL_PRIORITY;
    g_taskHead->state = g_taskTail->state = TASK_IDLE;
}

int32_t AddTask(NodeBaseClass* task) {
    if (task == nullptr) return g_taskCount;
    if (g_taskHead == nullptr || g_taskCount > MAX_TASKS) {
        // Creators never look at the result, so a refused task would leak with a live hit box
        // still in the ring; deleting it takes the box out with it.
        delete task;
        return g_taskCount;
    }
    task->prev = g_taskHead;
    task->next = g_taskHead->next;
    g_taskHead->next->prev = task;
    g_taskHead->next = task;
    return ++g_taskCount;
}

void RemoveTask(NodeBaseClass* task) {
    if (task == nullptr) return;
    --g_taskCount;
    task->prev->next = task->next;
    task->next->prev = task->prev;
    delete task;
}

void UpdateTasks() {
    if (g_taskHead == nullptr) return;
    NodeBaseClass* node = g_taskHead->next;
    while (node->next != nullptr) {
        NodeBaseClass* following = node->next;
        switch (node->state) {
            case TASK_ACTIVE: node->Update(); break;
            case TASK_DEAD: RemoveTask(node); break;
            default: break;
        }
        node = following;
    }
}

void DrawTasks() {
    if (g_taskCount == 0) return;
    // Reused between frames: the array never needs more than the list's cap.
    static std::vector<NodeBaseClass*> order;
    order.clear();
    for (NodeBaseClass* node = g_taskHead->next; node->next != nullptr; node = node->next) {
        order.push_back(node);
    }
    if (order.size() >= 2) SortByPriority(order.data(), 0, static_cast<int>(order.size()) - 1);
    for (NodeBaseClass* node : order) node->Draw();
}

void ClearTasks() {
    if (g_taskHead == nullptr) return;
    NodeBaseClass* node = g_taskHead->next;
    while (node->next != nullptr) {
        NodeBaseClass* following = node->next;
        RemoveTask(node);
        node = following;
    }
}

void ReleaseTaskList() {
    if (g_taskHead == nullptr) return;
    ClearTasks();
    delete g_taskHead;
    delete g_taskTail;
    g_taskHead = nullptr;
    g_taskTail = nullptr;
    g_taskCount = 0;
}
