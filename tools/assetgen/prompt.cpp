// The plaque that asks for Enter under the title.
#include <algorithm>
#include <cmath>

#include "font.h"
#include "scenery.h"
#include "scenes.h"

namespace ag {

namespace {

// Two pointed leaves spreading from a cluster of three berries.
void hollySprig(Image& img, int cx, int cy) {
    const Color leaf = rgb(44, 156, 74), rib = rgb(24, 96, 48), berry = rgb(222, 40, 52);
    for (int side = -1; side <= 1; side += 2) {
        const double ang = side < 0 ? kPi + 0.35 : -0.35, ca = std::cos(ang), sa = std::sin(ang);
        const double lx = cx + side * 8.0, ly = cy + 1.0;
        for (int y = cy - 8; y <= cy + 8; ++y)
            for (int x = cx - 18; x <= cx + 18; ++x) {
                const double dx = x + 0.5 - lx, dy = y + 0.5 - ly;
                const double u = dx * ca + dy * sa, v = -dx * sa + dy * ca;
                // a leaf narrowing to a point at both ends, with a wavy edge
                const double half = 3.6 * (1 - (u / 9) * (u / 9)) + 0.7 * std::cos(u * 1.6);
                if (std::abs(u) > 9 || std::abs(v) > half) continue;
                img.set(x, y, std::abs(v) < 0.6 ? rib : leaf);
            }
    }
    img.fillCircle(cx - 2, cy - 1, 2.6, berry);
    img.fillCircle(cx + 2.5, cy - 0.5, 2.6, berry);
    img.fillCircle(cx + 0.2, cy + 2.8, 2.6, berry);
    img.set(cx - 3, cy - 2, rgb(255, 170, 170));
    img.set(cx + 1, cy - 2, rgb(255, 170, 170));
}

}  // namespace

Image promptPicture() {
    Image img(253, 76);
    // an opaque dark rounded plaque with a gold rim, so nothing behind shows through the words
    for (int y = 0; y < 76; ++y)
        for (int x = 0; x < 253; ++x) {
            int dx = std::max({0, 8 - x, x - 244}), dy = std::max({0, 8 - y, y - 67});
            double d = std::sqrt(double(dx * dx + dy * dy));
            if (d > 8) continue;
            Color c = rgb(16, 18, 44);
            if (d > 5.5 || x < 3 || y < 3 || x > 249 || y > 72)
                c = rgb(230, 180, 60);
            else if (d > 4.5 || x < 5 || y < 5 || x > 247 || y > 70)
                c = rgb(120, 70, 20);
            img.set(x, y, c);
        }
    // holly sprigs in two corners, above and below the words, clear of them
    hollySprig(img, 24, 14);
    hollySprig(img, 228, 62);
    TextStyle st = storyStyle(3);
    st.outlineWidth = 2;
    drawTextCentered(img, "PRESS ENTER", 127, 28, st);
    return img;
}

}  // namespace ag
