// The sounds as the game decodes them: format, lengths, levels, offsets, the deaths' shared blow,
// clean edges, the stage loop's join, and the level of a played stage.
#include "sounds.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "asset_files.h"

using namespace assets_test;

namespace {

struct Expected {
    int number;
    double minSec, maxSec;
    double minPeak, maxPeak;  // full scale 1.0
};

// Every sound plays at unity gain over the others: effects stay at or under -6 dBFS and the
// music well under it. The confirm tick is 30-60 ms, so the copies a held Enter restarts every
// frame never stack more than a few deep.
const Expected kSounds[] = {
    {1, 0.03, 0.06, 0.05, 0.5}, {2, 0.02, 0.1, 0.05, 0.5}, {3, 0.1, 0.6, 0.1, 0.5},
    {4, 0.1, 0.6, 0.1, 0.5},    {5, 0.1, 0.6, 0.1, 0.5},   {6, 0.1, 0.6, 0.1, 0.5},
    {7, 0.1, 0.6, 0.1, 0.5},    {8, 0.1, 0.6, 0.1, 0.5},   {9, 0.1, 0.6, 0.1, 0.5},
    {10, 0.1, 0.6, 0.1, 0.5},   {11, 0.1, 0.6, 0.1, 0.5},  {12, 0.1, 0.6, 0.1, 0.5},
    {13, 60, 120, 0.15, 0.4},   {14, 100, 180, 0.15, 0.4}, {15, 5, 15, 0.15, 0.4},
    {16, 40, 50, 0.15, 0.4},
};

double Peak(const Sound& s) {
    double p = 0;
    for (float v : s.samples) p = std::max(p, double(std::abs(v)));
    return p;
}

double Rms(const std::vector<float>& v, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(v[i]) * v[i];
    return std::sqrt(sum / double(std::max<size_t>(1, to - from)));
}

}  // namespace

TEST(AssetSounds, FormatLengthAndLevel) {
    for (const Expected& e : kSounds) {
        SCOPED_TRACE("snd/" + std::to_string(e.number) + ".bom");
        Sound s = LoadSound(SndPath(e.number));
        ASSERT_TRUE(s.ok());
        // the effects exact, the music small
        EXPECT_EQ(s.format, e.number <= 12 ? "WAV" : "OGG");
        EXPECT_EQ(s.fileRate, 44100);
        EXPECT_TRUE(s.channels == 1 || s.channels == 2);
        EXPECT_GE(s.seconds(), e.minSec);
        EXPECT_LE(s.seconds(), e.maxSec);
        const double peak = Peak(s);
        EXPECT_GE(peak, e.minPeak);
        EXPECT_LE(peak, e.maxPeak) << "too hot to mix without clipping";
    }
    EXPECT_EQ(LoadSound(SndPath(13)).channels, 2) << "the stage music is in stereo";
}

TEST(AssetSounds, NoOffsetAndTheFourMusicsEquallyLoud) {
    // an offset is inaudible but stacks up in the mix and eats the headroom
    for (int n = 1; n <= 16; ++n) {
        SCOPED_TRACE("snd/" + std::to_string(n) + ".bom");
        Sound s = LoadSound(SndPath(n));
        ASSERT_TRUE(s.ok());
        const size_t frames = s.samples.size() / s.channels;
        for (int c = 0; c < s.channels; ++c) {
            double sum = 0;
            for (size_t i = 0; i < frames; ++i) sum += s.samples[i * s.channels + c];
            EXPECT_LE(std::abs(sum / double(frames)), 0.002) << "channel " << c;
        }
    }
    // over the whole file, so no scene's music jumps out at the player
    double quietest = 0, loudest = -200;
    for (int n = 13; n <= 16; ++n) {
        Sound s = LoadSound(SndPath(n));
        ASSERT_TRUE(s.ok());
        const double db = 20 * std::log10(Rms(s.samples, 0, s.samples.size()));
        quietest = std::min(quietest, db);
        loudest = std::max(loudest, db);
    }
    EXPECT_LE(loudest - quietest, 2.0)
        << "the musics span " << quietest << " to " << loudest << " dBFS";
}

TEST(AssetSounds, EveryDeathLandsAtOnceWithTheSameBlow) {
    const size_t tenMs = 441, blow = 353;  // 8 ms
    std::vector<std::vector<float>> starts;
    for (int n = 3; n <= 12; ++n) {
        SCOPED_TRACE("snd/" + std::to_string(n) + ".bom");
        Sound s = LoadSound(SndPath(n));
        ASSERT_TRUE(s.ok());
        ASSERT_GT(s.samples.size(), tenMs);
        const double peak = Peak(s);
        size_t half = 0;
        while (std::abs(s.samples[half]) < peak / 2) ++half;
        EXPECT_LE(half, tenMs) << "reaches half its peak only after " << half / 44.1 << " ms";
        starts.emplace_back(s.samples.begin(), s.samples.begin() + blow);
    }
    // the first milliseconds of any two deaths are the same shape, whatever follows
    for (size_t i = 0; i < starts.size(); ++i)
        for (size_t j = i + 1; j < starts.size(); ++j) {
            double ab = 0, aa = 0, bb = 0;
            for (size_t k = 0; k < blow; ++k) {
                ab += double(starts[i][k]) * starts[j][k];
                aa += double(starts[i][k]) * starts[i][k];
                bb += double(starts[j][k]) * starts[j][k];
            }
            EXPECT_GT(ab / std::sqrt(aa * bb), 0.85) << "snd/" << i + 3 << " and snd/" << j + 3;
        }
}

