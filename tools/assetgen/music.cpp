// What every piece of music shares: notes and chords read from text, the drum kit, the
// arranging helpers and the instruments. The carols are public domain.
#include "music.h"

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

}  // namespace

// Plays a line of notes with one instrument; returns its length in sixteenths.
int line(Mix& m, const Tone& ins, const std::string& notes, const Clock& clk, double atStep,
         int transpose, double gate) {
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

// Accompaniment from chords and a one-bar pattern of sixteenths:
// 'r' root, 't' third, 'f' fifth, 's' seventh (or octave), 'o' octave root, '-' holds, '.' rests.
int comp(Mix& m, const Tone& ins, const std::string& chords, const std::string& pattern,
         const Clock& clk, double atStep, int octave, double gate) {
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

// One bar per pattern string, a sixteenth per letter (twelve for 3/4); repeated for `bars`.
void drums(Mix& m, const std::string& pattern, const Clock& clk, double atStep, int bars,
           double gain) {
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

namespace {

// Every piece is set to the same loudness over its whole length, so no scene's music jumps
// out, and its rare stacked peaks are held under a ceiling that leaves the effects room.
constexpr double kMusicRms = 0.05;      // -26 dBFS
constexpr double kMusicCeiling = 0.27;  // -11.4 dBFS

}  // namespace

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

}  // namespace ag
