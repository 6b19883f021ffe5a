// The stage scene: lays out the town, deals the lives, starts the stage music, brings the
// player in and releases the waves of the stage timeline.
#pragma once

#include <cstdint>

#include "tasks/node.h"

constexpr int32_t STAGE_LIVES = 15;
constexpr int32_t ONE_LIFE_LIVES = 1;
constexpr int32_t ENTRY_FRAME = 1;  // the stage frame in which the player slides in

class GameTime : public NodeBaseClass {
public:
    ~GameTime() override;
    void Init();
    void Update() override;
    void Draw() override {}
    const char* ClassName() const override { return "GameTime"; }
    void Describe(TaskFields& out) const override;

    int32_t stageFrame = 0;  // updates since Init: 1 during the first
};
