#include <algorithm>
#include <cstdint>

#include "platform/renderer.h"

namespace plat {

PictureRect FitPicture(int outW, int outH, int picW, int picH, bool wholeMultiples) {
    PictureRect to;
    if (outW <= 0 || outH <= 0 || picW <= 0 || picH <= 0) return to;
    const int whole = std::min(outW / picW, outH / picH);
    if (wholeMultiples && whole >= 1) {
        to.w = picW * whole;
        to.h = picH * whole;
    } else if (int64_t{outW} * picH <= int64_t{outH} * picW) {
        // The width is what limits: bars above and below.
        to.w = outW;
        to.h = static_cast<int>(int64_t{outW} * picH / picW);
    } else {
        to.h = outH;
        to.w = static_cast<int>(int64_t{outH} * picW / picH);
    }
    to.x = (outW - to.w) / 2;
    to.y = (outH - to.h) / 2;
    return to;
}

}  // namespace plat
