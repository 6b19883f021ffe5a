// How a scene asks for the next one: the request is served at the start of the next update tick.
#pragma once

#include <cstdint>

enum : uint32_t {
    SCENE_OP = 0,
    SCENE_GAMETIME = 1,
    SCENE_GAMEOVER = 2,
    SCENE_ED = 3,
    SCENE_COUNT = 4,
};

// Stores the id, then raises the flag; the rest of this tick (updates, collisions, the draw)
// still runs with the old scene. An id without a scene leaves the task list empty.
void RequestScene(uint32_t id);