TEST(AssetSounds, EffectsStartAndEndSilentSoTheyDoNotClick) {
    for (int n = 1; n <= 12; ++n) {
        SCOPED_TRACE("snd/" + std::to_string(n) + ".bom");
        Sound s = LoadSound(SndPath(n));
        ASSERT_TRUE(s.ok());
        ASSERT_GT(s.samples.size(), 16u);
        EXPECT_LT(std::abs(s.samples.front()), 0.02);
        EXPECT_LT(std::abs(s.samples.back()), 0.01);
        // and they are not silent in the middle
        EXPECT_GT(Rms(s.samples, 0, s.samples.size()), 0.01);
    }
}

TEST(AssetSounds, TheTenDeathSoundsAreClearlyDistinct) {
    // a rough fingerprint: length, loudness, brightness (zero crossings) and where the energy sits
    struct Print {
        double len, rms, zcr, centre;
    };
    std::vector<Print> prints;
    for (int n = 3; n <= 12; ++n) {
        Sound s = LoadSound(SndPath(n));
        ASSERT_TRUE(s.ok());
        const auto& v = s.samples;
        double zc = 0, energy = 0, moment = 0;
        for (size_t i = 1; i < v.size(); ++i) {
            zc += (v[i - 1] < 0) != (v[i] < 0);
            energy += double(v[i]) * v[i];
            moment += double(v[i]) * v[i] * double(i);
        }
        prints.push_back({double(v.size()), Rms(v, 0, v.size()), zc / double(v.size()),
                          moment / energy / double(v.size())});
    }
    auto rel = [](double a, double b) {
        return std::abs(a - b) / std::max({std::abs(a), std::abs(b), 1e-9});
    };
    for (size_t i = 0; i < prints.size(); ++i)
        for (size_t j = i + 1; j < prints.size(); ++j) {
            const Print &a = prints[i], &b = prints[j];
            double most = std::max(
                {rel(a.len, b.len), rel(a.rms, b.rms), rel(a.zcr, b.zcr), rel(a.centre, b.centre)});
            EXPECT_GT(most, 0.1) << "snd/" << i + 3 << " and snd/" << j + 3 << " sound alike";
        }
}

TEST(AssetSounds, TheStageLoopDecodesToItsOwnLengthAndJoinsWithoutAClick) {
    const ag::Sound composed = ag::stageMusic();
    Sound s = LoadSound(SndPath(13));
    ASSERT_TRUE(s.ok());
    const int ch = s.channels;
    ASSERT_EQ(ch, composed.channels);
    const auto& v = s.samples;
    const size_t frames = v.size() / ch;
    // no frame of coding delay or padding: the loop is as long as it was composed
    ASSERT_EQ(frames, composed.samples.size() / ch);
    // the step across the join is no bigger than the music's own steps within 10 ms of it
    const size_t near = 441;
    for (int c = 0; c < ch; ++c) {
        double own = 0;
        for (size_t i = 1; i < near; ++i) {
            own = std::max(own, double(std::abs(v[i * ch + c] - v[(i - 1) * ch + c])));
            own = std::max(
                own, double(std::abs(v[(frames - i) * ch + c] - v[(frames - i - 1) * ch + c])));
        }
        const double join = std::abs(v[c] - v[(frames - 1) * ch + c]);
        EXPECT_LE(join, own) << "click at the loop point, channel " << c;
    }
    // no gap: the music is playing across the join, not faded out and back in
    EXPECT_GT(Rms(v, 0, size_t(ch) * 4410), 0.005);
    EXPECT_GT(Rms(v, v.size() - size_t(ch) * 4410, v.size()), 0.005);
}

// Every sound at unity gain over the others leaves a played stage its headroom: the runner's mix
// of the test stage, the music decoded as the game decodes it, peaks at or under -1 dBFS.
TEST(AssetSounds, APlayedStagePeaksUnderOneDecibelBelowFullScale) {
    const std::string wav =
        BuildDir() + "/assets_played_stage_" + std::to_string(getpid()) + ".wav";
    const std::string cmd = "cd '" + BuildDir() + "' && ./tinselrun-sim --ticks 6000 --input '" +
                            TINSELRUN_SOURCE_DIR + "/tests/traces/stage_fire.txt' --audio '" + wav +
                            "' >/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    Sound s = LoadSound(wav);
    std::remove(wav.c_str());
    ASSERT_TRUE(s.ok());
    EXPECT_GT(s.seconds(), 99.9);
    EXPECT_LE(20 * std::log10(Peak(s)), -1.0);
}
