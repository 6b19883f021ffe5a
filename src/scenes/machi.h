// The town: the stage's endless background, its fade-in, and the end of the stage (a wait,
// a fade to black over everything, then the game-over or ending request).
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/node.h"

constexpr float MACHI_SCROLL_SPEED = 5.0f;
constexpr float MACHI_WRAP_AT = -800.0f;  // at or past this a copy jumps back to the right
constexpr float MACHI_WRAP_TO = 800.0f;
constexpr int32_t MACHI_END_WAIT = 190;       // updates of the end condition before the fade
constexpr int32_t MACHI_END_TIMER_MAX = 200;  // where endTimer stops counting
constexpr uint32_t MACHI_FADE_STEP = 5;
constexpr uint32_t MACHI_FULL_BRIGHTNESS = 255;
// Below this brightness the darkening town climbs over the actors, so it covers the scene.
constexpr uint32_t MACHI_COVER_BRIGHTNESS = 100;
constexpr int32_t MACHI_COVER_STEP = 50;

class Machi : public NodeBaseClass {
public:
    void Init(Vec3 position);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Machi"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
    uint32_t brightness = 0;  // 0 black to 255 full, in steps of 5
    int32_t endTimer = 0;     // updates since the end condition came true, up to 200
};
