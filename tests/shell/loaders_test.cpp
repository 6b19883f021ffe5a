#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
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

// A WAV header of any encoding tag (1 integer PCM, 3 floating point) and sample size.
Bytes WavOf(uint16_t tag, uint16_t bits, const Bytes& data) {
    Bytes b = plat::common::WavHeader(1, 44100, bits, static_cast<uint32_t>(data.size()));
    b[20] = static_cast<uint8_t>(tag);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// Our own reader takes every plain WAV encoding, and gives each the 16-bit samples it holds.
TEST(SoundFiles, WavOfAnySampleSizeOrFloatingPointReadsAsItsSixteenBitSamples) {
    const std::vector<int16_t> want = {0, 1, -1, 255, -256, 12345, -12346, 32767, -32768};
    Bytes u8, s24, s32, f32, f64;
    for (int16_t v : want) {
        u8.push_back(static_cast<uint8_t>((v >> 8) + 128));
        for (int k = 0; k < 3; ++k)
            s24.push_back(static_cast<uint8_t>((int32_t(v) * 256) >> (8 * k)));
        for (int k = 0; k < 4; ++k)
            s32.push_back(static_cast<uint8_t>((int64_t(v) * 65536) >> (8 * k)));
        const float f = v / 32768.0f;
        const double d = v / 32768.0;
        f32.insert(f32.end(), reinterpret_cast<const uint8_t*>(&f),
                   reinterpret_cast<const uint8_t*>(&f) + 4);
        f64.insert(f64.end(), reinterpret_cast<const uint8_t*>(&d),
                   reinterpret_cast<const uint8_t*>(&d) + 8);
    }
    std::vector<int16_t> coarse;  // 8 bits keep the top byte
    for (int16_t v : want) coarse.push_back(static_cast<int16_t>((v >> 8) * 256));
    const struct {
        Bytes wav;
        std::vector<int16_t> samples;
    } kCases[] = {{WavOf(1, 8, u8), coarse},
                  {WavOf(1, 24, s24), want},
                  {WavOf(1, 32, s32), want},
                  {WavOf(3, 32, f32), want},
                  {WavOf(3, 64, f64), want}};
    for (const auto& c : kCases) {
        const auto sound = plat::common::OpenSoundBytes(c.wav.data(), c.wav.size(), "wav", true);
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(std::vector<int16_t>(sound->Samples(), sound->Samples() + sound->Frames()),
                  c.samples)
            << "bits " << plat::common::Le16(c.wav.data() + 34);
    }
    // Floating point past full scale is clipped, and what is no number is silence.
    const float loud[] = {1.5f, -2.0f, std::nanf("")};
    const Bytes raw(reinterpret_cast<const uint8_t*>(loud),
                    reinterpret_cast<const uint8_t*>(loud) + 12);
    const Bytes wav = WavOf(3, 32, raw);
    const auto sound = plat::common::OpenSoundBytes(wav.data(), wav.size(), "wav", true);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(std::vector<int16_t>(sound->Samples(), sound->Samples() + 3),
              (std::vector<int16_t>{32767, -32768, 0}));
}

Bytes ReadCorpus(const char* name) {
    std::ifstream in(std::string(TINSELRUN_SOURCE_DIR "/tests/fuzz/corpus/sound/") + name,
                     std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lengths in a Vorbis comment header that run past its end made the decoder write before its
// buffer (a vendor of -1 bytes) or walk a list it never made (a billion comments): refused first.
TEST(SoundFiles, AVorbisCommentHeaderThatLiesAboutItsLengthsIsRefused) {
    const Bytes good = ReadCorpus("beep.ogg");
    ASSERT_GT(good.size(), 200u);
    ASSERT_NE(plat::common::OpenSoundBytes(good.data(), good.size(), "ogg", true), nullptr);
    const size_t vendor = 58 + 27 + 11 + 7;  // the second page's packet: type, "vorbis", vendor
    ASSERT_EQ(plat::common::Le32(good.data() + vendor), 52u) << "the seed file changed";
    for (const size_t field : {vendor, vendor + 4 + 52}) {
        Bytes bad = good;
        for (int k = 0; k < 4; ++k) bad[field + k] = field == vendor ? 0xFF : (k == 3 ? 0x10 : 0);
        testing::internal::CaptureStderr();
        EXPECT_EQ(plat::common::OpenSoundBytes(bad.data(), bad.size(), "ogg", true), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "tinselrun: ogg: not a sound (bad Ogg Vorbis comment header)\n");
    }
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
