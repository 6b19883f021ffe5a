#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common/png_check.h"
#include "platform/common/sdl_sound.h"

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
    Bytes b;
    auto le = [&b](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    le(36 + dataBytes, 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    le(16, 4);
    le(1, 2);
    le(channels, 2);
    le(rate, 4);
    le(rate * channels * bits / 8, 4);
    le(channels * bits / 8, 2);
    le(bits, 2);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    le(dataBytes, 4);
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

}  // namespace
