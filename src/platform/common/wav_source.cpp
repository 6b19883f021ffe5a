// WAV files read by our own code: the chunk walk with the limits fuzzing found, and the samples
// of integer PCM (8, 16, 24, 32 bits) and floating point (32, 64 bits).
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/common/bytes.h"
#include "platform/common/limiter.h"
#include "platform/common/sound_file.h"
#include "platform/common/sound_source.h"

namespace plat::common {
namespace {

// A WAV file with more chunks than this before its data is no sound file.
constexpr int MAX_WAV_CHUNKS = 4096;
constexpr uint32_t WAVE_FORMAT_PCM = 1;
constexpr uint32_t WAVE_FORMAT_IEEE_FLOAT = 3;
constexpr uint32_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

bool Tag(const uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

uint64_t Le64(const uint8_t* p) {
    return uint64_t(Le32(p)) | (uint64_t(Le32(p + 4)) << 32);
}

// One sample of any readable layout, as a 16-bit sample.
int16_t Sample(const uint8_t* p, const WavFormat& f) {
    if (f.tag == WAVE_FORMAT_IEEE_FLOAT) {
        double x = 0;
        if (f.bits == 32) {
            float v;
            const uint32_t u = Le32(p);
            std::memcpy(&v, &u, 4);
            x = v;
        } else {
            const uint64_t u = Le64(p);
            std::memcpy(&x, &u, 8);
        }
        // Beyond full scale is clipped, not wrapped round; what is no number is silence.
        return std::isnan(x) ? 0 : ToPcm16(std::fmax(-1.0, std::fmin(1.0, x)));
    }
    switch (f.bits) {
        case 8: return static_cast<int16_t>((p[0] - 128) * 256);
        case 16: return static_cast<int16_t>(Le16(p));
        case 24: return static_cast<int16_t>(p[1] | (p[2] << 8));
        default: return static_cast<int16_t>(Le16(p + 2));
    }
}

class WavSource : public SoundSource {
public:
    WavSource(const SoundBytes& bytes, const WavFormat& format) : bytes_(bytes), format_(format) {
        fileChannels_ = static_cast<int>(format.channels);
        channels_ = std::min(fileChannels_, 2);
        rate_ = static_cast<int>(format.rate);
        frames_ = format.dataBytes / format.blockAlign;
    }

    int Read(int16_t* out, int frames) override {
        frames = static_cast<int>(std::min<int64_t>(frames, frames_ - at_));
        if (frames <= 0) return 0;
        raw_.resize(static_cast<size_t>(frames) * format_.blockAlign);
        const size_t got =
            bytes_.ReadAt(format_.dataAt + at_ * format_.blockAlign, raw_.data(), raw_.size());
        frames = static_cast<int>(got / format_.blockAlign);
        const size_t step = format_.bits / 8;
        int16_t* to = out;
        if (fileChannels_ > 2) {
            wide_.resize(static_cast<size_t>(frames) * fileChannels_);
            to = wide_.data();
        }
        for (size_t i = 0; i < static_cast<size_t>(frames) * fileChannels_; ++i) {
            to[i] = Sample(raw_.data() + i * step, format_);
        }
        if (fileChannels_ > 2) FoldChannels(wide_.data(), fileChannels_, frames, out);
        at_ += frames;
        return frames;
    }

    bool Rewind() override {
        at_ = 0;
        return true;
    }

private:
    const SoundBytes& bytes_;
    WavFormat format_;
    int fileChannels_ = 1;
    int64_t at_ = 0;
    std::vector<uint8_t> raw_;
    std::vector<int16_t> wide_;
};

}  // namespace

double ReadWavFormat(const SoundBytes& bytes, WavFormat* format) {
    const int64_t size = bytes.Size();
    uint8_t head[48];
    if (size < 12 || !bytes.ReadAll(0, head, 12) || !Tag(head, "RIFF") || !Tag(head + 8, "WAVE")) {
        return WAV_NOT_A_WAV;
    }
    WavFormat f;
    uint32_t byteRate = 0;
    int64_t at = 12;
    for (int chunks = 0; at + 8 <= size && chunks < MAX_WAV_CHUNKS; ++chunks) {
        if (!bytes.ReadAll(at, head, 8)) return WAV_BAD_FORMAT;
        const uint32_t chunkSize = Le32(head + 4);
        if (Tag(head, "fmt ")) {
            if (at + 24 > size || chunkSize < 16 || !bytes.ReadAll(at, head, 24)) {
                return WAV_BAD_FORMAT;
            }
            f.tag = Le16(head + 8);
            f.channels = Le16(head + 10);
            f.rate = Le32(head + 12);
            byteRate = Le32(head + 16);
            f.blockAlign = Le16(head + 20);
            f.bits = Le16(head + 22);
            // The extensible header names its encoding in the first two bytes of its GUID.
            if (f.tag == WAVE_FORMAT_EXTENSIBLE && chunkSize >= 40 && at + 34 <= size &&
                bytes.ReadAll(at + 32, head + 24, 2)) {
                f.tag = Le16(head + 24);
            }
            // Rates and layouts outside what any sound file uses make the converter run away.
            if (f.channels < 1 || f.channels > 8 || f.rate < 1000 || f.rate > 384000 ||
                f.bits == 0 || f.bits > 64 || byteRate == 0 || byteRate > f.rate * f.channels * 8) {
                return WAV_BAD_FORMAT;
            }
        } else if (Tag(head, "data")) {
            if (byteRate == 0) return WAV_BAD_FORMAT;
            const double seconds = static_cast<double>(chunkSize) / byteRate;
            if (seconds <= MAX_SOUND_SECONDS && at + 8 + static_cast<int64_t>(chunkSize) > size) {
                return WAV_TRUNCATED;
            }
            f.dataAt = at + 8;
            f.dataBytes = chunkSize;
            if (format != nullptr) *format = f;
            return seconds;
        }
        at += 8 + static_cast<int64_t>(chunkSize) + (chunkSize & 1);
    }
    return WAV_BAD_FORMAT;
}

bool WavReadable(const WavFormat& f) {
    const bool pcm =
        f.tag == WAVE_FORMAT_PCM && (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
    const bool real = f.tag == WAVE_FORMAT_IEEE_FLOAT && (f.bits == 32 || f.bits == 64);
    return (pcm || real) && f.blockAlign == f.channels * f.bits / 8;
}

std::unique_ptr<SoundSource> OpenWavSource(const SoundBytes& bytes, const WavFormat& format,
                                           std::string* why) {
    if (!WavReadable(format)) {
        char text[64];
        std::snprintf(text, sizeof text, "WAV encoding 0x%04X of %u bits", format.tag, format.bits);
        *why = text;
        return nullptr;
    }
    return std::make_unique<WavSource>(bytes, format);
}

double WavHeaderSeconds(const uint8_t* data, size_t size) {
    return ReadWavFormat(*SoundBytes::FromMemory(data, size), nullptr);
}

void FoldChannels(const int16_t* in, int channels, int frames, int16_t* out) {
    for (int f = 0; f < frames; ++f) {
        int32_t sum[2] = {0, 0};
        for (int c = 0; c < channels; ++c) sum[c & 1] += in[size_t(f) * channels + c];
        out[2 * f] = static_cast<int16_t>(sum[0] / ((channels + 1) / 2));
        out[2 * f + 1] = static_cast<int16_t>(sum[1] / (channels / 2));
    }
}

}  // namespace plat::common
