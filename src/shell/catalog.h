// Every picture and sound the game loads, named by its use: the one list that the game reads its
// files by and that assetgen writes them by. Entry i is img/<i + 1>.dat, slot i is snd/<i + 1>.bom.
#pragma once

#include <cstdint>
#include <string>

// Texture table entries.
enum : int32_t {
    TEX_FUKKI = 0,          // Santa sliding back in, 16 x 16
    TEX_SANTA = 1,          // Santa's run: four 16 x 16 cells
    TEX_YA = 2,             // the arrow, 16 x 16
    TEX_KNIGHT = 3,         // 16 x 16
    TEX_NOMIN = 4,          // the villager, 32 x 32
    TEX_BULLET = 5,         // all three enemy bullets, 16 x 16
    TEX_MACHI = 6,          // the town, 800 x 600, tiling left to right
    TEX_TENIN_OPEN = 7,     // the clerk's shop open, 16 x 16
    TEX_TENIN_CLOSED = 8,   // and shut
    TEX_TITLE = 9,          // 800 x 600
    TEX_GAMEOVER = 10,      // 800 x 600
    TEX_OP_BACK = 11,       // the opening's back layer, 800 x 1800
    TEX_OP_FRONT = 12,      // its front layer, 800 x 2400, mostly clear
    TEX_ED_UPPER = 13,      // the ending's tall strip, cut in two: its upper part
    TEX_ED_LOWER = 14,      // and its lower part
    TEX_TITLE_PROMPT = 15,  // the plaque that asks for Enter
    TEX_BOSS = 16,          // 32 x 32
    TEX_BAKUANI = 17,       // the explosion: eleven 16 x 16 cells
    TEXTURE_COUNT = 18,
};

// The ending strip is 800 wide; its two parts are cut at this height.
constexpr int32_t ED_UPPER_HEIGHT = 1515;
constexpr int32_t ED_LOWER_HEIGHT = 2085;
constexpr int32_t TITLE_PROMPT_WIDTH = 253;
constexpr int32_t TITLE_PROMPT_HEIGHT = 76;

// Sound slots.
enum : int32_t {
    SND_HIT = 0,   // an arrow strikes home; Enter taken in the opening and the title
    SND_SHOT = 1,  // Santa fires
    // Enemies' deaths take these ten in turn, one per stage frame.
    SND_DEATH_0 = 2,
    SND_DEATH_1 = 3,
    SND_DEATH_2 = 4,
    SND_DEATH_3 = 5,
    SND_DEATH_4 = 6,
    SND_DEATH_5 = 7,
    SND_DEATH_6 = 8,
    SND_DEATH_7 = 9,
    SND_DEATH_8 = 10,
    SND_DEATH_9 = 11,
    SND_STAGE = 12,     // the stage music, looped
    SND_ENDING = 13,    // the ending's music
    SND_GAMEOVER = 14,  // the game-over tune
    SND_OPENING = 15,   // the opening's music, on under the title
    SOUND_COUNT = 16,
};
constexpr int32_t DEATH_SOUND_COUNT = SND_DEATH_9 - SND_DEATH_0 + 1;
constexpr int32_t SND_BOSS_HIT = SND_DEATH_6;  // every hit on the boss, guarded or not

// The files, relative to the folder that holds img/ and snd/.
inline std::string PictureFile(int32_t entry) {
    return "img/" + std::to_string(entry + 1) + ".dat";
}
inline std::string SoundFile(int32_t slot) {
    return "snd/" + std::to_string(slot + 1) + ".bom";
}
