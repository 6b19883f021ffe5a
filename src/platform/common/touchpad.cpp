#include "platform/common/touchpad.h"

#include <algorithm>

#include "platform/common/stick.h"

namespace plat::common {

namespace {

// Sizes as parts of the screen's shorter side.
constexpr float STICK = 0.2f;
constexpr float FIRE = 0.11f;
constexpr float START = 0.065f;
constexpr float MARGIN = 0.03f;
// A bar this wide (a part of the shorter side) takes the controls.
constexpr float SIDE_BAR = 0.24f;
constexpr float BOTTOM_BAR = 0.3f;
constexpr float REACH = 1.4f;  // a thumb a little outside a circle still counts

float DistanceIn(const Circle& c, float x, float y) {
    const float dx = x - c.x, dy = y - c.y;
    return (dx * dx + dy * dy) / (c.r * c.r);
}

}  // namespace

TouchLayout LayOutTouch(int outW, int outH, const PictureRect& picture) {
    TouchLayout layout;
    const float w = static_cast<float>(outW), h = static_cast<float>(outH);
    const float u = std::min(w, h), m = MARGIN * u;
    const float left = static_cast<float>(picture.x);
    const float right = w - static_cast<float>(picture.x + picture.w);
    const float bottom = h - static_cast<float>(picture.y + picture.h);
    const float side = std::min(left, right);
    if (side >= SIDE_BAR * u) {
        // Landscape: the stick in the left bar, the buttons in the right one, low for thumbs.
        layout.stick = {side / 2, h * 0.62f, std::min(STICK * u, side / 2 - m)};
        layout.fire = {w - side / 2, h * 0.62f, std::min(FIRE * u, side / 2 - m)};
        layout.start = {w - side / 2, h * 0.25f, std::min(START * u, side / 2 - m)};
    } else if (bottom >= BOTTOM_BAR * u) {
        // Portrait: all three in the bar under the picture.
        const float cy = h - bottom / 2, room = bottom / 2 - m;
        layout.stick = {m + std::min(STICK * u, room), cy, std::min(STICK * u, room)};
        layout.fire = {w - m - std::min(FIRE * u, room), cy, std::min(FIRE * u, room)};
        layout.start = {w / 2, cy, std::min(START * u, room)};
    } else {
        layout.overPicture = true;
        layout.stick = {m + STICK * u, h - m - STICK * u, STICK * u};
        layout.fire = {w - m - FIRE * u, h - m - FIRE * u, FIRE * u};
        layout.start = {w - m - START * u, m + START * u, START * u};
    }
    return layout;
}

TouchZone ZoneAt(const TouchLayout& layout, float x, float y) {
    const struct {
        const Circle& circle;
        TouchZone zone;
    } controls[] = {{layout.stick, TouchZone::Stick},
                    {layout.fire, TouchZone::Fire},
                    {layout.start, TouchZone::Start}};
    TouchZone best = TouchZone::None;
    float nearest = REACH * REACH;
    for (const auto& control : controls) {
        if (control.circle.r <= 0) continue;
        const float d = DistanceIn(control.circle, x, y);
        if (d <= nearest) {
            nearest = d;
            best = control.zone;
        }
    }
    return best;
}

uint8_t StickTouch(const TouchLayout& layout, float x, float y) {
    const Circle& s = layout.stick;
    if (s.r <= 0) return 0;
    return StickPads((x - s.x) / s.r, (y - s.y) / s.r);
}

}  // namespace plat::common
