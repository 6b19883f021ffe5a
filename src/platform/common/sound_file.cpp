#include "platform/common/sound_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/common/resampler.h"
#include "platform/common/sound_bytes.h"
#include "platform/common/sound_source.h"

namespace plat::common {
namespace {

// Frames a stream reads from its file at a time; also what a voice fetches in one go.
constexpr int BLOCK_FRAMES = 1024;

bool HasMagic(const SoundBytes& bytes, const char* magic) {
    uint8_t head[4];
    return bytes.ReadAll(0, head, 4) && std::memcmp(head, magic, 4) == 0;
}

// Frames at MIX_RATE for `frames` at `rate`, as the resampler makes them.
int64_t AtMixRate(int64_t frames, int rate) {
    return rate == MIX_RATE ? frames : (frames * MIX_RATE + rate - 1) / rate;
}

// The reader for the bytes, as `info` says how to read them again.
std::unique_ptr<SoundSource> OpenSource(const SoundBytes& bytes, const SourceInfo& info,
                                        std::string* why) {
    switch (info.kind) {
        case SourceInfo::WAV: {
            WavFormat format;
            ReadWavFormat(bytes, &format);
            return OpenWavSource(bytes, format, why);
        }
        case SourceInfo::VORBIS: return OpenVorbisSource(bytes, info.decoderBytes, why);
        case SourceInfo::OTHER: break;
    }
#if TINSELRUN_SNDFILE
    return OpenSndfileSource(bytes, why);
#else
    *why = "not read by this build";
    return nullptr;
#endif
}

// Which reader the bytes need. The caller has checked that they are WAV, Ogg or FLAC.
SourceInfo::Kind KindOf(const SoundBytes& bytes) {
    WavFormat format;
    if (ReadWavFormat(bytes, &format) >= 0) {
        return WavReadable(format) ? SourceInfo::WAV : SourceInfo::OTHER;
    }
    return HasMagic(bytes, "OggS") && IsOggVorbis(bytes) ? SourceInfo::VORBIS : SourceInfo::OTHER;
}

#if !TINSELRUN_SNDFILE
// What a file our own readers do not take is, for a build without libsndfile to say so.
std::string Unsupported(const SoundBytes& bytes) {
    if (HasMagic(bytes, "fLaC")) return "FLAC";
    if (HasMagic(bytes, "OggS")) return "Ogg without Vorbis";
    WavFormat format;
    ReadWavFormat(bytes, &format);
    char text[64];
    std::snprintf(text, sizeof text, "WAV encoding 0x%04X of %u bits", format.tag, format.bits);
    return text;
}
#endif

}  // namespace

// ---- SoundStream ----

SoundStream::SoundStream() = default;
SoundStream::~SoundStream() = default;

std::string SoundStream::Open(const SoundBytes* bytes, const SourceInfo& info, bool loop) {
    std::string why;
    source_ = OpenSource(*bytes, info, &why);
    if (source_ == nullptr) return why;
    loop_ = loop;
    channels_ = source_->Channels();
    frames_ = info.frames >= 0 ? info.frames : source_->Frames();
    if (source_->Rate() != MIX_RATE) {
        resampler_ = std::make_unique<Resampler>(source_->Rate(), MIX_RATE, channels_);
    }
    return "";
}

int SoundStream::ReadSource(int16_t* out, int frames) {
    int done = 0;
    while (done < frames) {
        int want = frames - done;
        if (frames_ >= 0) want = static_cast<int>(std::min<int64_t>(want, frames_ - passAt_));
        const int got = want > 0 ? source_->Read(out + size_t(done) * channels_, want) : 0;
        if (got > 0) {
            done += got;
            passAt_ += got;
            continue;
        }
        // The end of one pass: a loop goes round without a gap, unless a pass held nothing.
        if (!loop_ || passAt_ == 0 || !source_->Rewind()) break;
        passAt_ = 0;
    }
    return done;
}

int SoundStream::Read(int16_t* out, int frames) {
    if (resampler_ == nullptr) return ReadSource(out, frames);
    return resampler_->Read(out, frames, [this](int16_t* to, int n) { return ReadSource(to, n); });
}

int SoundStream::Fetch(const int16_t** samples, int frames) {
    if (blockAt_ == blockFrames_) {
        if (ended_) return 0;
        block_.resize(static_cast<size_t>(BLOCK_FRAMES) * channels_);
        blockFrames_ = Read(block_.data(), BLOCK_FRAMES);
        blockAt_ = 0;
        ended_ = blockFrames_ < BLOCK_FRAMES;
        if (blockFrames_ == 0) return 0;
    }
    const int n = std::min(frames, blockFrames_ - blockAt_);
    *samples = block_.data() + static_cast<size_t>(blockAt_) * channels_;
    blockAt_ += n;
    return n;
}

// ---- Sound ----

Sound::~Sound() = default;

std::unique_ptr<Sound> Sound::FromSamples(std::vector<int16_t> samples, int channels) {
    auto sound = std::unique_ptr<Sound>(new Sound);
    sound->channels_ = channels == 2 ? 2 : 1;
    sound->frames_ = static_cast<int64_t>(samples.size()) / sound->channels_;
    sound->samples_ = std::move(samples);
    sound->decoded_ = true;
    return sound;
}

std::unique_ptr<SoundStream> Sound::OpenStream(bool loop) const {
    if (bytes_ == nullptr) return nullptr;
    auto stream = std::unique_ptr<SoundStream>(new SoundStream);
    if (!stream->Open(bytes_.get(), source_, loop).empty()) return nullptr;
    return stream;
}

struct SoundLoader {
    static std::unique_ptr<Sound> Open(std::unique_ptr<SoundBytes> bytes, const char* name,
                                       bool samples) {
        if (bytes->Size() == 0) {
            std::fprintf(stderr, "tinselrun: %s: empty sound file\n", name);
            return nullptr;
        }
        const double seconds = ReadWavFormat(*bytes, nullptr);
        if (seconds == WAV_NOT_A_WAV && !HasMagic(*bytes, "OggS") && !HasMagic(*bytes, "fLaC")) {
            std::fprintf(stderr, "tinselrun: %s: not a sound (WAV, OGG or FLAC)\n", name);
            return nullptr;
        }
        if (seconds == WAV_TRUNCATED) {
            std::fprintf(stderr, "tinselrun: %s: truncated WAV sound, refused\n", name);
            return nullptr;
        }
        if (seconds == WAV_BAD_FORMAT) {
            std::fprintf(stderr, "tinselrun: %s: WAV file with a bad format header, refused\n",
                         name);
            return nullptr;
        }
        if (seconds > MAX_SOUND_SECONDS) {
            std::fprintf(stderr, "tinselrun: %s: sound claims %.0f s, refused\n", name, seconds);
            return nullptr;
        }
        SourceInfo info;
        info.kind = KindOf(*bytes);
#if !TINSELRUN_SNDFILE
        if (info.kind == SourceInfo::OTHER) {
            std::fprintf(stderr, "tinselrun: %s: not a supported sound (%s)\n", name,
                         Unsupported(*bytes).c_str());
            return nullptr;
        }
#endif
        std::string why;
        std::unique_ptr<SoundSource> source = OpenSource(*bytes, info, &why);
        if (source == nullptr) {
            std::fprintf(stderr, "tinselrun: %s: not a sound (%s)\n", name, why.c_str());
            return nullptr;
        }
        info.frames = source->Frames();
        info.decoderBytes = VorbisDecoderBytes(*source);
        const double fileSeconds =
            info.frames >= 0 ? static_cast<double>(info.frames) / source->Rate() : -1.0;
        if (fileSeconds > MAX_SOUND_SECONDS) {
            std::fprintf(stderr, "tinselrun: %s: sound claims %.0f s, refused\n", name,
                         fileSeconds);
            return nullptr;
        }
        auto sound = std::unique_ptr<Sound>(new Sound);
        sound->channels_ = source->Channels();
        sound->frames_ = info.frames >= 0 ? AtMixRate(info.frames, source->Rate()) : -1;
        sound->source_ = info;
        if (!samples) return sound;
        if (fileSeconds < 0 || fileSeconds > STREAM_SECONDS) {
            sound->bytes_ = std::move(bytes);
            return sound;
        }
        // Never more than the header promised: a stream that claims a second and holds an
        // hour is cut at the second.
        SoundStream reader;
        why = reader.Open(bytes.get(), info, false);
        if (!why.empty()) {
            std::fprintf(stderr, "tinselrun: %s: not a sound (%s)\n", name, why.c_str());
            return nullptr;
        }
        sound->samples_.resize(static_cast<size_t>(sound->frames_) * sound->channels_);
        const int got = reader.Read(sound->samples_.data(), static_cast<int>(sound->frames_));
        sound->samples_.resize(static_cast<size_t>(got) * sound->channels_);
        sound->samples_.shrink_to_fit();
        sound->frames_ = got;
        sound->decoded_ = true;
        return sound;
    }
};

std::unique_ptr<Sound> OpenSoundFile(const char* path, bool samples) {
    std::string why;
    auto bytes = SoundBytes::FromFile(path, &why);
    if (bytes == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: cannot open sound: %s\n", path, why.c_str());
        return nullptr;
    }
    return SoundLoader::Open(std::move(bytes), path, samples);
}

std::unique_ptr<Sound> OpenSoundBytes(const uint8_t* data, size_t size, const char* name,
                                      bool samples) {
    return SoundLoader::Open(SoundBytes::FromMemory(data, size), name, samples);
}

}  // namespace plat::common
