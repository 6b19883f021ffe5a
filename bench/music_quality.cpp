// music_quality Q...: each piece of music encoded at libvorbis's quality Q, decoded as the game
// decodes it, and held against what was composed on its loudest 2 seconds: the size, the
// difference level, and a noise-to-mask ratio per frame and critical band (bench/README.md).
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "encode.h"
#include "platform/common/sound_file.h"
#include "sounds.h"

namespace {

using Complex = std::complex<double>;
constexpr double PI = 3.14159265358979323846;
constexpr int RATE = 44100;
constexpr int N = 2048;  // frame, Hann window, half overlap
constexpr double FULL_SCALE_SPL = 100.0;
// Critical bands (Zwicker), Hz.
constexpr double EDGES[] = {0,    100,  200,  300,  400,  510,   630,   770,  920,
                            1080, 1270, 1480, 1720, 2000, 2320,  2700,  3150, 3700,
                            4400, 5300, 6400, 7700, 9500, 12000, 15500, 22050};
constexpr int BANDS = 25;

void Fft(std::vector<Complex>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const Complex turn(std::cos(-2 * PI / len), std::sin(-2 * PI / len));
        for (size_t i = 0; i < n; i += len) {
            Complex w(1);
            for (size_t j = 0; j < len / 2; ++j, w *= turn) {
                const Complex u = a[i + j], v = a[i + j + len / 2] * w;
                a[i + j] = u + v;
                a[i + j + len / 2] = u - v;
            }
        }
    }
}

// Threshold of hearing (Terhardt), dB SPL.
double Quiet(double hz) {
    const double f = std::max(hz, 20.0) / 1000;
    return 3.64 * std::pow(f, -0.8) - 6.5 * std::exp(-0.6 * (f - 3.3) * (f - 3.3)) +
           1e-3 * std::pow(f, 4);
}

std::vector<float> Decode(const ag::Bytes& file) {
    std::vector<float> out;
    const auto sound = plat::common::OpenSoundBytes(file.data(), file.size(), "music", true);
    if (!sound) return out;
    const auto stream = sound->OpenStream(false);
    const int16_t* samples = nullptr;
    for (int got; (got = stream->Fetch(&samples, 4096)) > 0;)
        for (int i = 0; i < got * sound->Channels(); ++i) out.push_back(samples[i] / 32768.0f);
    return out;
}

struct Figures {
    double differenceDb = 0;  // the music's level over the difference's
    double worstNmr = -999;   // dB
    double over = 0;          // share of frame-band cells over 0 dB
};

