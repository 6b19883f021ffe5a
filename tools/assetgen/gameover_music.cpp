// The game-over tune.
#include "music.h"
#include "sounds.h"
#include "synth.h"

namespace ag {

// Game over: a slow falling line in A minor on organ and low bells.
Sound gameOverMusic() {
    const Clock clk{0, 60.0 / 66 / 4};
    const double tail = 2.5;
    Mix m(3 * 16 * clk.step + tail, 2, false);
    const std::string tune = "e5:8 d5:4 c5:4 | b4:8 a4:4 g#4:4 | a4:16 |";
    const std::string chords = "Am:8 F:8 Dm:8 E7:8 Am:16";
    Tone lead = leadSquare();
    lead.wave = Wave::Triangle, lead.gain = 0.3, lead.attack = 0.04, lead.vibDepth = 0.3;
    line(m, lead, tune, clk, 0, 0, 0.95);
    line(m, bell(), tune, clk, 0, -12, 1.0);
    Tone pad = organPad();
    pad.gain = 0.1, pad.release = 2.0;
    pads(m, pad, chords, clk, 0, 0);
    Tone bass = bassTri();
    bass.gain = 0.35, bass.release = 1.5;
    comp(m, bass, chords, "r-------", clk, 0, -1, 0.95);
    echo(m, 0.42, 0.35, 0.3);
    return finish(m);
}

}  // namespace ag
