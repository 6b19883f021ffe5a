// The ending: a tall two-part picture scrolls up until its bottom rests on the screen's.
#pragma once

#include "shell/graphics.h"
#include "tasks/node.h"

constexpr Rect ED_UPPER_RECT = {0, 0, 800, ED_UPPER_HEIGHT};
constexpr Rect ED_LOWER_RECT = {0, 0, 800, ED_LOWER_HEIGHT};
constexpr float ED_SCROLL_SPEED = 0.5f;
// Past this y of the upper picture the strip holds: the strip's bottom is on the screen's.
constexpr float ED_STOP_Y = SCREEN_HEIGHT - (ED_UPPER_HEIGHT + ED_LOWER_HEIGHT);
// Where the lower picture then rests: its bottom on the screen's bottom.
constexpr float ED_LOWER_REST_Y = SCREEN_HEIGHT - ED_LOWER_HEIGHT;

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
