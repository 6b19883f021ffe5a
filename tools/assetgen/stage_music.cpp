// The stage music: Jingle Bells and God Rest Ye Merry Gentlemen, looped.
#include "music.h"
#include "sounds.h"
#include "synth.h"

namespace ag {

// Stage: an 84-second loop at 160 bpm. Jingle Bells (chorus, verse) in C, then
// God Rest Ye Merry Gentlemen in A minor, then back round through the intro.
Sound stageMusic() {
    const double bpm = 160;
    const Clock clk{0, 60.0 / bpm / 4};
    const int bars = 56;
    Mix m(bars * 16 * clk.step, 2, true);
    Mix wet(bars * 16 * clk.step, 2, true);

    const std::string introChords = "Am:16 F:16 G:16 E7:16";
    const std::string chorusChords =
        "C:16 C:16 C:16 C:16 F:16 C:16 D7:16 G7:16 C:16 C:16 C:16 C:16 F:16 C:16 G7:16 C:16";
    const std::string verseChords =
        "C:16 C:16 C:16 F:16 F:16 G:16 G7:16 C:16 C:16 C:16 C:16 F:16 F:16 G:16 G7:16 C:8 G7:8";
    const std::string minorChords =
        "Am:16 Am:16 F:8 G:8 Am:16 Am:16 Am:16 F:8 G:8 Am:16 "
        "F:16 C:8 E7:8 Am:16 E7:16 F:16 C:16 Dm:8 E7:8 Am:16";
    const std::string chorus =
        "e5:4 e5 e5:8 | e5:4 e5 e5:8 | e5:4 g5 c5:6 d5:2 | e5:16 | f5:4 f5 f5:6 f5:2 | f5:4 e5 e5 "
        "e5:2 e5 | "
        "e5:4 d5 d5 e5 | d5:8 g5:8 | e5:4 e5 e5:8 | e5:4 e5 e5:8 | e5:4 g5 c5:6 d5:2 | e5:16 | "
        "f5:4 f5 f5:6 f5:2 | f5:4 e5 e5 e5:2 e5 | g5:4 g5 f5 d5 | c5:16";
    const std::string verse =
        "g4:4 e5 d5 c5 | g4:12 g4:2 g4 | g4:4 e5 d5 c5 | a4:16 | a4:4 f5 e5 d5 | b4:16 | "
        "g5:4 g5 f5 d5 | e5:16 | g4:4 e5 d5 c5 | g4:16 | g4:4 e5 d5 c5 | a4:12 a4:4 | "
        "a4:4 f5 e5 d5 | g5:4 g5 g5 g5 | a5:4 g5 f5 d5 | c5:8 g5:8";
    const std::string minor =
        "a4:4 a4 e5 e5 | d5 c5 b4 a4 | g4 a4 b4 c5 | d5 e5:12 | "
        "a4:4 a4 e5 e5 | d5 c5 b4 a4 | g4 a4 b4 c5 | d5 e5:12 | "
        "e5:4 f5 d5 e5 | f5 g5 a5 e5 | d5 c5 a4 b4 | c5 d5:12 | "
        "e5:8 f5:4 e5 | e5 d5 c5 b4 | a4:8 c5:4 b4 | a4:4 g4 a4:8";

    // bar offsets (in sixteenths) of each section
    const int intro = 0, ch1 = 4 * 16, vs = 20 * 16, mn = 36 * 16, ch2 = 52 * 16;

    Tone lead = leadSquare();
    Tone echoLead = lead;
    echoLead.gain *= 0.9;
    Tone bass = bassTri();
    Tone arp = arpPulse();

    // intro and the last four bars share chords, so the loop comes round naturally
    comp(m, bass, introChords, "r.r.o.r.r.r.o.f.", clk, intro, -1);
    comp(m, arp, introChords, "rtfotfrt", clk, intro, 1);
    drums(m, "k...s...k.k.s...", clk, intro, 3);
    drums(m, "k...s...k.s.s.ss", clk, intro + 48, 1);

    line(wet, echoLead, chorus, clk, ch1, 0, 0.7);
    comp(m, bass, chorusChords, "r...f...r...f.f.", clk, ch1, -1);
    comp(m, arp, chorusChords, "rtfo", clk, ch1, 1, 0.6);
    drums(m, "k.h.s.h.k.h.s.hh", clk, ch1, 16);
    drums(m, "j...j...j...j.j.", clk, ch1, 16);

    line(wet, echoLead, verse, clk, vs, 0, 0.7);
    line(m, arp, verse, clk, vs, -12, 0.5);
    comp(m, bass, verseChords, "r.f.r.f.r.f.o.f.", clk, vs, -1);
    comp(m, arp, verseChords, "..t...f...t...f.", clk, vs, 1);
    drums(m, "k.h.s.hkk.h.s.h.", clk, vs, 15);
    drums(m, "k.s.s.k.s.s.sss.", clk, vs + 15 * 16, 1);
    drums(m, "c", clk, vs, 1);

    Tone minorLead = lead;
    minorLead.duty = 0.5, minorLead.gain = 0.18, minorLead.vibDepth = 0.35;
    line(wet, minorLead, minor, clk, mn, 0, 0.75);
    line(m, arp, minor, clk, mn, 12, 0.4);
    comp(m, bass, minorChords, "r.rrf.r.r.rro.f.", clk, mn, -1);
    comp(m, arp, minorChords, "rfofrfof", clk, mn, 0, 0.5);
    drums(m, "k.h.s.h.k.hks.h.", clk, mn, 15);
    drums(m, "k.k.s.k.s.s.ssss", clk, mn + 15 * 16, 1);
    drums(m, "c", clk, mn, 1);

    // closing bars: the intro again, with a crash to mark the turn
    comp(m, bass, introChords, "r.r.o.r.r.r.o.f.", clk, ch2, -1);
    comp(m, arp, introChords, "rtfotfrt", clk, ch2, 1);
    drums(m, "k...s...k.k.s...", clk, ch2, 3);
    drums(m, "k.s.k.s.s.s.ssss", clk, ch2 + 48, 1);
    drums(m, "c", clk, ch2, 1);

    echo(wet, 3 * clk.step, 0.25, 0.22);
    for (size_t i = 0; i < m.data().size(); ++i) m.data()[i] += wet.data()[i];
    return finish(m);
}

}  // namespace ag
