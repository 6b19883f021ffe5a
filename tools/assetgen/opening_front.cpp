// The opening's front layer: the story and its players, 800 x 2400, mostly clear.
#include "font.h"
#include "scenery.h"
#include "scenes.h"
#include "sprites.h"

namespace ag {

Image openingFront() {
    Image img(800, 2400);
    const TextStyle head = headingStyle(5);
    const int pause = 150;  // sky between the chapters while it scrolls
    int y = 70;
    drawTextCentered(img, "THE LONGEST NIGHT", 400, y, head);
    y += 90;
    y = storyBlock(
        img, y,
        {"EVERY WINTER, WHEN THE FIRST SNOW SETTLES, THE TOWN LIGHTS A THOUSAND LANTERNS "
         "FOR THE FESTIVAL OF THE LONGEST NIGHT.",
         "AND EVERY YEAR, SANTA COMES TO TOWN WITH A SLEIGH FULL OF GIFTS."},
        3);
    y += pause / 2;
    img.draw(revivalSprite(), 400 - 32, y, 4);
    y += 64 + pause;
    y = storyBlock(img, y,
                   {"BUT THIS YEAR THE TOWNSFOLK HAVE SHUT THEIR DOORS.",
                    "THE VILLAGERS CROSS THEIR ARMS. THE SHOPKEEPERS PULL DOWN THEIR SHUTTERS.",
                    "\"NO MORE GIFTS!\" THEY CRY. \"WE HAVE QUITE ENOUGH, THANK YOU.\""},
                   3);
    y += pause / 2;
    img.draw(villagerSprite(), 400 - 140, y, 2);
    img.draw(shopSprite(false), 400 - 32, y, 4);
    img.draw(villagerSprite().flippedX(), 400 + 76, y, 2);
    y += 64 + pause;
    y = storyBlock(
        img, y,
        {"THE LORD OF THE TOWN HAS SENT OUT HIS KNIGHTS TO GUARD EVERY STREET AGAINST EVEN "
         "THE SMALLEST PRESENT."},
        3);
    y += pause / 2;
    for (int k = 0; k < 3; ++k) img.draw(knightSprite(), 400 - 150 + k * 110, y, 4);
    y += 64 + pause;
    y = storyBlock(
        img, y,
        {"SANTA IS NOT ONE TO GIVE UP.",
         "HE STRINGS HIS BOW, TIES A RIBBON TO EVERY ARROW, AND SETS OUT ON FOOT INTO THE "
         "FESTIVAL NIGHT.",
         "IF THEY WILL NOT TAKE THEIR GIFTS BY HAND..."},
        3);
    y += pause / 2;
    drawTextCentered(img, "THEY WILL TAKE THEM BY ARROW!", 400, y, headingStyle(4));
    y += 80;
    img.draw(santaFrame(0), 400 - 32, y, 4);
    img.draw(arrowSprite(), 400 + 48, y + 18, 2);
    return img;
}

}  // namespace ag
