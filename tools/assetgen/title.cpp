// The title screen: the sleigh crossing the moon over the town.
#include <cmath>

#include "font.h"
#include "scenery.h"
#include "scenes.h"
#include "sprites.h"

namespace ag {

namespace {

void tinsel(Image& img, int x0, int x1, int y, double sag, int loops) {
    const Color cols[] = {rgb(255, 214, 70), rgb(230, 50, 60), rgb(70, 190, 100),
                          rgb(250, 250, 255)};
    const int span = (x1 - x0) / loops;
    for (int l = 0; l < loops; ++l)
        for (int i = 0; i <= span; ++i) {
            double t = double(i) / span;
            int x = x0 + l * span + i;
            int yy = y + int(std::lround(sag * 4 * t * (1 - t)));
            Color c = cols[((x / 3) + l) % 4];
            img.fillRect(x, yy, 1, 4, rgb(20, 16, 30));
            img.set(x, yy + 1 + (x % 2), c);
            img.set(x, yy + 2 - (x % 2), mix(c, rgb(255, 255, 255), 0.4));
            if (x % 9 == 0) img.fillRect(x - 1, yy + 4, 3, 2 + (x % 4), c);
        }
}

// Santa's sleigh with two reindeer ahead, climbing to the right: a silhouette for the moon.
Image sleighTeam() {
    // clang-format off
    const Image sleigh = fromGrid("sleigh", {
        ".....kk...........",
        "....kkkk..........",
        "...kkkkkk.........",
        "...kkkkkk.........",
        "kk.kkkkkkk........",
        "kkkkkkkkkk........",
        "kkkkkkkkkkk......k",
        "kkkkkkkkkkkkk...kk",
        "kkkkkkkkkkkkkkkkkk",
        ".kkkkkkkkkkkkkkkk.",
        "..kkkkkkkkkkkkkk..",
        "...k.........k....",
        "kkkkkkkkkkkkkkkkkk",
    });
    const Image deer = fromGrid("reindeer", {
        ".........k.k",
        "..........k.",
        ".........kkk",
        ".........kk.",
        "..kkkkkkkk..",
        ".kkkkkkkkk..",
        "..kkkkkkkk..",
        "..kk....kk..",
        ".k.......k..",
        "k.........k.",
    });
    // clang-format on
    Image out(50, 19);
    out.draw(sleigh, 0, 6);
    out.draw(deer, 22, 3);
    out.draw(deer, 37, 0);
    const Color k = paletteColor('k');
    out.line(13, 12, 24, 8, k);  // the reins
    out.line(31, 7, 39, 4, k);
    return out;
}

}  // namespace

Image titlePicture() {
    Image img(800, 600);
    img.vgradient(0, 600, {rgb(6, 8, 26), kSkyMid, rgb(52, 50, 96)}, 6);
    stars(img, 0, 420, 320, 2);
    moon(img, 650, 356, 72, rgb(214, 218, 232));
    // Santa's sleigh and his team crossing the moon, with a trail of sparkles
    const Image team = sleighTeam();
    Image shadow(team.w, team.h);
    for (size_t i = 0; i < team.px.size(); ++i)
        if (team.px[i].a) shadow.px[i] = rgb(30, 30, 56);
    const int tx = 650 - team.w * 3 / 2, ty = 360 - team.h * 3 / 2;
    img.draw(shadow, tx, ty, 3);
    for (int i = 0; i < 14; ++i)
        img.fillRect(tx - 4 - i * 14, ty + 36 + i * 3 + (i % 2) * 4, 2, 2,
                     rgb(255, 230, 140, 220 - i * 14));
    townStreet(img, 560, 7, true, 96);
    darken(img, 0.15);
    snowfall(img, 0, 600, 420, 3, 140);

    TextStyle big;
    big.scale = 11;
    big.fill = rgb(255, 236, 120);
    big.fillBottom = rgb(226, 70, 50);
    big.outline = rgb(20, 10, 30);
    big.outlineWidth = 5;
    big.shadow = rgb(0, 0, 0, 150);
    big.snowCap = rgb(250, 252, 255);
    drawTextCentered(img, "TINSELRUN", 400, 92, big);
    tinsel(img, 110, 690, 188, 26, 4);
    TextStyle sub = storyStyle(3);
    sub.fill = rgb(220, 232, 255);
    sub.fillBottom = rgb(170, 190, 240);
    drawTextCentered(img, "SANTA'S LONGEST NIGHT", 400, 250, sub);
    return img;
}

}  // namespace ag
