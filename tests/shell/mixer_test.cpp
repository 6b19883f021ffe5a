// What a player hears of sounds played together: exact sums, loops and stops on their frame,
// volume, mute and pause, the limiter's curve, no cap on voices, and unloading while playing.
#include "platform/common/mixer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/common/limiter.h"
#include "platform/common/wav.h"
#include "platform/headless/headless.h"

namespace {

using plat::common::Mixer;
using plat::common::Sound;
using Samples = std::vector<int16_t>;

// Stereo frames as (left, right) pairs, mixed in buffers of the sizes given, in turn.
Samples Render(Mixer& mixer, int frames, std::vector<int> buffers = {1024}) {
    Samples out(static_cast<size_t>(frames) * 2);
    for (int done = 0, i = 0; done < frames; ++i) {
        const int n = std::min(buffers[i % buffers.size()], frames - done);
        mixer.Render(out.data() + 2 * done, n);
        done += n;
    }
    return out;
}

Samples Mono(std::initializer_list<int> frames) {
    Samples out;
    for (int v : frames) out.insert(out.end(), {int16_t(v), int16_t(v)});
    return out;
}

TEST(Mixer, AddsEveryVoiceExactlyFromItsOwnFrame) {
    Mixer mixer;
    mixer.Reset(2);
    mixer.SetSound(0, Sound::FromSamples({100, -200, 300}, 1));
    mixer.SetSound(1, Sound::FromSamples({1000, 2000, -1000, -2000}, 2));
    mixer.Play(0, false, 0);
    mixer.Play(1, false, 1);
    mixer.Play(0, false, 2);  // the same slot again: a voice of its own
    EXPECT_EQ(Render(mixer, 6, {4, 1}),
              (Samples{100, 100, 800, 1800, -600, -1600, -200, -200, 300, 300, 0, 0}));
    EXPECT_EQ(mixer.Voices(), 0u) << "voices end with their sound";
}

TEST(Mixer, VolumeScalesMuteSilencesAndPauseHoldsThePlace) {
    Mixer mixer;
    mixer.Reset(1);
    mixer.SetSound(0, Sound::FromSamples({1000, 2000, -1000, -2000}, 2));
    mixer.SetVolume(0.5f, 0);
    mixer.Play(0, true, 0);
    mixer.SetMuted(true, 2);  // the loop goes on unheard: frame 0 passes in silence
    mixer.SetMuted(false, 3);
    mixer.SetPaused(true, 4);  // and holds at frame 0 again
    mixer.SetPaused(false, 6);
    EXPECT_EQ(Render(mixer, 8, {3}), (Samples{500, 1000, -500, -1000, 0, 0, -500, -1000, 0, 0, 0, 0,
                                              500, 1000, -500, -1000}));
}

TEST(Mixer, LoopsWrapAndStopsLandOnTheirFrameWhateverTheBufferSize) {
    for (std::vector<int> buffers : {std::vector<int>{1}, {2, 5}, {1024}}) {
        Mixer mixer;
        mixer.Reset(2);
        mixer.SetSound(0, Sound::FromSamples({1, 2, 3}, 1));
        mixer.SetSound(1, Sound::FromSamples({10, 20}, 1));
        mixer.Play(0, true, 0);
        mixer.Play(1, true, 1);
        mixer.Stop(1, 4);
        mixer.Stop(0, 6);  // a stop and a new play on one frame, as scenes change the music
        mixer.Play(0, false, 6);
        mixer.StopAll(8);
        mixer.Play(1, false, 9);
        EXPECT_EQ(Render(mixer, 12, buffers), Mono({1, 12, 23, 11, 2, 3, 1, 2, 0, 10, 20, 0}));
        mixer.Play(0, false, 0);  // a frame already mixed means the next one
        EXPECT_EQ(Render(mixer, 4, buffers), Mono({1, 2, 3, 0}));
    }
}

TEST(Limiter, PassesQuietSamplesAndBendsLoudOnesBelowFullScale) {
    using namespace plat::common;
    for (double x : {0.0, 0.25, -0.5, LIMIT_KNEE, -LIMIT_KNEE}) EXPECT_EQ(Limit(x), x);
    EXPECT_EQ(ToPcm16(12345 / 32768.0), 12345);
    EXPECT_EQ(ToPcm16(-32768 / 32768.0), -32768);
    // Above the knee: smooth (no kink in level or slope), rising, odd, and never full scale.
    const double h = 1e-6;
    EXPECT_NEAR(Limit(LIMIT_KNEE + h), LIMIT_KNEE + h, 1e-11);
    double last = Limit(LIMIT_KNEE);
    for (double x = LIMIT_KNEE + 0.01; x < 3; x += 0.01) {
        const double y = Limit(x);
        EXPECT_GT(y, last) << x;
        EXPECT_EQ(Limit(-x), -y) << x;
        last = y;
    }
    EXPECT_NEAR(Limit(LIMIT_KNEE + LIMIT_RANGE), LIMIT_KNEE + LIMIT_RANGE * std::tanh(1.0), 1e-12);
    EXPECT_LE(Limit(1e9), LIMIT_KNEE + LIMIT_RANGE);
    EXPECT_GT(Limit(3.0), LIMIT_KNEE + LIMIT_RANGE - 1e-3);
    EXPECT_EQ(ToPcm16(Limit(1e9)), 31130) << "the loudest a mix can be";
}

// The platform calls on the headless backend, with its stand-in for the device pulling
// buffers through the real backend's callback.
class PlatformAudio : public testing::Test {
protected:
    static constexpr int FRAMES = 2000;
    static constexpr int LEVEL = 16;

