// The ending: a tall two-part picture scrolls up until its bottom rests on the screen's.
#pragma once

#include "shell/graphics.h"
#include "tasks/node.h"

constexpr int ED_UPPER_TEXTURE = 13;
constexpr int ED_LOWER_TEXTURE = 14;
constexpr Rect ED_UPPER_RECT = {0, 0, 800, 1515};
constexpr Rect ED_LOWER_RECT = {0, 0, 800, 2085};
constexpr float ED_SCROLL_SPEED = 0.5f;
constexpr float ED_STOP_Y = -3000.0f;        // the upper picture's y past which the strip holds
constexpr float ED_LOWER_REST_Y = -1485.0f;  // 2085 tall: its bottom on the screen's bottom

class ED : public NodeBaseClass {
public:
    ~ED() override;
    void Init();
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "ED"; }
    void Describe(TaskFields& out) const override;

    Vec3 upperPos;
    Vec3 lowerPos;
};
