// Sound effects, each a few layered tones.
#include <cmath>
#include <stdexcept>
#include <string>

#include "shell/catalog.h"
#include "sounds.h"
#include "synth.h"

namespace ag {

namespace {

Tone sq(double f0, double f1, double dur, double release, double gain, double duty = 0.5) {
    Tone t;
    t.wave = Wave::Square, t.freq = f0, t.freqEnd = f1, t.dur = dur, t.release = release;
    t.gain = gain, t.duty = duty, t.lowpass = 6000;
    return t;
}

Tone noise(double clock, double dur, double release, double gain, double lowpass, uint32_t seed) {
    Tone t;
    t.wave = Wave::Noise, t.freq = clock, t.dur = dur, t.release = release, t.gain = gain;
    t.lowpass = lowpass, t.seed = seed, t.attack = 0.002;
    return t;
}

Tone wave(Wave w, double f0, double f1, double dur, double release, double gain) {
    Tone t;
    t.wave = w, t.freq = f0, t.freqEnd = f1, t.dur = dur, t.release = release, t.gain = gain;
    return t;
}

// The blow every enemy's death opens with, so each kill lands the moment it happens: a falling
// thump under a short snap of hiss. The ten deaths differ only in what rings on after it.
void deathBlow(Mix& m) {
    Tone thump = wave(Wave::Sine, 210, 55, 0.03, 0.06, 1.0);
    thump.attack = 0.001, thump.decay = 0.025, thump.sustain = 0.4;
    play(m, 0.0, thump);
    Tone snap = noise(16000, 0.004, 0.03, 0.55, 6500, 9);
    snap.attack = 0.0005;
    play(m, 0.0, snap);
}

// Loudest sample of each file (full scale 1). Every effect plays over the music and over its
// own repeats at unity gain, so these leave the whole mix its headroom.
constexpr double kTickPeak = 0.1, kShotPeak = 0.1, kDeathPeak = 0.2;

}  // namespace

Sound makeEffect(int slot) {
    Mix m(0.6, 1, false);
    double peak = kDeathPeak;
    const bool death = slot >= SND_DEATH_0 && slot <= SND_DEATH_9;
    switch (slot) {
        case SND_HIT: {  // hit / confirm: a crisp rising tick; a held Enter restarts it every
                         // frame,
                         // and at 45 ms its copies overlap three deep at most instead of roaring
            m = Mix(0.045, 1, false);
            // half-duty squares: the most sound for their peak, and the peak is what stacks up
            Tone a = sq(1318.5, 0, 0.006, 0.012, 0.5, 0.5);
            a.attack = 0.0005;
            play(m, 0.0, a);
            Tone b = sq(1975.5, 0, 0.006, 0.022, 0.45, 0.5);
            b.attack = 0.0005;
            play(m, 0.012, b);
            Tone c = wave(Wave::Sine, 2637, 0, 0.002, 0.025, 0.2);
            c.attack = 0.0005;
            play(m, 0.012, c);
            peak = kTickPeak;
            break;
        }
        case SND_SHOT: {  // arrow: a soft breathy flick
            m = Mix(0.07, 1, false);
            Tone n = noise(18000, 0.01, 0.05, 0.6, 2800, 21);
            n.highpass = 700;
            play(m, 0.0, n);
            Tone t = wave(Wave::Triangle, 900, 420, 0.03, 0.02, 0.35);
            play(m, 0.0, t);
            peak = kShotPeak;
            break;
        }
        case SND_DEATH_0: {  // snow puff: a noise burst that closes down
            m = Mix(0.4, 1, false);
            Tone n = noise(12000, 0.05, 0.3, 1.0, 3500, 31);
            play(m, 0.0, n);
            n = noise(3000, 0.02, 0.2, 0.6, 900, 32);
            play(m, 0.0, n);
            break;
        }
        case SND_DEATH_1: {  // yelp: a square cry sliding down with a wobble
            m = Mix(0.35, 1, false);
            Tone t = sq(1250, 320, 0.25, 0.06, 0.7, 0.3);
            t.vibDepth = 1.2, t.vibRate = 18, t.vibDelay = 0.0;
            play(m, 0.0, t);
            break;
        }
        case SND_DEATH_2: {  // bell crash: a struck bell over a burst of hiss
            m = Mix(0.55, 1, false);
            Tone b = wave(Wave::Bell, 784, 0, 0.05, 0.45, 0.9);
            b.decay = 0.4, b.sustain = 0.1;
            play(m, 0.0, b);
            Tone n = noise(25000, 0.01, 0.25, 0.35, 9000, 51);
            n.highpass = 2500;
            play(m, 0.0, n);
            break;
        }
        case SND_DEATH_3: {  // oof: a low falling grunt and a thump
            m = Mix(0.3, 1, false);
            Tone t = wave(Wave::Triangle, 240, 95, 0.18, 0.05, 0.9);
            t.vibDepth = 0.8, t.vibRate = 25, t.vibDelay = 0;
            play(m, 0.0, t);
            play(m, 0.0, wave(Wave::Sine, 120, 40, 0.08, 0.05, 0.8));
            play(m, 0.0, noise(4000, 0.01, 0.06, 0.4, 1500, 61));
            break;
        }
        case SND_DEATH_4: {  // jingle: bells tumbling down an arpeggio
            m = Mix(0.5, 1, false);
            const double notes[] = {2093, 1568, 1319, 1047, 784};
            for (int i = 0; i < 5; ++i) {
                Tone b = wave(Wave::Bell, notes[i], 0, 0.03, 0.16, 0.6);
                b.decay = 0.1, b.sustain = 0.3;
                play(m, i * 0.055, b);
            }
            break;
        }
        case SND_DEATH_5: {  // armour clank: metallic partials and a hard tick
            m = Mix(0.4, 1, false);
            play(m, 0.0, sq(1870, 1700, 0.02, 0.22, 0.35, 0.5));
            play(m, 0.0, sq(2690, 2500, 0.02, 0.18, 0.3, 0.4));
            play(m, 0.0, sq(455, 400, 0.02, 0.12, 0.35, 0.5));
            play(m, 0.0, noise(30000, 0.005, 0.05, 0.5, 12000, 81));
            play(m, 0.09, sq(1870, 1700, 0.01, 0.15, 0.2, 0.5));
            break;
        }
        case SND_DEATH_6: {  // wail: rises then falls away, two detuned voices
            m = Mix(0.58, 1, false);
            Tone a = wave(Wave::Saw, 520, 260, 0.45, 0.1, 0.5);
            a.vibDepth = 0.7, a.vibRate = 7, a.vibDelay = 0.05, a.lowpass = 2500, a.attack = 0.03;
            play(m, 0.0, a);
            a.freq = 527, a.freqEnd = 255;
            play(m, 0.0, a);
            play(m, 0.0, wave(Wave::Square, 780, 1040, 0.06, 0.02, 0.3));
            break;
        }
        case SND_DEATH_7: {  // snow sneeze: the pop, then a bright spray of hiss that sparkles away
            m = Mix(0.35, 1, false);
            Tone n = noise(30000, 0.06, 0.2, 0.6, 11000, 101);
            n.freqEnd = 9000, n.attack = 0.02, n.highpass = 2500;
            play(m, 0.01, n);
            const double sparkles[] = {3951, 4699, 4186};
            for (int i = 0; i < 3; ++i) {
                Tone s = wave(Wave::Sine, sparkles[i], 0, 0.01, 0.06, 0.3);
                s.attack = 0.002;
                play(m, 0.06 + i * 0.05, s);
            }
            play(m, 0.0, wave(Wave::Sine, 300, 80, 0.05, 0.05, 0.6));
            break;
        }
        case SND_DEATH_8: {  // falling blips: a little "oh no" tune
            m = Mix(0.45, 1, false);
            const double notes[] = {880, 698.5, 587.3, 440};
            for (int i = 0; i < 4; ++i)
                play(m, i * 0.09, sq(notes[i], notes[i] * 0.97, 0.06, 0.03, 0.45, 0.125));
            break;
        }
        case SND_DEATH_9: {  // boom: a deep kick under rumbling noise
            m = Mix(0.58, 1, false);
            play(m, 0.0, wave(Wave::Sine, 130, 30, 0.3, 0.2, 1.0));
            Tone n = noise(6000, 0.05, 0.45, 0.8, 1200, 121);
            n.freqEnd = 800;
            play(m, 0.0, n);
            play(m, 0.0, noise(30000, 0.01, 0.1, 0.4, 8000, 122));
            break;
        }
        default: throw std::runtime_error("no sound effect in slot " + std::to_string(slot));
    }
    Sound s;
    s.channels = 1;
    s.samples = std::move(m.data());
    if (death) {
        // the tail swells in under the blow, so the blow is always the loudest moment
        normalise(s.samples, 0.75);
        const size_t swell = size_t(0.012 * kRate);
        for (size_t i = 0; i < swell && i < s.samples.size(); ++i)
            s.samples[i] *= float(double(i) / double(swell));
        Mix blow(double(s.samples.size()) / kRate, 1, false);
        deathBlow(blow);
        normalise(blow.data(), 1.0);
        for (size_t i = 0; i < s.samples.size(); ++i) s.samples[i] += blow.data()[i];
    }
    removeOffset(s.samples, 1, false);
    normalise(s.samples, peak);
    // square-heavy deaths are loud for their peak: hold the ten to a similar loudness
    const double maxRms = peak * 0.33;
    const double rms = rmsOf(s.samples);
    if (death && rms > maxRms) normalise(s.samples, peak * maxRms / rms);
    return s;
}

}  // namespace ag
