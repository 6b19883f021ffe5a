// The opening's back layer: the night sky over the town, 800 x 1800.
#include <cmath>

#include "scenery.h"
#include "scenes.h"

namespace ag {

Image openingBack() {
    Image img(800, 1800);
    img.vgradient(0, 1800,
                  {rgb(2, 2, 10), rgb(6, 8, 26), rgb(14, 18, 48), kSkyMid, rgb(50, 52, 96)}, 5);
    stars(img, 0, 1500, 1400, 12);
    // a faint green aurora band near the top
    for (int x = 0; x < 800; ++x) {
        double c = 300 + 60 * std::sin(x / 120.0) + 25 * std::sin(x / 37.0);
        for (int y = int(c) - 50; y < int(c) + 50; ++y) {
            double k = 1 - std::abs(y - c) / 50;
            if (bayer(x, y) < k * 0.5) img.blend(x, y, rgb(60, 170, 130, 40));
        }
    }
    moon(img, 180, 900, 46, rgb(214, 218, 232));
    townStreet(img, 1720, 21, true);
    snowfall(img, 900, 1800, 500, 13, 120);
    return img;
}

}  // namespace ag
