// The ending's music: Silent Night, then We Wish You a Merry Christmas.
#include "music.h"
#include "sounds.h"
#include "synth.h"

namespace ag {

// Ending: Silent Night on bells, then We Wish You a Merry Christmas for the cast.
Sound endingMusic() {
    // Silent Night in 6/8 at a slow lilt: one "sixteenth" here is an eighth note.
    const Clock slow{0, 0.4};
    const int slowBars = 2 + 24;  // intro + verse
    const double slowLen = slowBars * 6 * slow.step;
    const Clock fast{slowLen, 60.0 / 132 / 4};
    const int fastBars = 1 + 32 + 2;  // pickup, two verses, closing chord
    const double tail = 3.0;
    const double total = slowLen + fastBars * 12 * fast.step + tail;
    Mix m(total, 2, false);
    Mix wet(total, 2, false);

    const std::string silent =
        "g4:3 a4:1 g4:2 | e4:6 | g4:3 a4:1 g4:2 | e4:6 | d5:4 d5:2 | b4:6 | c5:4 c5:2 | g4:6 | "
        "a4:4 a4:2 | c5:3 b4:1 a4:2 | g4:3 a4:1 g4:2 | e4:6 | a4:4 a4:2 | c5:3 b4:1 a4:2 | "
        "g4:3 a4:1 g4:2 | e4:6 | d5:4 d5:2 | f5:3 d5:1 b4:2 | c5:6 | e5:6 | "
        "c5:2 g4:2 e4:2 | g4:3 f4:1 d4:2 | c4:12";
    const std::string silentChords =
        "C:6 C:6 C:6 C:6 G:6 G:6 C:6 C:6 F:6 F:6 C:6 C:6 F:6 F:6 C:6 C:6 G:6 G7:6 C:6 C:6 "
        "C:6 G7:6 C:12";
    // the carol is hushed, but not so far below the party that follows that it is lost
    Tone hushed = bell();
    hushed.gain *= 1.5;
    line(wet, hushed, "e5:6 | g4:6", slow, 0, 0, 1.0);
    Tone pad = organPad();
    pad.gain *= 1.5;
    pads(m, pad, "C:12 " + silentChords, slow, 0, 0);
    line(wet, hushed, silent, slow, 12, 12, 1.0);
    Tone soft = leadSquare();
    soft.wave = Wave::Triangle, soft.gain = 0.3, soft.attack = 0.05, soft.vibDepth = 0.2;
    line(m, soft, silent, slow, 12, 0, 0.95);
    Tone bass = bassTri();
    bass.gain = 0.3;
    comp(m, bass, "C:12 " + silentChords, "r.....", slow, 0, -1, 0.95);
    comp(m, arpPulse(), "C:12 " + silentChords, "..t.f.", slow, 0, 1, 0.7);

    // 3/4, twelve sixteenths a bar; pickup bar then two verses
    const std::string wish =
        "d4:4 | g4:4 g4:2 a4 g4 f#4 | e4:4 c4 e4 | a4:4 a4:2 b4 a4 g4 | f#4:4 d4 d4 | "
        "b4:4 b4:2 c5 b4 a4 | g4:4 e4 d4:2 d4 | e4:4 a4 f#4 | g4:8 d4:4 | "
        "g4:4 g4 g4 | f#4:8 f#4:4 | g4:4 f#4 e4 | d4:8 a4:4 | b4:4 a4 g4 | d5:4 d4 d4:2 d4 | "
        "e4:4 a4 f#4 | g4:8";
    const std::string wishChords =
        "G:12 C:12 A7:12 D:12 B7:12 Em:12 C:6 D:6 G:12 "
        "G:12 D:12 G:6 C:6 D:12 G:12 B7:6 Em:6 C:6 D7:6 G:12";
    Tone lead = leadSquare();
    lead.gain = 0.2;
    for (int v = 0; v < 2; ++v) {
        double at = 8 + v * 16 * 12;
        line(wet, lead, wish, fast, at);
        Tone shimmer = bell();  // the second time round, bells an octave over the lead
        shimmer.gain *= 0.6;
        if (v == 1) line(wet, shimmer, wish, fast, at, 12, 0.9);
        comp(m, bassTri(), wishChords, "r...f...f...", fast, at + 4, -1);
        comp(m, arpPulse(), wishChords, "..tf..tf..tf", fast, at + 4, 1, 0.6);
        drums(m, "k...h.h.s.h.", fast, at + 4, 16, 0.7);
        drums(m, "j...j...j...", fast, at + 4, 16, 0.8);
    }
    pads(m, organPad(), "G:24", fast, 8 + 32 * 12 + 4, 0);
    drums(m, "c", fast, 8 + 32 * 12 + 4, 1);
    line(wet, bell(), "g5:24", fast, 8 + 32 * 12 + 4, 0, 1.0);

    echo(wet, 0.3, 0.3, 0.35);
    for (size_t i = 0; i < m.data().size(); ++i) m.data()[i] += wet.data()[i];
    return finish(m);
}

}  // namespace ag
