#include "synth.h"

#include <algorithm>
#include <cmath>

namespace ag {

namespace {
constexpr double kPi = 3.14159265358979323846;

// Table sine of a phase in turns: the music has tens of millions of voice samples to render.
[[gnu::always_inline]] inline double sine(double turns) {
    constexpr int kSize = 4096;
    static const std::vector<double> table = [] {
        std::vector<double> t(kSize + 1);
        for (int i = 0; i <= kSize; ++i) t[size_t(i)] = std::sin(2 * kPi * i / kSize);
        return t;
    }();
    double p = (turns - std::floor(turns)) * kSize;
    int i = int(p);
    double frac = p - i;
    return table[size_t(i)] + (table[size_t(i) + 1] - table[size_t(i)]) * frac;
}

// Band-limited corners: the error a step (or a bend) between samples leaves in the four
// samples around it, against the same corner drawn through a cubic B-spline, so waves with edges
// keep their partials below half the sample rate. x is in samples from the corner.
double stepError(double x) {  // an upward step of 1
    const double a = std::abs(x);
    double e = 0;
    if (a < 1)
        e = 1.0 / 24 + (2.75 - 4 * a + 2 * a * a * a - 0.75 * a * a * a * a) / 6;
    else if (a < 2)
        e = (2 - a) * (2 - a) * (2 - a) * (2 - a) / 24;
    return x < 0 ? e : -e;
}
double bendError(double x) {  // a rise in slope of 1 per sample
    const double a = std::abs(x);
    if (a < 1)
        return 1.0 / 120 + (1 - a) / 24 +
               (1.1 - 2.75 * a + 2 * a * a - 0.5 * a * a * a * a + 0.15 * a * a * a * a * a) / 6;
    if (a < 2) return (2 - a) * (2 - a) * (2 - a) * (2 - a) * (2 - a) / 120;
    return 0;
}
// Samples from the corner at phase `edge` to the current phase (within two samples), else 4.
double fromCorner(double phase, double edge, double dt) {
    double u = phase - edge;  // both in [0, 1)
    if (u < 0) u += 1;
    if (u < 2 * dt) return u / dt;
    if (u > 1 - 2 * dt) return (u - 1) / dt;
    return 4;
}
}  // namespace

Mix::Mix(double seconds, int channels, bool loop)
    : frames_(size_t(std::llround(seconds * kRate))),
      channels_(channels),
      loop_(loop),
      data_(frames_ * size_t(channels), 0.0f) {}

void Mix::add(int64_t frame, float l, float r) {
    if (loop_) {
        frame %= int64_t(frames_);
        if (frame < 0) frame += int64_t(frames_);
    } else if (frame < 0 || frame >= int64_t(frames_)) {
        return;
    }
    if (channels_ == 1) {
        data_[size_t(frame)] += 0.5f * (l + r);
    } else {
        data_[size_t(frame) * 2] += l;
        data_[size_t(frame) * 2 + 1] += r;
    }
}

void play(Mix& mix, double startSec, const Tone& t) {
    const double total = t.dur + t.release;
    const int64_t start = std::llround(startSec * kRate);
    const int64_t count = std::llround(total * kRate);
    const double panL = std::cos((t.pan + 1) * kPi / 4), panR = std::sin((t.pan + 1) * kPi / 4);
    const double lpA = t.lowpass > 0 ? 1 - std::exp(-2 * kPi * t.lowpass / kRate) : 1;
    const double hpA = t.highpass > 0 ? std::exp(-2 * kPi * t.highpass / kRate) : 0;
    double phase = 0, lp = 0, hpIn = 0, hpOut = 0, noiseAcc = 0;
    uint32_t lfsr = 0x7FFFu ^ (t.seed * 2654435761u);
    if ((lfsr & 0x7FFF) == 0) lfsr = 1;
    double noiseVal = 1, noiseNext = 0;
    // pitch moves slowly, so it is worked out once per block of samples
    constexpr int kBlock = 32;
    double f = t.freq;
    // bell partials decay by a fixed factor per sample
    const double decay2 = std::exp(-6.0 / kRate), decay3 = std::exp(-12.0 / kRate);
    double amp2 = 0.5, amp3 = 0.25, phase2 = 0, phase3 = 0;
    for (int64_t i = 0; i < count; ++i) {
        const double time = double(i) / kRate;
        // envelope
        double env;
        if (time < t.attack)
            env = time / t.attack;
        else if (t.decay > 0 && time < t.attack + t.decay)
            env = 1 - (1 - t.sustain) * ((time - t.attack) / t.decay);
        else
            env = t.decay > 0 ? t.sustain : 1.0;
        if (time > t.dur) env *= std::max(0.0, 1 - (time - t.dur) / std::max(t.release, 1e-4));
        if (i % kBlock == 0) {
            // exponential slide plus delayed vibrato
            f = t.freq;
            if (t.freqEnd > 0)
                f = t.freq * std::pow(t.freqEnd / t.freq, std::min(time / t.dur, 1.0));
            if (t.vibDepth > 0 && time > t.vibDelay) {
                double fade = std::min(1.0, (time - t.vibDelay) / 0.15);
                f *= std::pow(2.0, fade * t.vibDepth / 12 * std::sin(2 * kPi * t.vibRate * time));
            }
        }
        phase += f / kRate;
        phase -= std::floor(phase);
        const double dt = std::min(f / kRate, 0.25);  // corners closer than this would overlap
        double v = 0;
        switch (t.wave) {
            case Wave::Square:
                // centred on zero whatever the duty, so narrow pulses carry no offset
                v = (phase < t.duty ? 1 : -1) - (2 * t.duty - 1) +
                    2 * stepError(fromCorner(phase, 0, dt)) -
                    2 * stepError(fromCorner(phase, t.duty, dt));
                break;
            case Wave::Triangle:
                v = 4 * std::abs(phase - 0.5) - 1 - 8 * dt * bendError(fromCorner(phase, 0, dt)) +
                    8 * dt * bendError(fromCorner(phase, 0.5, dt));
                break;
            case Wave::Saw: v = 2 * phase - 1 - 2 * stepError(fromCorner(phase, 0, dt)); break;
            case Wave::Sine: v = sine(phase); break;
            case Wave::Organ:
                v = 0.7 * sine(phase) + 0.3 * sine(2 * phase);
                if (3 * f < 0.45 * kRate) v += 0.15 * sine(3 * phase);
                break;
            case Wave::Bell: {
                // inharmonic partials that die away faster than the fundamental
                phase2 += 2.76 * f / kRate;
                phase3 += 5.40 * f / kRate;
                phase2 -= std::floor(phase2);
                phase3 -= std::floor(phase3);
                v = sine(phase);
                if (2.76 * f < 0.45 * kRate) v += amp2 * sine(phase2);
                if (5.40 * f < 0.45 * kRate) v += amp3 * sine(phase3);
                amp2 *= decay2;
                amp3 *= decay3;
                v *= 0.6;
                break;
            }
            case Wave::Noise: {
                // held random levels whose steps are smoothed like a pulse's edges; the output
                // runs one sample late so a step can reach back into the sample before it
                double out = noiseVal + noiseNext;
                noiseNext = 0;
                noiseAcc += f / kRate;
                while (noiseAcc >= 1) {
                    noiseAcc -= 1;
                    uint32_t bit = (lfsr ^ (lfsr >> 1)) & 1u;
                    lfsr = (lfsr >> 1) | (bit << 14);
                    const double level = (lfsr & 1u) ? 1 : -1, h = level - noiseVal;
                    const double x = std::min(noiseAcc * kRate / f, 1.0);  // samples since it
                    out += h * x * x / 2;
                    noiseNext -= h * (1 - x) * (1 - x) / 2;
                    noiseVal = level;
                }
                v = out;
                break;
            }
        }
        lp += lpA * (v - lp);
        v = lp;
        if (t.highpass > 0) {
            hpOut = hpA * (hpOut + v - hpIn);
            hpIn = v;
            v = hpOut;
        }
        v *= env * t.gain;
        mix.add(start + i, float(v * panL), float(v * panR));
    }
}

void echo(Mix& mix, double delaySec, double feedback, double wet) {
    const size_t n = mix.frames();
    const size_t d = size_t(std::llround(delaySec * kRate));
    if (d == 0 || d >= n) return;
    const int ch = mix.channels();
    std::vector<float> dry = mix.data();
    std::vector<float> wetBuf(dry.size(), 0.0f);
    // a looping buffer needs a few laps for the wrapped feedback to settle
    const int laps = mix.loop() ? 4 : 1;
    for (int lap = 0; lap < laps; ++lap)
        for (size_t i = 0; i < n; ++i) {
            bool wrap = i < d;
            if (wrap && !mix.loop()) continue;
            size_t j = wrap ? i + n - d : i - d;
            for (int c = 0; c < ch; ++c) {
                int other = ch == 2 ? 1 - c : c;  // ping-pong
                wetBuf[i * ch + c] = float(dry[j * ch + other] + feedback * wetBuf[j * ch + other]);
            }
        }
    auto& out = mix.data();
    for (size_t k = 0; k < out.size(); ++k) out[k] = float(dry[k] + wet * wetBuf[k]);
}

double peakOf(const std::vector<float>& s) {
    double p = 0;
    for (float v : s) p = std::max(p, double(std::abs(v)));
    return p;
}

void normalise(std::vector<float>& s, double peak) {
    double p = peakOf(s);
    if (p <= 0) return;
    const double k = peak / p;
    for (float& v : s) v = float(v * k);
}

double rmsOf(const std::vector<float>& s) {
    double sum = 0;
    for (float v : s) sum += double(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / double(s.size()));
}

void removeOffset(std::vector<float>& s, int channels, bool loop) {
    const size_t frames = s.size() / size_t(channels);
    // one pole at 12 Hz: below the lowest note, fast enough to settle within a short effect
    const double a = std::exp(-2 * kPi * 12.0 / kRate);
    for (int c = 0; c < channels; ++c) {
        double in = 0, out = 0;
        // a loop is run round once first, so the filter meets its start already settled
        for (int lap = loop ? 0 : 1; lap < 2; ++lap)
            for (size_t i = 0; i < frames; ++i) {
                float& v = s[i * size_t(channels) + size_t(c)];
                out = a * (out + v - in);
                in = v;
                if (lap == 1) v = float(out);
            }
    }
}

void limitPeaks(std::vector<float>& s, int channels, bool loop, double ceiling) {
    const size_t n = s.size() / size_t(channels);
    if (n == 0) return;
    const size_t ahead = size_t(0.004 * kRate);
    auto at = [&](size_t i, size_t back) {  // frame i - back, round the loop or held at 0
        return i >= back ? i - back : loop ? i + n - back : size_t(0);
    };
    // the gain each frame needs on its own
    std::vector<double> need(n, 1.0);
    for (size_t i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c) {
            const double v = std::abs(s[i * size_t(channels) + size_t(c)]);
            if (v > ceiling) need[i] = std::min(need[i], ceiling / v);
        }
    // the least need over the frames just ahead, then averaged over as many frames behind:
    // every frame in the average already allows for the frame being played
    std::vector<double> least(n, 1.0), gain(n);
    for (size_t j = 0; j < n; ++j)
        if (need[j] < 1.0)
            for (size_t k = 0; k <= ahead && (loop || k <= j); ++k) {
                double& l = least[at(j, k)];
                l = std::min(l, need[j]);
            }
    double sum = 0;
    for (size_t k = 0; k <= ahead; ++k) sum += least[at(0, k)];
    for (size_t i = 0; i < n; ++i) {
        if (i > 0) sum += least[i] - least[at(i, ahead + 1)];
        gain[i] = std::min(sum / double(ahead + 1), least[i]);
    }
    // recover slowly (about 80 ms), twice round a loop so its join is settled
    const double rel = 1 - std::exp(-1.0 / (0.08 * kRate));
    double g = 1.0;
    for (int lap = loop ? 0 : 1; lap < 2; ++lap)
        for (size_t i = 0; i < n; ++i) {
            g = gain[i] < g ? gain[i] : g + (gain[i] - g) * rel;
            if (lap == 1)
                for (int c = 0; c < channels; ++c) s[i * size_t(channels) + size_t(c)] *= float(g);
        }
}

}  // namespace ag
