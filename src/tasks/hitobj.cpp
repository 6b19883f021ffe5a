#include "tasks/hitobj.h"

#include <algorithm>
#include <cstring>
#include <vector>

HitBox* g_hitHead = nullptr;
HitBox* g_hitTail = nullptr;

HitBox::~HitBox() {
    if (prev != nullptr) prev->next = next;
    if (next != nullptr) next->prev = prev;
}

void InitHitList() {
    g_hitHead = new HitBox;
    g_hitTail = new HitBox;
    g_hitHead->ignored = 1;
    g_hitTail->ignored = 1;
    g_hitHead->next = g_hitTail;
    g_hitTail->next = g_hitHead;
    g_hitHead->prev = g_hitTail;
    g_hitTail->prev = g_hitHead;
}

namespace {

// An edge as a 32-bit sum: it wraps past the integer range as the machine's adds do, where a
// plain signed add would be undefined.
int32_t Edge(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

bool Overlaps(const HitBox& q, const HitBox& p) {
    if (p.x >= Edge(q.x, q.w)) return false;
    if (Edge(p.x, p.w) <= q.x) return false;
    if (p.y >= Edge(q.y, q.h)) return false;
    if (Edge(p.y, p.h) <= q.y) return false;
    return true;
}

namespace {

// One box that takes part in the collision pass, in ring order.
struct Entry {
    int32_t x, y, right, bottom;
    int32_t group;
    HitBox* box;
};

// Reused from tick to tick, so that the pass allocates nothing once it has seen its largest ring.
std::vector<Entry> g_entries;
std::vector<int32_t> g_byLeft;
std::vector<int64_t> g_matches;  // p's entry index x entry count + q's distance after p

// Every box against every other, in ring order: the rule itself, used when an edge lies
// beyond the 32-bit range and the sweep's sums would not be the ones the rule makes.
void RunCollisionsPairwise() {
    for (HitBox* p = g_hitHead->next; p != g_hitHead; p = p->next) {
        for (int k = 0; k < HIT_RECORDS; ++k) {
            p->hitIds[k] = 0;
            p->hitValue1[k] = 0;
            p->hitValue2[k] = 0;
        }
        p->hit = 0;
        if (p->ignored) continue;
        int k = 0;
        for (HitBox* q = p->next; q != p;) {
            HitBox* following = q->next;
            if (q->group != p->group && !q->ignored && Overlaps(*q, *p)) {
                p->hitIds[k] = q->id;
                p->hitValue1[k] = q->value1;
                p->hitValue2[k] = q->value2;
                p->hit = 1;
                if (++k == HIT_RECORDS) k = 0;
            }
            q = following;
        }
    }
}

}  // namespace

// Each box P records the boxes Q of other groups that overlap it, in ring order from the box
// after P round to the one before it, the eleventh and later overwriting from the first record
// on. Overlap and the group test are symmetric, so the pairs are found once, by a sweep along
// x, and then handed out in that order: the same records as comparing every pair, without
// the million comparisons of a full task list.
void RunCollisions() {
    if (g_hitHead == nullptr) return;
    g_entries.clear();
    for (HitBox* p = g_hitHead->next; p != g_hitHead; p = p->next) {
        if (p->ignored) continue;
        const int64_t right = int64_t(p->x) + p->w, bottom = int64_t(p->y) + p->h;
        if (right != int32_t(right) || bottom != int32_t(bottom)) {
            RunCollisionsPairwise();
            return;
        }
        g_entries.push_back({p->x, p->y, int32_t(right), int32_t(bottom), p->group, p});
    }
    for (HitBox* p = g_hitHead->next; p != g_hitHead; p = p->next) {
        std::memset(p->hitIds, 0, sizeof p->hitIds);
        std::memset(p->hitValue1, 0, sizeof p->hitValue1);
        std::memset(p->hitValue2, 0, sizeof p->hitValue2);
        p->hit = 0;
    }
    const int32_t count = static_cast<int32_t>(g_entries.size());
    g_byLeft.resize(g_entries.size());
    for (int32_t i = 0; i < count; ++i) g_byLeft[i] = i;
    std::sort(g_byLeft.begin(), g_byLeft.end(),
              [](int32_t a, int32_t b) { return g_entries[a].x < g_entries[b].x; });
    g_matches.clear();
    for (int32_t a = 0; a < count; ++a) {
        const int32_t pi = g_byLeft[a];
        const Entry& p = g_entries[pi];
        // Sorted by left edge: once a box starts at or past P's right edge, so do all after it.
        for (int32_t b = a + 1; b < count && g_entries[g_byLeft[b]].x < p.right; ++b) {
            const int32_t qi = g_byLeft[b];
            const Entry& q = g_entries[qi];
            if (q.group == p.group) continue;
            if (p.x < q.right && q.x < p.right && p.y < q.bottom && q.y < p.bottom) {
                g_matches.push_back(int64_t(pi) * count + (qi - pi + count) % count);
                g_matches.push_back(int64_t(qi) * count + (pi - qi + count) % count);
            }
        }
    }
    std::sort(g_matches.begin(), g_matches.end());
    int32_t current = -1;
    int k = 0;
    for (const int64_t match : g_matches) {
        const int32_t pi = static_cast<int32_t>(match / count);
        const int32_t qi = static_cast<int32_t>((pi + match % count) % count);
        if (pi != current) {
            current = pi;
            k = 0;
        }
        HitBox* p = g_entries[pi].box;
        const HitBox* q = g_entries[qi].box;
        p->hitIds[k] = q->id;
        p->hitValue1[k] = q->value1;
        p->hitValue2[k] = q->value2;
        p->hit = 1;
        if (++k == HIT_RECORDS) k = 0;
    }
}

void ReleaseHitList() {
    if (g_hitHead == nullptr) return;
    for (HitBox* box = g_hitHead->next; box != g_hitTail;) {
        HitBox* following = box->next;
        delete box;
        box = following;
    }
    g_hitHead->next = g_hitHead->prev = nullptr;
    g_hitTail->next = g_hitTail->prev = nullptr;
    delete g_hitHead;
    delete g_hitTail;
    g_hitHead = nullptr;
    g_hitTail = nullptr;
}

HitObjClass::~HitObjClass() {
    if (boxes == nullptr) return;
    for (int32_t row = 0; row < boxCount; ++row) delete boxes[row];
    delete[] boxes;
}

HitBox* HitObjClass::Row(int32_t row) const {
    if (boxes == nullptr || row < 0 || row >= boxCount) return nullptr;
    return boxes[row];
}

const HitBox* HitObjClass::Box(int32_t row) const {
    return Row(row);
}

void HitObjClass::CreateSingleBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t group) {
    AllocBoxes(1);
    CreateBox(0, x, y, w, h);
    SetBoxInfo(0, 0, group, 0);
}

void HitObjClass::AllocBoxes(int32_t rows) {
    // A second call is ignored: the boxes already made stay owned and in the ring.
    if (g_hitHead == nullptr || rows <= 0 || boxes != nullptr) return;
    boxes = new HitBox*[rows]();
    boxCount = rows;
}

void HitObjClass::CreateBox(int32_t row, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (g_hitHead == nullptr || boxes == nullptr || row < 0 || row >= boxCount) return;
    if (boxes[row] != nullptr) return;
    HitBox* box = new HitBox;
    box->x = x;
    box->y = y;
    box->w = w;
    box->h = h;
    box->prev = g_hitHead;
    box->next = g_hitHead->next;
    g_hitHead->next->prev = box;
    g_hitHead->next = box;
    boxes[row] = box;
}

void HitObjClass::RemoveBox(int32_t row) {
    HitBox* box = Row(row);
    if (box == nullptr) return;
    delete box;
    boxes[row] = nullptr;
}

void HitObjClass::SetBoxPos(int32_t row, int32_t x, int32_t y) {
    if (HitBox* box = Row(row)) {
        box->x = x;
        box->y = y;
    }
}

void HitObjClass::SetBoxInfo(int32_t row, int32_t id, int32_t group, uint8_t ignored) {
    if (HitBox* box = Row(row)) {
        box->id = id;
        box->group = group;
        box->ignored = ignored;
    }
}

void HitObjClass::SetBoxValues(int32_t row, int32_t value1, int32_t value2) {
    if (HitBox* box = Row(row)) {
        box->value1 = value1;
        box->value2 = value2;
    }
}

uint8_t HitObjClass::IsHit(int32_t row) const {
    const HitBox* box = Row(row);
    return box != nullptr ? box->hit : 0;
}

bool HitObjClass::HasHitId(int32_t row, int32_t id) const {
    const HitBox* box = Row(row);
    if (box == nullptr) return false;
    for (int k = 0; k < HIT_RECORDS; ++k) {
        if (box->hitIds[k] == id) return true;
    }
    return false;
}

int32_t HitObjClass::MaxHitId(int32_t row) const {
    const HitBox* box = Row(row);
    if (box == nullptr) return 0;
    int32_t best = 0;
    for (int k = 0; k < HIT_RECORDS; ++k) {
        if (box->hitIds[k] > best) best = box->hitIds[k];
    }
    return best;
}

bool HitObjClass::FindHitById(int32_t row, int32_t id, int32_t* value1, int32_t* value2) const {
    const HitBox* box = Row(row);
    if (box == nullptr || id == 0) return false;
    for (int k = 0; k < HIT_RECORDS; ++k) {
        if (box->hitIds[k] == id) {
            if (value1 != nullptr) *value1 = box->hitValue1[k];
            if (value2 != nullptr) *value2 = box->hitValue2[k];
            return true;
        }
    }
    return false;
}

bool HitObjClass::FindHitByValue1(int32_t row, int32_t value1, int32_t* value2) const {
    const HitBox* box = Row(row);
    if (box == nullptr) return false;
    for (int k = 0; k < HIT_RECORDS; ++k) {
        if (box->hitValue1[k] == value1) {
            if (value2 != nullptr) *value2 = box->hitValue2[k];
            return true;
        }
    }
    return false;
}
