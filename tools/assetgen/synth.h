// The little synthesiser behind every sound: a handful of oscillators, envelopes,
// a per-voice low-pass, and a mixing buffer that can wrap for seamless loops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ag {

constexpr int kRate = 44100;

enum class Wave { Square, Triangle, Saw, Sine, Noise, Bell, Organ };

// One sounding note or effect layer.
struct Tone {
    Wave wave = Wave::Square;
    double freq = 440;   // Hz at the start (for noise: the rate the noise is clocked at)
    double freqEnd = 0;  // Hz at the end of `dur`; 0 keeps the pitch
    double dur = 0.1;    // seconds until release starts
    double attack = 0.005;
    double decay = 0.0;  // seconds to fall to `sustain`; 0 holds full level
    double sustain = 1.0;
    double release = 0.02;
    double duty = 0.5;
    double vibDepth = 0;    // semitones
    double vibRate = 5.5;   // Hz
    double vibDelay = 0.1;  // seconds before the vibrato fades in
    double lowpass = 0;     // Hz, one-pole; 0 for none
    double highpass = 0;    // Hz, one-pole; 0 for none
    double gain = 1.0;
    double pan = 0.0;   // -1 left .. 1 right
    uint32_t seed = 1;  // noise start state, so layers differ but repeat run to run
};

// Interleaved float frames. A looping buffer wraps writes past its end back to the start,
// so release tails and echoes of the last bars ring on into the first.
class Mix {
public:
    Mix(double seconds, int channels, bool loop);
    size_t frames() const { return frames_; }
    int channels() const { return channels_; }
    void add(int64_t frame, float l, float r);
    float& at(size_t frame, int ch) { return data_[frame * channels_ + ch]; }
    std::vector<float>& data() { return data_; }
    bool loop() const { return loop_; }

private:
    size_t frames_;
    int channels_;
    bool loop_;
    std::vector<float> data_;
};

void play(Mix& mix, double startSec, const Tone& tone);

// Feedback delay (ping-ponged in stereo). On a looping buffer the feedback wraps too.
void echo(Mix& mix, double delaySec, double feedback, double wet);
// Scales so the largest sample is `peak` (0..1). Silence stays silent.
void normalise(std::vector<float>& samples, double peak);
double peakOf(const std::vector<float>& samples);
double rmsOf(const std::vector<float>& samples);
// Removes any offset with a gentle high-pass; a looping buffer is filtered round its join.
void removeOffset(std::vector<float>& samples, int channels, bool loop);
// Lowers the rare loudest moments to `ceiling` with a smooth gain that looks a few
// milliseconds ahead, so stacked drum hits stop short of the mix's headroom.
void limitPeaks(std::vector<float>& samples, int channels, bool loop, double ceiling);

}  // namespace ag
