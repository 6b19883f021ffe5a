// The opening's music: Good King Wenceslas.
#include "music.h"
#include "sounds.h"
#include "synth.h"

namespace ag {

// Title and opening: Good King Wenceslas on bells and organ, about 45 seconds.
Sound openingMusic() {
    const Clock clk{0, 60.0 / 100 / 4};
    const double tail = 2.5;
    Mix m(19 * 16 * clk.step + tail, 2, false);
    Mix wet(19 * 16 * clk.step + tail, 2, false);
    const std::string tune =
        "g4:4 g4 g4 a4 | g4 g4 d4:8 | e4:4 d4 e4 f#4 | g4:8 g4:8 | "
        "g4:4 g4 g4 a4 | g4 g4 d4:8 | e4:4 d4 e4 f#4 | g4:8 g4:8 | "
        "d5:4 c5 b4 a4 | b4 a4 g4:8 | e4:4 d4 e4 f#4 | g4:8 g4:8 | "
        "d4:4 d4 e4 f#4 | g4 g4 a4:8 | d5:4 c5 b4 a4 | g4:8 c5:8 | g4:16";
    const std::string chords =
        "G:16 G:16 C:8 D:8 G:16 | G:16 G:16 C:8 D:8 G:16 | G:8 D:8 G:16 C:8 D:8 G:16 | "
        "D:16 G:8 D:8 G:8 D:8 G:8 C:8 G:16";
    // bars 1-2: bells alone
    line(wet, bell(), "d5:4 b4 g4 b4 | d5:4 b4 a4 d4", clk, 0, 0, 1.0);
    Tone b = bell();
    line(wet, b, tune, clk, 32, 12, 1.0);
    Tone melody = leadSquare();
    melody.duty = 0.5, melody.gain = 0.08, melody.lowpass = 1800, melody.attack = 0.03;
    line(m, melody, tune, clk, 32 + 8 * 16, 0, 0.9);  // joins in for the second half
    pads(m, organPad(), "G:32 " + chords, clk, 0, 0);
    Tone bass = bassTri();
    bass.gain = 0.3;
    comp(m, bass, "G:32 " + chords, "r.......f.......", clk, 0, -1, 0.9);
    drums(m, "j.......j...j...", clk, 16 * 4, 14, 0.7);
    echo(wet, 6 * clk.step, 0.35, 0.4);
    for (size_t i = 0; i < m.data().size(); ++i) m.data()[i] += wet.data()[i];
    return finish(m);
}

}  // namespace ag
