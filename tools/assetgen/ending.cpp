// The ending's strip: the story's close, the cast and the dawn, 800 x 3600.
#include <algorithm>
#include <cmath>

#include "font.h"
#include "scenery.h"
#include "scenes.h"
#include "sprites.h"

namespace ag {

namespace {

// A card for a cast portrait: the sky shows through a faint wash inside a rounded gold rule,
// with a glow that fades out, so the card turns with the sky instead of sitting on it.
void softFrame(Image& img, int x, int y, int w, int h) {
    const double r = 12, glow = 8;
    for (int py = y - int(glow); py < y + h + int(glow); ++py)
        for (int px = x - int(glow); px < x + w + int(glow); ++px) {
            const double dx = std::max({x + r - (px + 0.5), px + 0.5 - (x + w - r), 0.0});
            const double dy = std::max({y + r - (py + 0.5), py + 0.5 - (y + h - r), 0.0});
            const double d = std::sqrt(dx * dx + dy * dy) - r;  // below 0 inside the card
            if (d < -2)
                img.blend(px, py, rgb(8, 8, 28, 72));
            else if (d <= 0)
                img.blend(px, py, rgb(236, 196, 110, 210));
            else if (d < glow)
                img.blend(px, py, rgb(236, 196, 110, int(50 * (1 - d / glow))));
        }
}

}  // namespace

Image endingStrip() {
    Image img(800, 3600);
    // night at the top turning to dawn over the last screens
    img.vgradient(0, 3600,
                  {rgb(4, 4, 16), rgb(8, 10, 30), rgb(14, 18, 48), rgb(30, 36, 80),
                   rgb(90, 70, 120), rgb(220, 130, 110), rgb(250, 200, 140)},
                  6);
    stars(img, 0, 2400, 1600, 31);
    int y = 260;
    drawTextCentered(img, "THE MORNING AFTER", 400, y, headingStyle(5));
    y += 100;
    y = storyBlock(
        img, y,
        {"THE LAST ARROW SAILED OVER THE ROOFTOPS, AND THE LORD OF THE TOWN SAT DOWN HARD IN "
         "A SNOWDRIFT.",
         "IN HIS LAP LAY A LITTLE BOX TIED WITH RED RIBBON. INSIDE WAS A WARM SCARF, KNITTED "
         "JUST FOR HIM.",
         "HE WRAPPED IT ROUND HIS NECK, AND FOR THE FIRST TIME IN YEARS, HE SMILED.",
         "ONE BY ONE THE SHUTTERS ROSE. THE VILLAGERS UNCROSSED THEIR ARMS. THE KNIGHTS HUNG "
         "THEIR HELMETS ON THE FESTIVAL TREE.",
         "AND THE WHOLE TOWN SANG UNTIL THE LANTERNS BURNED LOW."},
        3);
    y += 160;
    drawTextCentered(img, "THE CAST", 400, y, headingStyle(5));
    y += 110;
    struct Entry {
        Image pic;
        int scale;
        const char* label;
    };
    const Entry cast[] = {
        {santaFrame(0), 5, "SANTA, WITH HIS BOW"}, {villagerSprite(), 3, "THE VILLAGERS"},
        {shopSprite(true), 5, "THE SHOPKEEPERS"},  {knightSprite(), 5, "THE KNIGHTS OF THE WATCH"},
        {bossSprite(), 4, "THE LORD OF THE TOWN"},
    };
    const TextStyle label = storyStyle(3);
    for (const Entry& e : cast) {
        int size = e.pic.w * e.scale;
        softFrame(img, 400 - size / 2 - 12, y - 12, size + 24, size + 24);
        img.draw(e.pic, 400 - size / 2, y, e.scale);
        y += size + 30;
        drawTextCentered(img, e.label, 400, y, label);
        y += 120;
    }
    y = storyBlock(img, y, {"AND ALL THE TOWNSFOLK WHO SAID THANK YOU IN THE END."}, 3);
    y += 80;
    drawTextCentered(img, "THANK YOU FOR PLAYING", 400, y, headingStyle(4));

    // the final picture: dawn over the town, Santa's sleigh heading home
    const int base = 3000;
    Image tail(800, 600);
    tail.px.assign(tail.px.size(), Color{});
    for (int yy = 0; yy < 600; ++yy)
        for (int x = 0; x < 800; ++x) tail.set(x, yy, img.get(x, base + yy));
    for (int k = 6; k >= 1; --k) tail.fillCircle(400, 430, 60 + k * 22, rgb(255, 220, 150, 22));
    tail.fillCircle(400, 430, 60, rgb(255, 236, 180));
    townStreet(tail, 540, 42, true, 110);
    for (Color& c : tail.px) c = mix(c, rgb(255, 190, 150, 255), 0.12);
    Image sleigh = revivalSprite();
    tail.draw(sleigh, 580, 60, 5);
    for (int i = 0; i < 16; ++i)
        tail.fillRect(572 - i * 16, 124 + i * 4 + (i % 2) * 5, 3, 3,
                      rgb(255, 240, 170, 230 - i * 12));
    TextStyle endSt = headingStyle(8);
    endSt.snowCap = rgb(255, 255, 255);
    drawTextCentered(tail, "THE END", 400, 210, endSt);
    for (int yy = 0; yy < 600; ++yy)
        for (int x = 0; x < 800; ++x) img.set(x, base + yy, tail.get(x, yy));
    return img;
}

}  // namespace ag
