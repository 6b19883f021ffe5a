// The touch controls of the page: a stick on the left, fire and start on the right, laid out in
// the letterbox bars where they have room and over the picture's corners where they have not.
#pragma once

#include <cstdint>

#include "platform/renderer.h"

namespace plat::common {

struct Circle {
    float x = 0, y = 0, r = 0;
};

struct TouchLayout {
    Circle stick;
    Circle fire;
    Circle start;
    bool overPicture = false;  // no bar has room: the controls lie over the picture
};

// For a screen of outW x outH pixels with the picture at `picture` (FitPicture's rectangle).
TouchLayout LayOutTouch(int outW, int outH, const PictureRect& picture);

enum class TouchZone { None, Stick, Fire, Start };
// The control a touch beginning at (x, y) takes hold of: the nearest whose circle, made a little
// larger for thumbs, holds the point. It stays that control's until it ends.
TouchZone ZoneAt(const TouchLayout& layout, float x, float y);
// The arrows a stick touch at (x, y) holds: its offset from the stick's centre, read by the
// pads' own rules (dead zone, eight directions). PAD_ bits.
uint8_t StickTouch(const TouchLayout& layout, float x, float y);

}  // namespace plat::common
