#include "scenes/timeline.h"

#include <iterator>

#include "enemies/boss.h"
#include "enemies/knight.h"
#include "enemies/nomin.h"
#include "enemies/tenin.h"
#include "shell/graphics.h"
#include "tasks/node.h"

namespace {

using Creator = void (*)(Vec3 pos);

template <class T>
void Create(Vec3 pos) {
    Spawn<T>(pos);
}

constexpr Creator KNIGHT = Create<Knight>;
constexpr Creator NOMIN = Create<Nomin>;
constexpr Creator TENIN = Create<Tenin>;
constexpr Creator BOSS = Create<Boss>;

struct WaveEntry {
    int32_t frame;
    Creator create;
    float x, y;
};

// In ascending frame order; within a frame, in creation order.
constexpr WaveEntry STAGE_TIMELINE[] = {
    {200, KNIGHT, 800, 50},
    {200, KNIGHT, 900, 50},
    {200, KNIGHT, 1000, 50},
    {200, KNIGHT, 1100, 50},
    {200, KNIGHT, 1200, 50},

    {400, KNIGHT, 800, 500},
    {400, KNIGHT, 900, 500},
    {400, KNIGHT, 1000, 500},
    {400, KNIGHT, 1100, 500},
    {400, KNIGHT, 1200, 500},

    {600, KNIGHT, 800, 50},
    {600, KNIGHT, 900, 50},
    {600, KNIGHT, 1000, 50},
    {600, KNIGHT, 1100, 50},
    {600, KNIGHT, 1200, 50},
    {600, KNIGHT, 800, 500},
    {600, KNIGHT, 900, 500},
    {600, KNIGHT, 1000, 500},
    {600, KNIGHT, 1100, 500},
    {600, KNIGHT, 1200, 500},

    {900, KNIGHT, 800, 300},
    {900, KNIGHT, 900, 300},
    {900, KNIGHT, 1000, 300},
    {900, KNIGHT, 1100, 300},
    {900, KNIGHT, 1200, 300},

    {1100, KNIGHT, 800, 300},
    {1100, KNIGHT, 900, 400},
    {1100, KNIGHT, 1000, 300},
    {1100, KNIGHT, 1100, 400},
    {1100, KNIGHT, 1200, 300},
    {1100, KNIGHT, 800, 500},
    {1100, KNIGHT, 900, 100},
    {1100, KNIGHT, 1000, 100},
    {1100, KNIGHT, 1100, 400},
    {1100, KNIGHT, 1200, 200},

    {1200, NOMIN, 750, 200},

    {1300, KNIGHT, 800, 300},
    {1300, KNIGHT, 900, 300},
    {1300, KNIGHT, 1000, 300},
    {1300, KNIGHT, 1100, 300},
    {1300, KNIGHT, 1200, 300},

    {1600, KNIGHT, 800, 300},
    {1600, KNIGHT, 900, 400},
    {1600, KNIGHT, 1000, 300},
    {1600, KNIGHT, 1100, 400},
    {1600, KNIGHT, 1200, 300},
    {1600, KNIGHT, 800, 500},
    {1600, KNIGHT, 900, 100},
    {1600, KNIGHT, 1000, 100},
    {1600, KNIGHT, 1100, 400},
    {1600, KNIGHT, 1200, 200},

    {1800, NOMIN, 750, 400},
    {1800, NOMIN, 700, 200},
    {1800, NOMIN, 720, 100},

    {2000, KNIGHT, 800, 300},
    {2000, KNIGHT, 900, 400},
    {2000, KNIGHT, 1000, 300},
    {2000, KNIGHT, 1100, 400},
    {2000, KNIGHT, 1200, 300},
    {2000, KNIGHT, 800, 500},
    {2000, KNIGHT, 900, 100},
    {2000, KNIGHT, 1000, 100},
    {2000, KNIGHT, 1100, 400},
    {2000, KNIGHT, 1200, 200},
    {2000, NOMIN, 750, 440},
    {2000, NOMIN, 700, 240},
    {2000, NOMIN, 720, 140},

    {2300, KNIGHT, 800, 300},
    {2300, KNIGHT, 900, 400},
    {2300, KNIGHT, 1000, 300},
    {2300, KNIGHT, 1100, 400},
    {2300, KNIGHT, 1200, 300},
    {2300, KNIGHT, 1300, 500},
    {2300, KNIGHT, 1400, 100},
    {2300, KNIGHT, 1500, 350},
    {2300, KNIGHT, 1600, 150},
    {2300, KNIGHT, 1700, 300},
    {2300, NOMIN, 750, 200},

    {2400, NOMIN, 650, 200},

    {2500, NOMIN, 600, 200},

    {2800, TENIN, 500, 50},
    {2800, TENIN, 600, 300},
    {2800, TENIN, 500, 240},
    {2800, TENIN, 600, 500},
    {2800, TENIN, 500, 400},

    {3300, TENIN, 550, 60},
    {3300, TENIN, 650, 360},
    {3300, TENIN, 550, 260},
    {3300, TENIN, 650, 200},
    {3300, TENIN, 500, 400},

    {4000, KNIGHT, 800, 300},
    {4000, KNIGHT, 900, 400},
    {4000, KNIGHT, 1000, 300},
    {4000, KNIGHT, 1100, 400},
    {4000, KNIGHT, 1200, 300},
    {4000, KNIGHT, 1300, 500},
    {4000, KNIGHT, 1400, 100},
    {4000, KNIGHT, 1500, 350},
    {4000, KNIGHT, 1600, 150},
    {4000, KNIGHT, 1700, 300},
    {4000, NOMIN, 750, 200},
    {4000, NOMIN, 750, 400},
    {4000, NOMIN, 750, 550},

    {4200, TENIN, 500, 50},
    {4200, TENIN, 600, 300},
    {4200, TENIN, 500, 240},
    {4200, TENIN, 600, 500},
    {4200, TENIN, 500, 350},

    {TIMELINE_LAST_FRAME, BOSS, 600, 50},
};
static_assert(std::size(STAGE_TIMELINE) == 109, "80 knights, 13 villagers, 15 clerks, the boss");

}  // namespace

void RunTimeline(int32_t stageFrame) {
    for (const WaveEntry& entry : STAGE_TIMELINE) {
        if (entry.frame == stageFrame) entry.create(Vec3{entry.x, entry.y, 0});
    }
}
