#include "app/caption.h"

#include <cstdint>

#include "shell/graphics.h"

// clang-format off
const char* const PAUSED_TEXT[PAUSED_HEIGHT] = {
    "####...###..#...#..####.#####.####.",
    "#...#.#...#.#...#.#.....#.....#...#",
    "#...#.#...#.#...#.#.....#.....#...#",
    "####..#####.#...#..###..####..#...#",
    "#.....#...#.#...#.....#.#.....#...#",
    "#.....#...#.#...#.....#.#.....#...#",
    "#.....#...#..###..####..#####.####.",
};
// clang-format on

namespace {

constexpr int CAPTION_SCALE = 8;  // screen pixels per font pixel
constexpr uint32_t OUTLINE = 0xFF0E0C1C;
constexpr uint32_t SHADOW = 0xA0000000;

uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
    uint32_t out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= static_cast<uint32_t>(ca + (cb - ca) * num / den) << shift;
    }
    return out;
}

}  // namespace

const std::vector<plat::FillRect>& PausedCaption() {
    static std::vector<plat::FillRect> caption;
    if (!caption.empty()) return caption;
    const int s = CAPTION_SCALE;
    const int left = (SCREEN_WIDTH - PAUSED_WIDTH * s) / 2;
    const int top = (SCREEN_HEIGHT - PAUSED_HEIGHT * s) / 2;
    for (int pass = 0; pass < 3; ++pass) {
        for (int row = 0; row < PAUSED_HEIGHT; ++row) {
            for (int col = 0; col < PAUSED_WIDTH; ++col) {
                if (PAUSED_TEXT[row][col] != '#') continue;
                const int x = left + col * s, y = top + row * s;
                if (pass == 0) caption.push_back({x + s, y + s, s, s, SHADOW});
                if (pass == 1) caption.push_back({x - 2, y - 2, s + 4, s + 4, OUTLINE});
                if (pass == 2) {
                    const uint32_t fill = Mix(0xFFFFE46E, 0xFFE88028, row, PAUSED_HEIGHT - 1);
                    caption.push_back({x, y, s, s, fill});
                }
            }
        }
    }
    return caption;
}
