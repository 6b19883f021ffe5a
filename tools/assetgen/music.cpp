// Music: public-domain carols, arranged here for square, triangle, bells and noise drums.
#include <cctype>
#include <cmath>
#include <map>
#include <sstream>
#include <stdexcept>

#include "sounds.h"
#include "synth.h"

namespace ag {

double midiHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

std::vector<Note> parseNotes(const std::string& text) {
    std::vector<Note> out;
    std::istringstream in(text);
    std::string tok;
    int len = 4;
    while (in >> tok) {
        if (tok == "|") continue;
        auto bad = [&tok]() { return std::runtime_error("bad note '" + tok + "' in music data"); };
        size_t i = 0;
        Note n;
        char c = char(std::tolower(static_cast<unsigned char>(tok[i++])));
        if (c == 'r') {
            n.midi = -1;
        } else {
            static const std::map<char, int> base = {{'c', 0}, {'d', 2}, {'e', 4}, {'f', 5},
                                                     {'g', 7}, {'a', 9}, {'b', 11}};
            auto it = base.find(c);
            if (it == base.end()) throw bad();
            int semi = it->second;
            if (i < tok.size() && tok[i] == '#')
                semi++, i++;
            else if (i < tok.size() && tok[i] == 'b')
                semi--, i++;
            if (i >= tok.size() || !std::isdigit(static_cast<unsigned char>(tok[i]))) throw bad();
            n.midi = 12 * (tok[i++] - '0' + 1) + semi;
        }
        if (i < tok.size()) {
            if (tok[i++] != ':' || i >= tok.size()) throw bad();
            len = 0;
            for (; i < tok.size(); ++i) {
                if (!std::isdigit(static_cast<unsigned char>(tok[i]))) throw bad();
                len = len * 10 + (tok[i] - '0');
            }
            if (len <= 0 || len > 256) throw bad();
        }
        n.len = len;
        out.push_back(n);
    }
    return out;
}

namespace {

// A section of a piece: where it starts and how long one sixteenth lasts there.
struct Clock {
    double start;  // seconds
    double step;   // seconds per sixteenth
    double at(double steps) const { return start + steps * step; }
};

// Plays a line of notes with one instrument; returns its length in sixteenths.
int line(Mix& m, const Tone& ins, const std::string& notes, const Clock& clk, double atStep,
         int transpose = 0, double gate = 0.85) {
    int pos = 0;
    for (const Note& n : parseNotes(notes)) {
        if (n.midi >= 0) {
            Tone t = ins;
            t.freq = midiHz(n.midi + transpose);
            t.dur = n.len * clk.step * gate;
            play(m, clk.at(atStep + pos), t);
        }
        pos += n.len;
    }
    return pos;
}

struct Chord {
    int root;                // midi, octave 3
    std::vector<int> tones;  // semitones above root
    int len;
};

// "Am:16 F:8 G7:8": chord names with lengths in sixteenths.
std::vector<Chord> parseChords(const std::string& text) {
    std::vector<Chord> out;
    std::istringstream in(text);
    std::string tok;
    while (in >> tok) {
        if (tok == "|") continue;
        size_t colon = tok.find(':');
        std::string name = tok.substr(0, colon);
        int len = colon == std::string::npos ? 16 : std::atoi(tok.c_str() + colon + 1);
        auto notes = parseNotes(
            std::string(1, name[0]) +
            (name.size() > 1 && (name[1] == '#' || name[1] == 'b') ? std::string(1, name[1]) : "") +
            "3");
        std::string q =
            name.substr(1 + ((name.size() > 1 && (name[1] == '#' || name[1] == 'b')) ? 1 : 0));
        Chord c{notes[0].midi, {0, 4, 7}, len};
        if (q == "m")
            c.tones = {0, 3, 7};
        else if (q == "7")
            c.tones = {0, 4, 7, 10};
        else if (q == "m7")
            c.tones = {0, 3, 7, 10};
        else if (q == "dim")
            c.tones = {0, 3, 6};
        else if (!q.empty() || len <= 0)
            throw std::runtime_error("bad chord '" + tok + "' in music data");
        out.push_back(c);
    }
    return out;
}

// Accompaniment from chords and a one-bar pattern of sixteenths:
// 'r' root, 't' third, 'f' fifth, 's' seventh (or octave), 'o' octave root, '-' holds, '.' rests.
int comp(Mix& m, const Tone& ins, const std::string& chords, const std::string& pattern,
         const Clock& clk, double atStep, int octave, double gate = 0.8) {
    int pos = 0;
    for (const Chord& c : parseChords(chords)) {
        for (int i = 0; i < c.len; ++i) {
            char p = pattern[size_t(pos + i) % pattern.size()];
            int deg;
            switch (p) {
                case 'r': deg = 0; break;
                case 't': deg = c.tones[1]; break;
                case 'f': deg = c.tones[2]; break;
                case 's': deg = c.tones.size() > 3 ? c.tones[3] : 12; break;
                case 'o': deg = 12; break;
                default: continue;
            }
            int held = 1;
            while (i + held < c.len && pattern[size_t(pos + i + held) % pattern.size()] == '-')
                ++held;
            Tone t = ins;
            t.freq = midiHz(c.root + deg + 12 * octave);
            t.dur = held * clk.step * gate;
            play(m, clk.at(atStep + pos + i), t);
        }
        pos += c.len;
    }
    return pos;
}

// Sustained chord pads, one voice per chord tone.
void pads(Mix& m, const Tone& ins, const std::string& chords, const Clock& clk, double atStep,
          int octave) {
    int pos = 0;
    for (const Chord& c : parseChords(chords)) {
        for (size_t k = 0; k < c.tones.size() && k < 3; ++k) {
            Tone t = ins;
            t.freq = midiHz(c.root + c.tones[k] + 12 * octave);
            t.dur = c.len * clk.step * 0.95;
            t.pan = ins.pan + (int(k) - 1) * 0.35;
            play(m, clk.at(atStep + pos), t);
        }
        pos += c.len;
    }
}

// Noise-and-sine drum kit.
void drum(Mix& m, char kind, double at, double gain) {
    Tone t;
    switch (kind) {
        case 'k':  // kick: falling sine
            t.wave = Wave::Sine, t.freq = 140, t.freqEnd = 42, t.dur = 0.12, t.release = 0.05;
            t.decay = 0.12, t.sustain = 0.2, t.gain = 0.9 * gain;
            play(m, at, t);
            break;
        case 's':  // snare: bright noise over a short tone
            t.wave = Wave::Noise, t.freq = 22000, t.dur = 0.02, t.release = 0.14, t.lowpass = 7000;
            t.highpass = 600, t.gain = 0.45 * gain, t.seed = 7;
            play(m, at, t);
            t = Tone{};
            t.wave = Wave::Triangle, t.freq = 190, t.freqEnd = 150, t.dur = 0.05, t.release = 0.04;
            t.gain = 0.35 * gain;
            play(m, at, t);
            break;
        case 'h':  // closed hat
        case 'o':  // open hat
            t.wave = Wave::Noise, t.freq = 30000, t.dur = 0.005,
            t.release = kind == 'h' ? 0.035 : 0.16;
            t.highpass = 6000, t.gain = 0.22 * gain, t.pan = 0.3, t.seed = 3;
            play(m, at, t);
            break;
        case 'j':  // sleigh bells: a cluster of high partials with a noise shimmer
            for (int k = 0; k < 3; ++k) {
                Tone b;
                b.wave = Wave::Square, b.duty = 0.3, b.freq = 2630.0 + 910 * k, b.dur = 0.01;
                b.release = 0.11, b.gain = 0.05 * gain, b.pan = -0.4, b.lowpass = 9000;
                b.vibDepth = 0.6, b.vibRate = 31 + 7 * k, b.vibDelay = 0;
                play(m, at + 0.006 * k, b);
            }
            t.wave = Wave::Noise, t.freq = 26000, t.dur = 0.01, t.release = 0.09, t.highpass = 7000;
            t.gain = 0.12 * gain, t.pan = -0.4, t.seed = 11;
            play(m, at, t);
            break;
        case 'c':  // crash
            t.wave = Wave::Noise, t.freq = 25000, t.dur = 0.02, t.release = 0.9, t.highpass = 3000;
            t.gain = 0.25 * gain, t.seed = 5;
            play(m, at, t);
            break;
        default: break;
    }
}

// One bar per pattern string, a sixteenth per letter (twelve for 3/4); repeated for `bars`.
void drums(Mix& m, const std::string& pattern, const Clock& clk, double atStep, int bars,
           double gain = 1.0) {
    int n = int(pattern.size());
    for (int i = 0; i < bars * n; ++i) {
        char c = pattern[size_t(i % n)];
        if (c == 'x') {
            drum(m, 'k', clk.at(atStep + i), gain);
            drum(m, 'h', clk.at(atStep + i), gain);
        } else {
            drum(m, c, clk.at(atStep + i), gain);
        }
    }
}

// Every piece is set to the same loudness over its whole length, so no scene's music jumps
// out, and its rare stacked peaks are held under a ceiling that leaves the effects room.
constexpr double kMusicRms = 0.05;      // -26 dBFS
constexpr double kMusicCeiling = 0.27;  // -11.4 dBFS

Sound finish(Mix& m) {
    Sound s;
    s.channels = m.channels();
    s.samples = std::move(m.data());
    removeOffset(s.samples, s.channels, m.loop());
    const double rms = rmsOf(s.samples);
    if (rms > 0)
        for (float& v : s.samples) v = float(v * (kMusicRms / rms));
    limitPeaks(s.samples, s.channels, m.loop(), kMusicCeiling);
    return s;
}

// --- instruments ---
Tone leadSquare() {
    Tone t;
    t.wave = Wave::Square, t.duty = 0.25, t.attack = 0.004, t.decay = 0.12, t.sustain = 0.55;
    t.release = 0.06, t.vibDepth = 0.25, t.vibRate = 5.5, t.vibDelay = 0.18, t.lowpass = 5200;
    t.gain = 0.22, t.pan = 0.1;
    return t;
}
Tone bassTri() {
    Tone t;
    t.wave = Wave::Triangle, t.attack = 0.003, t.release = 0.03, t.gain = 0.42, t.lowpass = 2500;
    return t;
}
Tone arpPulse() {
    Tone t;
    t.wave = Wave::Square, t.duty = 0.125, t.attack = 0.002, t.decay = 0.08, t.sustain = 0.35;
    t.release = 0.03, t.lowpass = 3200, t.gain = 0.09, t.pan = -0.35;
    return t;
}
Tone bell() {
    Tone t;
    t.wave = Wave::Bell, t.attack = 0.002, t.decay = 1.2, t.sustain = 0.0, t.release = 0.4;
    t.gain = 0.32, t.pan = 0.15;
    return t;
}
Tone organPad() {
    Tone t;
    t.wave = Wave::Organ, t.attack = 0.25, t.decay = 0.5, t.sustain = 0.8, t.release = 0.5;
    t.gain = 0.07, t.lowpass = 1800;
    return t;
}

}  // namespace

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
