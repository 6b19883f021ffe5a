// The stage's enemy schedule: a fixed table of (frame, class, position), run once per update.
#pragma once

#include <cstdint>

constexpr int32_t TIMELINE_LAST_FRAME = 4600;  // the boss; nothing comes after it

// Creates every object of the table whose frame equals stageFrame, in table order.
void RunTimeline(int32_t stageFrame);
