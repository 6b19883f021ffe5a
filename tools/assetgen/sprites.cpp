#include "sprites.h"

#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>

namespace ag {

Color paletteColor(char c) {
    static const std::map<char, Color> pal = {
        {'.', rgb(0, 0, 0, 0)},    {'k', rgb(22, 16, 30)},    {'r', rgb(220, 38, 46)},
        {'R', rgb(140, 20, 38)},   {'p', rgb(255, 130, 120)}, {'w', rgb(250, 250, 255)},
        {'g', rgb(192, 202, 222)}, {'G', rgb(122, 130, 156)}, {'d', rgb(64, 66, 86)},
        {'s', rgb(252, 204, 164)}, {'S', rgb(214, 150, 118)}, {'b', rgb(156, 94, 44)},
        {'B', rgb(96, 56, 28)},    {'h', rgb(214, 152, 86)},  {'y', rgb(255, 218, 66)},
        {'Y', rgb(204, 140, 30)},  {'o', rgb(250, 146, 40)},  {'n', rgb(36, 46, 110)},
        {'u', rgb(64, 110, 212)},  {'c', rgb(150, 210, 255)}, {'e', rgb(56, 176, 82)},
        {'E', rgb(26, 104, 52)},   {'l', rgb(232, 238, 246)}, {'m', rgb(166, 176, 196)},
        {'M', rgb(98, 106, 132)},  {'v', rgb(156, 84, 200)},  {'V', rgb(88, 40, 124)},
        {'W', rgb(255, 248, 200)}, {'f', rgb(255, 236, 150)}, {'D', rgb(40, 42, 58)},
        {'q', rgb(255, 64, 196)},  {'j', rgb(150, 20, 112)},  {'i', rgb(255, 196, 242)},
        {'a', rgb(196, 136, 240)}, {'A', rgb(50, 20, 76)},    {'z', rgb(128, 150, 208)},
    };
    auto it = pal.find(c);
    if (it == pal.end()) throw std::runtime_error(std::string("no palette colour for '") + c + "'");
    return it->second;
}

Image fromGrid(const char* name, const std::vector<std::string>& rows) {
    if (rows.empty()) throw std::runtime_error(std::string("sprite ") + name + " has no rows");
    const int w = int(rows[0].size()), h = int(rows.size());
    Image img(w, h);
    for (int y = 0; y < h; ++y) {
        if (int(rows[y].size()) != w)
            throw std::runtime_error(std::string("sprite ") + name + " row " + std::to_string(y) +
                                     " is " + std::to_string(rows[y].size()) + " wide, not " +
                                     std::to_string(w));
        for (int x = 0; x < w; ++x) img.set(x, y, paletteColor(rows[y][x]));
    }
    return img;
}

namespace {

// Outline pixels open to the sky above or behind take a lighter rim, so a dark silhouette
// keeps its edge against the night sky; the feet and the edges below stay dark.
Image rimLit(const Image& img) {
    const Color k = paletteColor('k'), rim = paletteColor('z');
    Image out = img;
    for (int y = 0; y < img.h - img.h / 8; ++y)
        for (int x = 0; x < img.w; ++x) {
            const Color c = img.get(x, y);
            if (c.a == 0 || c.r != k.r || c.g != k.g || c.b != k.b) continue;
            if (img.get(x, y - 1).a == 0 || img.get(x + 1, y).a == 0) out.set(x, y, rim);
        }
    return out;
}

}  // namespace

// Santa on his small sleigh, gliding in.
Image revivalSprite() {
    // clang-format off
    return fromGrid("revival", {
        "................",
        "....kkkk........",
        "...krrrrkk......",
        "..kwkrrrrrk.....",
        "..kkwwwwwwk.....",
        "...ksssksk......",
        "..kwwsssspk.....",
        "..kwwwwwwk......",
        "kk.kwwwwk.....kk",
        "kykkkkkkkkkkkkyk",
        "kyrrrrrrrrrrrrk.",
        "krrrrrrrrrrrrrk.",
        ".kRRRRRRRRRRRk..",
        "..kkkkkkkkkkk...",
        ".kyyyyyyyyyyyyk.",
        "..kkkkkkkkkkkk..",
    });
    // clang-format on
}

// Santa: one body over four leg poses. Body cols 1-8 fill the hit box; the bow is to the right.
// On the two strides (cells 0 and 2) the body sinks one pixel, so the run has a bob.
Image santaFrame(int i) {
    // clang-format off
    static const std::vector<std::string> body = {
        "....kkkk........",
        "..kkrrrrk.......",
        ".kwkrrrrrk.b....",
        ".kkwwwwwwk..b...",
        "..kssssksk.gkb..",
        ".kwwsssspk.g.kb.",
        ".kwwwwwwwk.g..b.",
        "krrwwwwwkrrrrBBb",
        "krrrwwwkrrrrrBBb",
        "krrrrrrrk..g..b.",
        "kkkkykkkk..g.kb.",
        ".krrrrrrk..gkb..",
        ".kwwwwwwk...b...",
    };
    // clang-format on
    // legs under a raised body (three rows) and under a sunk one (two rows)
    static const std::vector<std::vector<std::string>> legs = {
        {"kdddk..kdddkb...", "kkkk....kkkk...."},
        {"..krrkrrk...b...", "..kddkdddk......", "..kkkkkkkkk....."},
        {".kdddk.kdddkb...", ".kkkk...kkkk...."},
        {"...krrrrk...b...", "...kdddddk......", "...kkkkkkkk....."},
    };
    const auto& pose = legs.at(size_t(i));
    std::vector<std::string> rows;
    if (pose.size() == 2) rows.push_back(std::string(16, '.'));
    for (const auto& r : body) rows.push_back(r);
    for (const auto& r : pose) rows.push_back(r);
    return fromGrid("santa", rows);
}

Image santaStrip() {
    Image strip(64, 16);
    for (int i = 0; i < 4; ++i) strip.draw(santaFrame(i), i * 16, 0);
    return strip;
}

// A light shaft with a glowing gold head and ribbon fletching; the dark edge runs underneath.
Image arrowSprite() {
    // clang-format off
    return fromGrid("arrow", {
        "................",
        "................",
        "................",
        "................",
        "................",
        "...........kk...",
        "rr.........kyfk.",
        "prwwwwwwwwwfWWWk",
        "prlllllllllfWWWW",
        "rrkkkkkkkkkkyfk.",
        "...........kk...",
        "................",
        "................",
        "................",
        "................",
        "................",
    });
    // clang-format on
}

// Knight of the town watch: plumed helm, sword forward, shield with a gold star. Drawn at 2.5
// times, so details come in runs of two pixels: single-pixel alternations scale unevenly.
Image knightSprite() {
    // clang-format off
    return rimLit(fromGrid("knight", {
        "........kkk.....",
        ".......krrrk....",
        "......krrrRk....",
        "....kkkkrRkkk...",
        "...kmmllmmmmMk..",
        "...kmllmmmmmMk..",
        "...kkkkkkkmmMk..",
        "...kMMMMMMmmMk..",
        "....kkkkkkkmMk..",
        "kllllkkuuuuukMk.",
        ".....kuuyyuukMk.",
        ".....kuyyyyukMk.",
        ".....kuuyyuukMk.",
        "......kuuuukMMk.",
        ".....kMMk.kMMk..",
        "....kkkkk.kkkkk.",
    }));
    // clang-format on
}

// A villager in a winter coat, arms crossed: wants no gift, thank you.
Image villagerSprite() {
    // clang-format off
    Image small = fromGrid("villager", {
        "......kkk.......",
        ".....kwwwk......",
        "....kkeekkk.....",
        "...keeEeeEek....",
        "...kwwwwwwwk....",
        "...kssssssSk....",
        "...ksksskssk....",
        "...kSssssssk....",
        "....ksskksk.....",
        "...kkrrrrrkk....",
        "..kbbrrRrbbbk...",
        "..kbbkrRkbbBk...",
        "..kssbbbbbsBk...",
        "..kbbbbbbbbBk...",
        "...kBBk.kBBk....",
        "..kkkkk.kkkkk...",
    });
    // clang-format on
    return small.scaled(2);
}

// The enemy shot (all three kinds share it): a magenta spark with a white core and a dark
// ring, a hue the town never uses, so it is never taken for a window, a lamp or an ornament.
Image bulletSprite() {
    // clang-format off
    return fromGrid("bullet", {
        "................",
        "................",
        "......kkkk......",
        "....kkjjjjkk....",
        "...kjjqqqqjjk...",
        "...kjqqiiqqjk...",
        "..kjqiiwwiiqjk..",
        "..kjqiwwwwiqjk..",
        "..kjqiwwwwiqjk..",
        "..kjqiiwwiiqjk..",
        "...kjqqiiqqjk...",
        "...kjjqqqqjjk...",
        "....kkjjjjkk....",
        "......kkkk......",
        "................",
        "................",
    });
    // clang-format on
}

// The shop front: striped awning, lit window with the clerk (open) or shutters down (closed).
// Drawn at 2.5 times: stripes, slats and wares come in runs of two pixels so they scale evenly.
Image shopSprite(bool open) {
    if (open)
        // clang-format off
        return fromGrid("shop open", {
            "kkkkkkkkkkkkkkkk",
            "krrwwrrwwrrwwrrk",
            "krrwwrrwwrrwwrrk",
            ".kkkkkkkkkkkkkk.",
            ".kBfffffffffffBk",
            ".kBfkkkkkkkkffBk",
            ".kBfkrrrrrrkffBk",
            ".kBfkSsssssSkfBk",
            ".kBfkSkssksSkfBk",
            ".kBfkSsppssSkfBk",
            ".kBffkwwwwkkffBk",
            ".kBfkwwwwwwkffBk",
            ".kkkkkkkkkkkkkkk",
            ".kbbbbbbbbbbbbbk",
            ".kbeebyybbrrbbbk",
            ".kkkkkkkkkkkkkkk",
        });
    // clang-format on
    // clang-format off
    return fromGrid("shop closed", {
        "kkkkkkkkkkkkkkkk",
        "kRRggRRggRRggRRk",
        "kRRggRRggRRggRRk",
        ".kkkkkkkkkkkkkk.",
        ".kBgggggggggggBk",
        ".kBGGGGGGGGGGGBk",
        ".kBGGGGGGGGGGGBk",
        ".kBdddddddddddBk",
        ".kBggggkkgggggBk",
        ".kBGGGkyykGGGGBk",
        ".kBGGGkYYkGGGGBk",
        ".kBdddddddddddBk",
        ".kkkkkkkkkkkkkkk",
        ".kBBBBBBBBBBBBBk",
        ".kBBBBBBBBBBBBBk",
        ".kkkkkkkkkkkkkkk",
    });
    // clang-format on
}

// The Lord of the Town: a tall crown, red eyes under heavy brows, an ermine collar and a purple
// mantle spread wide over a gold-trimmed robe, the sceptre in his fist. Fills his whole cell.
Image bossSprite() {
    // clang-format off
    return rimLit(fromGrid("boss", {
        ".......k........kk........k.....",
        "......kyk......kyyk......kyk....",
        "......kyyk....kyyyyk....kyyk....",
        ".....kkyyykkkkyyyyyykkkkyyykk...",
        ".....kyyyyyyyyyyyyyyyyyyyyyyk...",
        ".....kyrryyyyyyyccyyyyyyyrryk...",
        ".....kyrryyyyyyyccyyyyyyyrryk...",
        ".....kYYYYYYYYYYYYYYYYYYYYYYk...",
        "..kk..kkkkkkkkkkkkkkkkkkkkkk....",
        ".kyyk....kkkkssssssskkkk........",
        ".kyyk....kSrrkssssskrrSk........",
        "..kk.....kSsssssSsssssSk........",
        "...kk....kSsgggggggggsSk........",
        "...kYk....kggGkkkkkGggk.........",
        "...kYk.kkwkkgggggggggkkwkk......",
        "...kYkkAwwwkwkGgggGkwkwwwAk.....",
        "..kssYkAAwwwwwkkGkkwwwwwAAvk....",
        "..kssYkvAAkkwwwwwwwwwkkAAvvvk...",
        "...kYkvvvAAkyyyyyyyyykAAvvvvk...",
        "...kYkavvvAkvvvvyvvvvkAvvvvvvk..",
        "...kYkavvvAkvvvvyvvvvkAvvvvvvk..",
        "...kYkavvvAkyyyyyyyyykAvvvvvvvk.",
        "..kkYkavvvAkvvvvyvvvvkAvvvvvvvk.",
        ".kavYkavvvvAkvvvyvvvkAvvvvvvvVk.",
        ".kavYvavvvvAkvvvyvvvkAvvvvvvvVVk",
        "kavvYvvvvvvAkvvvyvvvkAvvvvvvVVVk",
        "kavvvvvvvvvAkvvvyvvvkAVvvvvvVVVk",
        "kavvvvvvvvvAkvvvyvvvkAVvvvvvVVVk",
        "kavvvvvvvvvAkVVVVVVVkAVVvvvVVVVk",
        "kyyyyyyyyyyAkMMkkkMMkAyyyyyyyyyk",
        "kYYYYYYYYYYAkMMk.kMMkAYYYYYYYYYk",
        "kkkkkkkkkkkkkkkk.kkkkkkkkkkkkkkk",
    }));
    // clang-format on
}

// Festive burst: a gold flash, a ring of coloured sparks flying out, then a snow puff that thins.
Image explosionStrip() {
    Image strip(176, 16);
    const Color sparkCols[] = {paletteColor('y'), paletteColor('r'), paletteColor('e'),
                               paletteColor('c')};
    for (int f = 0; f < 11; ++f) {
        Image cell(16, 16);
        const double t = f / 10.0;
        // the puff: grows, then dissolves with an ordered-dither mask
        const double puffR = 2.0 + 5.5 * std::sqrt(t);
        const double keep = f < 5 ? 1.0 : 1.0 - (f - 4) / 7.0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                double dx = x + 0.5 - 8, dy = y + 0.5 - 8, d = std::sqrt(dx * dx + dy * dy);
                // hashed per-pixel threshold so the puff thins in clumps, not a checkerboard
                uint32_t hsh = uint32_t(x * 73856093u) ^ uint32_t(y * 19349663u) ^ 0x5bd1e995u;
                hsh = (hsh ^ (hsh >> 13)) * 0x5bd1e995u;
                double grain = ((hsh >> 8) & 0xFF) / 256.0 * 0.6 + bayer(x, y) * 0.4;
                if (d > puffR || grain >= keep) continue;
                Color c = d > puffR - 1.2 ? paletteColor('g') : paletteColor('w');
                if (f < 3 && d < puffR - 1.0) c = f == 0 ? paletteColor('W') : paletteColor('f');
                if (f >= 1 && f < 4 && d < 1.6) c = paletteColor('y');
                cell.set(x, y, c);
            }
        // eight sparks on a ring, alternating colours, each a plus sign then a dot
        if (f >= 1 && f <= 9) {
            const double r = 2.5 + 5.5 * std::sqrt((f - 1) / 8.0);
            for (int k = 0; k < 8; ++k) {
                double a = k * 3.14159265358979 / 4 + f * 0.12;
                int sx = int(std::lround(7.5 + r * std::cos(a))),
                    sy = int(std::lround(7.5 + r * std::sin(a)));
                Color c = sparkCols[(k + f / 3) % 4];
                cell.set(sx, sy, c);
                if (f < 6) {
                    cell.set(sx - 1, sy, paletteColor('k'));
                    cell.set(sx + 1, sy, paletteColor('k'));
                    cell.set(sx, sy - 1, paletteColor('k'));
                    cell.set(sx, sy + 1, paletteColor('k'));
                    cell.set(sx, sy, c);
                }
            }
        }
        strip.draw(cell, f * 16, 0);
    }
    return strip;
}

