#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/png_check.h"
#include "platform/common/sound_file.h"
#include "platform/common/wav.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}

void Chunk(Bytes& b, const char* type, uint32_t length, size_t actual) {
    Put32(b, length);
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), actual, 0);
    Put32(b, 0);  // the CRC is the decoder's business
}

Bytes Png(uint32_t extraLength, size_t extraActual) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Chunk(b, "IHDR", 13, 13);
    Chunk(b, "dify", extraLength, extraActual);
    Chunk(b, "IEND", 0, 0);
    return b;
}

TEST(PictureFiles, AWholePngPassesTheChunkWalk) {
    const Bytes good = Png(5, 5);
    EXPECT_TRUE(plat::common::PngChunksIntact(good.data(), good.size()));
}

TEST(PictureFiles, APngCutShortOrClaimingMoreThanItHoldsIsRefusedBeforeDecoding) {
    const Bytes good = Png(5, 5);
    for (size_t cut : {good.size() - 1, good.size() - 12, size_t{20}, size_t{8}}) {
        EXPECT_FALSE(plat::common::PngChunksIntact(good.data(), cut)) << cut;
    }
    // A 143-byte file whose chunk claims 1.7 GB once kept the decoder busy for seconds.
    const Bytes liar = Png(1698327919u, 5);
    EXPECT_FALSE(plat::common::PngChunksIntact(liar.data(), liar.size()));
    const Bytes huge = Png(0xFFFFFFFFu, 5);
    EXPECT_FALSE(plat::common::PngChunksIntact(huge.data(), huge.size()));
    Bytes trailing = good;
    trailing.push_back(0);
    EXPECT_FALSE(plat::common::PngChunksIntact(trailing.data(), trailing.size()));
}

Bytes Wav(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t dataBytes, size_t actual) {
    Bytes b = plat::common::WavHeader(channels, rate, bits, dataBytes);
    b.insert(b.end(), actual, 0);
    return b;
}

TEST(SoundFiles, AWavHeaderTellsItsLengthAndIsRefusedWhenItCannotBeRight) {
    using plat::common::WavHeaderSeconds;
    const Bytes second = Wav(2, 44100, 16, 176400, 176400);
    EXPECT_DOUBLE_EQ(WavHeaderSeconds(second.data(), second.size()), 1.0);
    const Bytes cut = Wav(2, 44100, 16, 176400, 1000);
    EXPECT_EQ(WavHeaderSeconds(cut.data(), cut.size()), plat::common::WAV_TRUNCATED);
    // Eleven minutes claimed: refused for its length before anything is read, even when cut.
    const Bytes long_ = Wav(2, 44100, 16, 176400u * 660, 64);
    EXPECT_GT(WavHeaderSeconds(long_.data(), long_.size()), plat::common::MAX_SOUND_SECONDS);
    // A rate no sound has made the converter allocate without end.
    const Bytes wild = Wav(1, 0x65001B40u, 16, 100, 100);
    EXPECT_EQ(WavHeaderSeconds(wild.data(), wild.size()), plat::common::WAV_BAD_FORMAT);
    const Bytes none = Wav(0, 44100, 16, 100, 100);
    EXPECT_EQ(WavHeaderSeconds(none.data(), none.size()), plat::common::WAV_BAD_FORMAT);
    const std::string ogg = "OggS and the rest";
    EXPECT_EQ(WavHeaderSeconds(reinterpret_cast<const uint8_t*>(ogg.data()), ogg.size()),
              plat::common::WAV_NOT_A_WAV);
}

std::vector<int16_t> ReadStream(plat::common::SoundStream& stream, int fetch, size_t most) {
    std::vector<int16_t> out;
    const int16_t* samples = nullptr;
    for (int got; out.size() < most && (got = stream.Fetch(&samples, fetch)) > 0;) {
        out.insert(out.end(), samples, samples + got * stream.Channels());
    }
    if (out.size() > most) out.resize(most);
    return out;
}

// Sounds are known by their bytes, whatever their name, and come out at the mix rate.
TEST(SoundFiles, WavOggAndFlacAreReadByContentAtTheMixRate) {
    const std::string corpus = TINSELRUN_SOURCE_DIR "/tests/fuzz/corpus/sound/";
    const struct {
        const char* name;
        int channels;
        int frames;  // at 44.1 kHz
    } kFiles[] = {
        {"beep.wav", 1, 441}, {"beep.ogg", 1, 882}, {"beep.flac", 1, 441}, {"stereo.wav", 2, 220}};
    for (const auto& f : kFiles) {
        const std::string path = corpus + f.name;
        const auto checked = plat::common::OpenSoundFile(path.c_str(), false);
        ASSERT_NE(checked, nullptr) << path;
        EXPECT_FALSE(checked->Playable()) << "checked only, nothing decoded";
        const auto sound = plat::common::OpenSoundFile(path.c_str(), true);
        ASSERT_NE(sound, nullptr) << path;
        EXPECT_EQ(sound->Channels(), f.channels) << path;
        EXPECT_NEAR(sound->Frames(), f.frames, 2) << path;
        EXPECT_NEAR(checked->Frames(), f.frames, 2) << path;
        int peak = 0;
        for (int64_t i = 0; i < sound->Frames() * sound->Channels(); ++i) {
            peak = std::max(peak, std::abs(int(sound->Samples()[i])));
        }
        EXPECT_GT(peak, 1000) << path;
    }
}

// Long sounds play from their file in blocks: the samples do not depend on how the mixer asks
// for them, a loop comes round without a gap, and another rate is converted on the way.
TEST(SoundFiles, ALongSoundIsStreamedTheSameWhateverTheBlocks) {
    for (uint32_t rate : {44100u, 22050u}) {
        const uint32_t frames = rate * 6;
        Bytes wav = plat::common::WavHeader(1, rate, 16, frames * 2);
        for (uint32_t i = 0; i < frames; ++i) {
            plat::common::PutLe16(wav, uint16_t(int16_t(8000 * std::sin(i * 0.05))));
        }
        const auto sound = plat::common::OpenSoundBytes(wav.data(), wav.size(), "long", true);
        ASSERT_NE(sound, nullptr);
        ASSERT_TRUE(sound->Streamed());
        const auto whole = ReadStream(*sound->OpenStream(false), 1024, SIZE_MAX);
        EXPECT_NEAR(double(whole.size()), 6.0 * 44100, 1100) << rate;
        EXPECT_EQ(ReadStream(*sound->OpenStream(false), 333, SIZE_MAX), whole) << rate;
        if (rate != 44100) continue;
        const auto looped = ReadStream(*sound->OpenStream(true), 1000, 2 * whole.size());
        ASSERT_EQ(looped.size(), 2 * whole.size());
        EXPECT_TRUE(std::equal(whole.begin(), whole.end(), looped.begin() + whole.size()));
    }
}

}  // namespace
