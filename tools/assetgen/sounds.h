// Every sound in the game: the effects and the four pieces of music.
#pragma once

#include <string>
#include <vector>

namespace ag {

struct Sound {
    std::vector<float> samples;  // interleaved
    int channels = 1;
};

// Note data: "e5:4 d5:2 r:2 | f#4" = pitch and octave, then length in sixteenths
// (kept from the previous note when left out); "r" rests; bar lines are only for reading.
struct Note {
    int midi = -1;  // -1 for a rest
    int len = 4;
};
std::vector<Note> parseNotes(const std::string& text);  // throws naming the bad token
double midiHz(int midi);

Sound makeEffect(int slot);  // SND_HIT ... SND_DEATH_9
Sound stageMusic();          // loops end to start
Sound endingMusic();
Sound gameOverMusic();
Sound openingMusic();

}  // namespace ag
