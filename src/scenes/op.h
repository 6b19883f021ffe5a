// The front end of a run: the opening scroll (OP, a scene) and the title screen (Title, a
// task that the opening creates when it ends).
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/node.h"

constexpr float OP_BACK_SPEED = 0.5f;
constexpr float OP_FRONT_SPEED = 1.0f;
constexpr float OP_FRONT_START_Y = 100.0f;
constexpr float OP_BACK_END_Y = -1200.0f;  // reached exactly after 2400 half-pixel steps

constexpr Rect TITLE_PROMPT_RECT = {0, 0, TITLE_PROMPT_WIDTH, TITLE_PROMPT_HEIGHT};
constexpr Vec3 TITLE_PROMPT_POS = {270, 400, 0};
constexpr int32_t TITLE_BLINK_PERIOD = 30;
// Enter counts only after this many blinks, so an Enter held through the opening's end
// does not skip the title.
constexpr int32_t TITLE_LOCKED_BLINKS = 3;
constexpr uint32_t TITLE_FADE_STEP = 5;

class OP : public NodeBaseClass {
public:
    void Init();
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "OP"; }
    void Describe(TaskFields& out) const override;

    Vec3 backPos;
    Vec3 frontPos;
};

class Title : public NodeBaseClass {
public:
    ~Title() override;
    void Init();
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Title"; }
    void Describe(TaskFields& out) const override;

    uint32_t brightness = 0;  // 255 full, 0 black
    uint8_t isStarting = 0;   // Enter accepted: fading out
    int32_t blinkTimer = 0;
    int32_t blinkSign = 0;  // +1 prompt shown, -1 hidden
    int32_t blinkCount = 0;
};
