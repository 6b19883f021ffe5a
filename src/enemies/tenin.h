// The shop clerk: opens and closes on a 201-frame cycle, fires and can be destroyed only while
// open; struck while closed it charges at the player like a knight and can no longer be killed.
#pragma once

#include <cstdint>

#include "shell/graphics.h"
#include "tasks/hitobj.h"
#include "tasks/node.h"

constexpr int32_t TENIN_PRIORITY = 10;
constexpr int32_t TENIN_BOX_SIZE = 40;
constexpr int32_t TENIN_OPEN_AFTER = 100;   // opens once the timer passes this
constexpr int32_t TENIN_CLOSE_AFTER = 200;  // closes and restarts once it passes this
constexpr int32_t TENIN_VOLLEY_SPACING = 60;
constexpr int32_t TENIN_CHARGE_SHOT_SPACING = 20;
constexpr float TENIN_DRAW_SCALE = 2.5f;

class Tenin : public NodeBaseClass, public HitObjClass {
public:
    void Init(Vec3 pos);
    void Update() override;
    void Draw() override;
    const char* ClassName() const override { return "Tenin"; }
    void Describe(TaskFields& out) const override;

    Vec3 pos;
    int32_t openTimer = 0;
    uint8_t isOpen = 0;
    uint8_t isCharging = 0;
};
