// The stage's town: 800 x 600, tiling left to right.
#include "scenery.h"
#include "scenes.h"

namespace ag {

Image townPicture() {
    Image img(800, 600);
    img.wrapX = true;
    img.vgradient(0, 470, {kSkyTop, kSkyMid, kSkyLow}, 6);
    stars(img, 0, 330, 260, 1);
    // no moon here: it would slide by with the houses and mark every turn of the picture
    townStreet(img, 470, 42, true);
    snowfall(img, 0, 600, 140, 9, 90);
    return img;
}

}  // namespace ag
