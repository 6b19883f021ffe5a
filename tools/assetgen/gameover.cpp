// The game-over screen: an empty street and a gift left in the snow.
#include <algorithm>
#include <cmath>

#include "font.h"
#include "scenery.h"
#include "scenes.h"
#include "sprites.h"

namespace ag {

Image gameOverPicture() {
    Image img(800, 600);
    img.vgradient(0, 420, {rgb(4, 4, 12), rgb(18, 18, 34), rgb(36, 36, 54)}, 6);
    stars(img, 0, 300, 90, 4);
    // an empty street: the houses all dark
    farSkyline(img, 400, 5, rgb(22, 22, 36), true);
    for (int y = 420; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            img.set(x, y, bayer(x, y) < (y - 420) / 200.0 ? rgb(70, 72, 92) : rgb(54, 56, 76));
    // an unopened gift half buried in a drift
    const int mx = 400, base = 534, rx = 118, ry = 36;
    for (int y = base - 6; y < base + 10; ++y)  // the drift's shadow on the street
        for (int x = mx - rx; x < mx + rx + 60; ++x) {
            const double u = (x - mx - 30) / double(rx + 24), v = (y - base - 1) / 8.0;
            if (u * u + v * v <= 1 && bayer(x, y) < 0.75) img.set(x, y, rgb(40, 42, 60));
        }
    Image gift = giftSprite(rgb(120, 40, 48), rgb(170, 150, 90));
    img.draw(gift, mx - gift.w * 5 / 2, base - ry - 58, 5);
    // snow settled on the lid
    img.fillRect(mx - 25, base - ry - 28, 14, 3, rgb(170, 172, 196));
    img.fillRect(mx + 12, base - ry - 28, 10, 2, rgb(150, 152, 178));
    // the drift, lit from the upper left and dithered between four tones
    const Color tones[] = {rgb(62, 64, 86), rgb(86, 88, 112), rgb(114, 116, 142),
                           rgb(146, 148, 176)};
    for (int x = mx - rx; x <= mx + rx; ++x) {
        const double u = (x - mx) / double(rx);
        const int top = base - int(std::lround(ry * std::pow(1 - u * u, 0.7)));
        for (int y = top; y < base + 2; ++y) {
            const double v = base > top ? double(base - y) / (base - top) : 0;
            const double light = 0.45 - 0.5 * u + 0.45 * v * (1 - 0.5 * u);
            const double q = std::clamp(light, 0.0, 1.0) * 3;
            int t = int(q);
            if (q - t > bayer(x, y)) ++t;
            Color c = tones[std::min(t, 3)];
            if (y == top && u < 0.4) c = rgb(178, 180, 206);  // a bright lip of new snow
            img.set(x, y, c);
        }
    }
    snowfall(img, 0, 600, 700, 6, 150);

    TextStyle big;
    big.scale = 10;
    big.fill = rgb(210, 220, 245);
    big.fillBottom = rgb(110, 120, 170);
    big.outline = rgb(8, 8, 18);
    big.outlineWidth = 5;
    big.shadow = rgb(0, 0, 0, 160);
    big.snowCap = rgb(250, 252, 255);
    drawTextCentered(img, "GAME OVER", 400, 170, big);
    TextStyle sub = storyStyle(3);
    sub.fill = rgb(190, 196, 220);
    sub.fillBottom = rgb(150, 156, 190);
    drawTextCentered(img, "THE GIFTS LIE UNOPENED IN THE SNOW", 400, 290, sub);
    return img;
}

}  // namespace ag
