// How the pieces of music are arranged: a clock per section, lines of notes, accompaniment
// from chords, drum patterns, the instruments, and the level every piece is set to.
#pragma once

#include <string>

#include "sounds.h"
#include "synth.h"

namespace ag {

// A section of a piece: where it starts and how long one sixteenth lasts there.
struct Clock {
    double start;  // seconds
    double step;   // seconds per sixteenth
    double at(double steps) const { return start + steps * step; }
};

// Plays a line of notes with one instrument; returns its length in sixteenths.
int line(Mix& m, const Tone& ins, const std::string& notes, const Clock& clk, double atStep,
         int transpose = 0, double gate = 0.85);
// Accompaniment from chords and a one-bar pattern of sixteenths:
// 'r' root, 't' third, 'f' fifth, 's' seventh (or octave), 'o' octave root, '-' holds, '.' rests.
int comp(Mix& m, const Tone& ins, const std::string& chords, const std::string& pattern,
         const Clock& clk, double atStep, int octave, double gate = 0.8);
// Sustained chord pads, one voice per chord tone.
void pads(Mix& m, const Tone& ins, const std::string& chords, const Clock& clk, double atStep,
          int octave);
// One bar per pattern string, a sixteenth per letter (twelve for 3/4); repeated for `bars`.
// 'k' kick, 's' snare, 'h' and 'o' hats, 'j' sleigh bells, 'c' crash, 'x' kick and hat.
void drums(Mix& m, const std::string& pattern, const Clock& clk, double atStep, int bars,
           double gain = 1.0);

// The piece as a sound: no offset, the common loudness, its peaks under the common ceiling.
Sound finish(Mix& m);

Tone leadSquare();
Tone bassTri();
Tone arpPulse();
Tone bell();
Tone organPad();

}  // namespace ag
