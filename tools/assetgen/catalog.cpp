#include "catalog.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "font.h"
#include "scenes.h"
#include "shell/catalog.h"
#include "sounds.h"
#include "sprites.h"
#include "synth.h"

namespace ag {

namespace {

struct Picture {
    int entry;  // in the game's texture table
    std::function<Image()> make;
    double gameScale;
};

// Both ending pictures are cut from one strip; draw it once.
const Image& ending() {
    static const Image strip = endingStrip();
    return strip;
}

const std::vector<Picture>& pictures() {
    static const std::vector<Picture> list = {
        {TEX_FUKKI, revivalSprite, 4},
        {TEX_SANTA, santaStrip, 4},
        {TEX_YA, arrowSprite, 1},
        {TEX_KNIGHT, knightSprite, 2.5},
        {TEX_NOMIN, villagerSprite, 1},
        {TEX_BULLET, bulletSprite, 1},
        {TEX_MACHI, townPicture, 1},
        {TEX_TENIN_OPEN, [] { return shopSprite(true); }, 2.5},
        {TEX_TENIN_CLOSED, [] { return shopSprite(false); }, 2.5},
        {TEX_TITLE, titlePicture, 1},
        {TEX_GAMEOVER, gameOverPicture, 1},
        {TEX_OP_BACK, openingBack, 1},
        {TEX_OP_FRONT, openingFront, 1},
        {TEX_ED_UPPER, [] { return ending().crop(0, 0, 800, ED_UPPER_HEIGHT); }, 1},
        {TEX_ED_LOWER, [] { return ending().crop(0, ED_UPPER_HEIGHT, 800, ED_LOWER_HEIGHT); }, 1},
        {TEX_TITLE_PROMPT, promptPicture, 1},
        {TEX_BOSS, bossSprite, 2},
        {TEX_BAKUANI, explosionStrip, 4},
    };
    return list;
}

// What each sound slot plays: the effects in file order, then the four pieces of music.
Sound makeSound(int slot) {
    switch (slot) {
        case SND_STAGE: return stageMusic();
        case SND_ENDING: return endingMusic();
        case SND_GAMEOVER: return gameOverMusic();
        case SND_OPENING: return openingMusic();
        default: return makeEffect(slot);
    }
}

bool isEnding(int entry) {
    return entry == TEX_ED_UPPER || entry == TEX_ED_LOWER;
}

// The music as Ogg Vorbis at libvorbis's quality 0.5: the smallest at which the loudest passages
// keep their coding noise near the masking threshold (bench/README.md). The effects stay WAV:
// short, exact, decoded once, and small enough already.
constexpr float kMusicQuality = 0.5f;

Bytes soundFile(int slot, const Sound& s) {
    if (slot < SND_STAGE) return encodeWav(s.samples, s.channels, kRate);
    return encodeVorbis(s.samples, s.channels, kRate, kMusicQuality, slot == SND_STAGE,
                        uint32_t(slot + 1));
}

}  // namespace

const std::vector<Asset>& catalog() {
    static const std::vector<Asset> list = [] {
        std::vector<Asset> out;
        for (const Picture& p : pictures()) {
            auto make = p.make;
            out.push_back({PictureFile(p.entry), [make] { return encodePng(make()); }});
        }
        for (int slot = 0; slot < SOUND_COUNT; ++slot)
            out.push_back({SoundFile(slot), [slot] { return soundFile(slot, makeSound(slot)); }});
        return out;
    }();
    return list;
}

Image scaleNearest(const Image& img, double factor) {
    const int w = std::max(1, int(std::lround(img.w * factor))),
              h = std::max(1, int(std::lround(img.h * factor)));
    Image out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.px[size_t(y) * w + x] =
                img.get(std::min(img.w - 1, int(x / factor)), std::min(img.h - 1, int(y / factor)));
    return out;
}

Image contactSheet() {
    const int gap = 24, labelH = 26;
    // small pictures on a shelf along the top, the full screens below in columns
    std::vector<std::pair<int, Image>> small, big;
    for (const Picture& p : pictures()) {
        Image img = scaleNearest(p.make(), p.gameScale);
        (img.w >= 800 ? big : small).emplace_back(p.entry, std::move(img));
    }
    // the two ending pictures go back together, as the game scrolls them
    const int width = 3 * 800 + 4 * gap;
    int shelfH = 0, x = gap;
    for (auto& s : small) shelfH = std::max(shelfH, s.second.h);
    // rows: the shelf, the 600-tall screens, then the tall ones (the ending's halves stacked)
    int rowA = 0, rowB = 0, endingH = 0;
    for (auto& b : big) {
        if (b.second.h <= 600)
            rowA = std::max(rowA, b.second.h);
        else if (isEnding(b.first))
            endingH += b.second.h;
        else
            rowB = std::max(rowB, b.second.h);
    }
    rowB = std::max(rowB, endingH);
    const int height = gap + labelH + shelfH + gap + labelH + rowA + gap + labelH + rowB + gap;
    Image sheet(width, height, rgb(44, 44, 52));
    TextStyle lab;
    lab.scale = 2;
    auto checker = [&](int x0, int y0, int w, int h) {
        for (int y = 0; y < h; ++y)
            for (int xx = 0; xx < w; ++xx)
                sheet.set(x0 + xx, y0 + y,
                          ((xx / 8 + y / 8) % 2) ? rgb(70, 70, 82) : rgb(90, 90, 104));
    };
    // labelled with the file's number
    auto place = [&](int entry, const Image& img, int px, int py) {
        drawText(sheet, std::to_string(entry + 1), px, py, lab);
        checker(px, py + labelH, img.w, img.h);
        sheet.draw(img, px, py + labelH);
    };
    for (auto& s : small) {
        place(s.first, s.second, x, gap);
        x += s.second.w + gap;
    }
    int y = gap + labelH + shelfH + gap;
    x = gap;
    for (auto& b : big)
        if (b.second.h <= 600) {
            place(b.first, b.second, x, y);
            x += 800 + gap;
        }
    y += labelH + rowA + gap;
    x = gap;
    int endingY = y;
    for (auto& b : big) {
        if (b.second.h <= 600) continue;
        if (isEnding(b.first)) {
            place(b.first, b.second, gap + 2 * (800 + gap), endingY);
            endingY += b.second.h;
            continue;
        }
        place(b.first, b.second, x, y);
        x += 800 + gap;
    }
    return sheet;
}

Image appIcon(int size) {
    const Image master = santaHead();
    if (size <= 0 || size % master.w != 0)
        throw std::runtime_error("no crisp icon at " + std::to_string(size) + " px");
    return master.scaled(size / master.w);
}

}  // namespace ag
