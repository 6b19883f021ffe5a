// The game-over screen: fades its picture in, and after Enter back out to the opening.
#pragma once

#include <cstdint>

#include "tasks/node.h"

constexpr int32_t GAMEOVER_PRIORITY = -1;
constexpr uint32_t GAMEOVER_FADE_STEP = 5;
constexpr uint32_t GAMEOVER_FULL_BRIGHTNESS = 255;

class GAMEOVER : public NodeBaseClass {
public:
    ~GAMEOVER() override;
    void Init();
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "GAMEOVER"; }
    void Describe(TaskFields& out) const override;

    uint32_t brightness = 0;
    uint8_t isLeaving = 0;  // Enter seen, also during the fade-in
    uint8_t isFadedIn = 0;
};