// On the loudest 2 s of `x` (by level, in 0.1 s steps), `y` decoded against it.
Figures Measure(const std::vector<float>& x, const std::vector<float>& y, int ch) {
    const size_t frames = std::min(x.size(), y.size()) / ch, span = 2 * RATE;
    size_t from = 0;
    double loudest = -1;
    for (size_t s = 0; s + span <= frames; s += RATE / 10) {
        double e = 0;
        for (size_t i = s * ch; i < (s + span) * ch; ++i) e += double(x[i]) * x[i];
        if (e > loudest) loudest = e, from = s;
    }
    Figures f;
    double signal = 0, error = 0;
    for (size_t i = from * ch; i < (from + span) * ch; ++i) {
        signal += double(x[i]) * x[i];
        error += (double(y[i]) - x[i]) * (double(y[i]) - x[i]);
    }
    f.differenceDb = 10 * std::log10(signal / error);
    // A full-scale sine's energy in its band, for the threshold of hearing.
    const double fullScale = 3.0 * N * N / 32;
    double quiet[BANDS];
    for (int b = 0; b < BANDS; ++b) {
        double least = 1e9;
        for (double hz = EDGES[b]; hz < EDGES[b + 1]; hz += 10) least = std::min(least, Quiet(hz));
        quiet[b] = fullScale * std::pow(10, (least - FULL_SCALE_SPL) / 10);
    }
    long cells = 0, over = 0;
    for (size_t s = from; s + N <= from + span; s += N / 2)
        for (int c = 0; c < ch; ++c) {
            std::vector<Complex> in(N), diff(N);
            for (int n = 0; n < N; ++n) {
                const double w = 0.5 - 0.5 * std::cos(2 * PI * n / N);
                in[n] = w * x[(s + n) * ch + c];
                diff[n] = w * (double(y[(s + n) * ch + c]) - x[(s + n) * ch + c]);
            }
            Fft(in);
            Fft(diff);
            double sig[BANDS] = {}, err[BANDS] = {}, logs[BANDS] = {};
            int lines[BANDS] = {};
            for (int k = 1; k < N / 2; ++k) {
                int b = 0;
                while (b < BANDS - 1 && k * double(RATE) / N >= EDGES[b + 1]) ++b;
                sig[b] += std::norm(in[k]);
                err[b] += std::norm(diff[k]);
                logs[b] += std::log(std::norm(in[k]) + 1e-30);
                ++lines[b];
            }
            for (int b = 0; b < BANDS; ++b) {
                // Schroeder's spreading, normalised; Johnston's offset by the band's flatness.
                double spread = 0, unit = 0;
                for (int k = 0; k < BANDS; ++k) {
                    const double d = b - k + 0.474;
                    const double sf =
                        std::pow(10, (15.81 + 7.5 * d - 17.5 * std::sqrt(1 + d * d)) / 10);
                    spread += sig[k] * sf;
                    unit += sf;
                }
                const double flatness =
                    lines[b] > 0 && sig[b] > 0
                        ? 10 * std::log10(std::exp(logs[b] / lines[b]) / (sig[b] / lines[b]))
                        : 0;
                const double tonal = lines[b] < 3 ? 1 : std::min(flatness / -60, 1.0);
                const double offset = tonal * (14.5 + b) + (1 - tonal) * 5.5;
                const double mask = std::max(spread / unit * std::pow(10, -offset / 10), quiet[b]);
                const double nmr = 10 * std::log10((err[b] + 1e-30) / mask);
                f.worstNmr = std::max(f.worstNmr, nmr);
                ++cells;
                over += nmr > 0;
            }
        }
    f.over = double(over) / double(cells);
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: music_quality QUALITY... (libvorbis's, -0.1 to 1)\n");
        return 2;
    }
    const struct {
        const char* name;
        ag::Sound (*make)();
        bool loop;
    } kPieces[] = {{"stage", ag::stageMusic, true},
                   {"ending", ag::endingMusic, false},
                   {"game over", ag::gameOverMusic, false},
                   {"opening", ag::openingMusic, false}};
    std::vector<ag::Sound> composed;
    for (const auto& p : kPieces) composed.push_back(p.make());
    for (int a = 1; a < argc; ++a) {
        const float quality = float(std::atof(argv[a]));
        size_t total = 0;
        for (size_t i = 0; i < composed.size(); ++i) {
            const ag::Sound& s = composed[i];
            const ag::Bytes file =
                ag::encodeVorbis(s.samples, s.channels, RATE, quality, kPieces[i].loop, 13 + i);
            total += file.size();
            const std::vector<float> decoded = Decode(file);
            const size_t frames = s.samples.size() / s.channels;
            const Figures f = Measure(s.samples, decoded, s.channels);
            std::printf(
                "q %.2f %-9s %8zu bytes %5.1f kb/s  frames %zu of %zu  loudest 2 s: "
                "difference -%.1f dB, worst noise-to-mask %+.1f dB, cells over %.1f %%\n",
                quality, kPieces[i].name, file.size(),
                file.size() * 8.0 / (double(frames) / RATE) / 1000, decoded.size() / s.channels,
                frames, f.differenceDb, f.worstNmr, 100 * f.over);
            if (!kPieces[i].loop || decoded.size() != s.samples.size()) continue;
            for (int c = 0; c < s.channels; ++c) {
                const auto at = [&](size_t frame) {
                    return double(decoded[frame * s.channels + c]);
                };
                double own = 0;
                for (size_t k = 1; k < RATE / 100; ++k)
                    own = std::max({own, std::fabs(at(k) - at(k - 1)),
                                    std::fabs(at(frames - k) - at(frames - k - 1))});
                std::printf("           join, channel %d: step %.4f, largest within 10 ms %.4f\n",
                            c, std::fabs(at(0) - at(frames - 1)), own);
            }
        }
        std::printf("q %.2f all four: %zu bytes\n", quality, total);
    }
    return 0;
}