    void SetUp() override {
        path_ = testing::TempDir() + "/tinselrun_mixer_" + std::to_string(getpid()) + ".wav";
        std::vector<uint8_t> wav = plat::common::WavHeader(1, 44100, 16, FRAMES * 2);
        for (int i = 0; i < FRAMES; ++i) plat::common::PutLe16(wav, LEVEL);
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
        plat::headless::SetClock(0);
        plat::headless::RunAudioDevice(1024, [this](const int16_t* s, int frames) {
            heard_.insert(heard_.end(), s, s + 2 * frames);
        });
        ASSERT_TRUE(plat::OpenAudio(2));
        ASSERT_TRUE(plat::LoadSlot(0, path_.c_str()));
    }
    void TearDown() override {
        plat::CloseAudio();
        plat::headless::RunAudioDevice(0, nullptr);
        std::remove(path_.c_str());
    }
    // Moves the clock on by whole device buffers.
    void Pass(int buffers) {
        for (int i = 0; i < buffers; ++i) {
            plat::headless::AdvanceClock(1024 * 1000.0 / 44100);
        }
    }
    int Left(size_t frame) const { return heard_.at(2 * frame); }

    std::string path_;
    Samples heard_;
};

TEST_F(PlatformAudio, AThousandOverlappingPlaysOfOneSlotAreAllHeard) {
    for (int i = 0; i < 500; ++i) plat::PlaySlot(0, false);
    plat::headless::SetClock(10.0);  // 441 frames on
    for (int i = 0; i < 500; ++i) plat::PlaySlot(0, false);
    Pass(3);
    ASSERT_GE(heard_.size(), 2u * 2441);
    EXPECT_EQ(Left(0), 500 * LEVEL);
    EXPECT_EQ(Left(440), 500 * LEVEL);
    EXPECT_EQ(Left(441), 1000 * LEVEL);
    EXPECT_EQ(Left(1999), 1000 * LEVEL);
    EXPECT_EQ(Left(2000), 500 * LEVEL);
    EXPECT_EQ(Left(2441), 0);
}

TEST_F(PlatformAudio, UnloadingASlotStopsItsVoicesFirst) {
    plat::PlaySlot(0, true);
    for (int i = 0; i < 100; ++i) plat::PlaySlot(0, false);
    Pass(1);
    ASSERT_EQ(Left(1023), 101 * LEVEL);
    plat::headless::AdvanceClock(5.0);
    plat::PlaySlot(0, false);  // waiting for its frame, still to come when the slot goes
    plat::UnloadSlot(0);
    plat::PlaySlot(0, true);  // an empty slot plays nothing
    Pass(2);
    for (size_t f = 1024; f < heard_.size() / 2; ++f) ASSERT_EQ(Left(f), 0) << f;
    EXPECT_FALSE(plat::LoadSlot(0, (path_ + ".missing").c_str()));
}

}  // namespace