Image santaHead() {
    // clang-format off
    return fromGrid("santa head", {
        "........kkk.....",
        "......kkrrrk....",
        "....kkrrrrrrk...",
        "...krrrrrrrrrk..",
        "..krrrrrrrrrrkk.",
        "..kwwwwwwwwwwkwk",
        ".kwwwwwwwwwwwwkk",
        ".kssssssssssssk.",
        ".kskkssssskksk..",
        ".kssssspssssssk.",
        "kwwwssppppswwwwk",
        "kwwwwwssssswwwwk",
        "kwwwwwkkkkwwwwk.",
        ".kwwwwwwwwwwwk..",
        "..kkwwwwwwwkk...",
        "....kkkkkkk.....",
    });
    // clang-format on
}

// A gift box under a bow of two side loops; the box and ribbon colours are swapped in (with
// their shadows) so every gift can differ.
Image giftSprite(Color box, Color ribbon) {
    // clang-format off
    Image g = fromGrid("gift", {
        ".kkkk..kkkk.",
        "kyyyykkyyyyk",
        "kyYYyyyyYYyk",
        "kyyyykkyyyyk",
        ".kkkkyykkkk.",
        "...kyYYyk...",
        "kkkkkyykkkkk",
        "kuuuuyyuuuuk",
        "kkkkkyykkkkk",
        "knuuuyyuuunk",
        "knuuuyyuuunk",
        "kyyyyyyyyyyk",
        "knuuuyyuuunk",
        "knnnnYYnnnnk",
        "kkkkkkkkkkkk",
    });
    // clang-format on
    const std::pair<char, Color> swaps[] = {
        {'u', box},
        {'n', mix(box, rgb(0, 0, 0), 0.35)},
        {'y', ribbon},
        {'Y', mix(ribbon, rgb(0, 0, 0), 0.3)},
    };
    for (Color& c : g.px)
        for (const auto& [letter, to] : swaps) {
            const Color from = paletteColor(letter);
            if (c.a && c.r == from.r && c.g == from.g && c.b == from.b) {
                c = to;
                break;
            }
        }
    return g;
}

}  // namespace ag
