#include "platform/common/sound_file.h"

#include <SDL.h>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/common/bytes.h"

namespace plat::common {

// Where a sound's bytes are: an open regular file, read in place as the sound plays, or bytes
// in memory (a pipe, a fuzzer's input).
class SoundBytes {
public:
    // Null when the file cannot be opened.
    static std::unique_ptr<SoundBytes> FromFile(const char* path) {
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) return nullptr;
        auto bytes = std::unique_ptr<SoundBytes>(new SoundBytes);
        struct stat info;
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
            bytes->fd_ = fd;
            bytes->size_ = info.st_size;
            return bytes;
        }
        // Anything else is read whole (a folder reads as empty), up to a size no sound has.
        uint8_t block[1 << 16];
        ssize_t got = 0;
        while (bytes->memory_.size() < MAX_PIPE_BYTES &&
               ((got = read(fd, block, sizeof block)) > 0 || (got < 0 && errno == EINTR))) {
            if (got > 0) bytes->memory_.insert(bytes->memory_.end(), block, block + got);
        }
        close(fd);
        bytes->size_ = static_cast<int64_t>(bytes->memory_.size());
        return bytes;
    }
    static std::unique_ptr<SoundBytes> FromMemory(const uint8_t* data, size_t size) {
        auto bytes = std::unique_ptr<SoundBytes>(new SoundBytes);
        bytes->memory_.assign(data, data + size);
        bytes->size_ = static_cast<int64_t>(size);
        return bytes;
    }
    ~SoundBytes() {
        if (fd_ >= 0) close(fd_);
    }

    int64_t Size() const { return size_; }

    // Bytes read, fewer only at the end of the file or on a read error.
    size_t ReadAt(int64_t at, void* out, size_t count) const {
        if (at < 0 || at >= size_) return 0;
        count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), size_ - at));
        if (fd_ < 0) {
            std::memcpy(out, memory_.data() + at, count);
            return count;
        }
        size_t done = 0;
        while (done < count) {
            const ssize_t got = pread(fd_, static_cast<uint8_t*>(out) + done, count - done,
                                      static_cast<off_t>(at + static_cast<int64_t>(done)));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
        return done;
    }

private:
    static constexpr size_t MAX_PIPE_BYTES = size_t(256) << 20;
    SoundBytes() = default;
    int fd_ = -1;
    int64_t size_ = 0;
    std::vector<uint8_t> memory_;
};

namespace {

// Frames a stream reads from its file at a time; also what a voice fetches in one go.
constexpr int BLOCK_FRAMES = 1024;
// A WAV file with more chunks than this before its data is no sound file.
constexpr int MAX_WAV_CHUNKS = 4096;

bool Tag(const uint8_t* p, const char* tag) {
    return p[0] == tag[0] && p[1] == tag[1] && p[2] == tag[2] && p[3] == tag[3];
}

// The chunk walk of a WAV header; `read(at, out, n)` is true when all n bytes are there.
template <class Read>
double WalkWav(const Read& read, int64_t size) {
    uint8_t head[24];
    if (size < 12 || !read(0, head, 12) || !Tag(head, "RIFF") || !Tag(head + 8, "WAVE")) {
        return WAV_NOT_A_WAV;
    }
    uint32_t byteRate = 0;
    int64_t at = 12;
    for (int chunks = 0; at + 8 <= size && chunks < MAX_WAV_CHUNKS; ++chunks) {
        if (!read(at, head, 8)) return WAV_BAD_FORMAT;
        const uint32_t chunkSize = Le32(head + 4);
        if (Tag(head, "fmt ")) {
            if (at + 24 > size || chunkSize < 16 || !read(at, head, 24)) return WAV_BAD_FORMAT;
            const uint32_t channels = Le16(head + 10);
            const uint32_t rate = Le32(head + 12);
            const uint32_t bits = Le16(head + 22);
            byteRate = Le32(head + 16);
            // Rates and layouts outside what any sound file uses make the converter run away.
            if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000 || bits == 0 ||
                bits > 64 || byteRate == 0 || byteRate > rate * channels * 8) {
                return WAV_BAD_FORMAT;
            }
        } else if (Tag(head, "data")) {
            if (byteRate == 0) return WAV_BAD_FORMAT;
            const double seconds = static_cast<double>(chunkSize) / byteRate;
            if (seconds <= MAX_SOUND_SECONDS && at + 8 + static_cast<int64_t>(chunkSize) > size) {
                return WAV_TRUNCATED;
            }
            return seconds;
        }
        at += 8 + static_cast<int64_t>(chunkSize) + (chunkSize & 1);
    }
    return WAV_BAD_FORMAT;
}

// libsndfile reads through these.
struct StreamIo {
    static sf_count_t Length(void* io) { return Self(io).bytes->Size(); }
    static sf_count_t Seek(sf_count_t offset, int whence, void* io) {
        auto& self = Self(io);
        const int64_t base = whence == SEEK_CUR   ? self.at
                             : whence == SEEK_END ? self.bytes->Size()
                                                  : 0;
        self.at = std::max<int64_t>(0, base + offset);
        return self.at;
    }
    static sf_count_t Read(void* out, sf_count_t count, void* io) {
        auto& self = Self(io);
        if (count <= 0) return 0;
        const size_t got = self.bytes->ReadAt(self.at, out, static_cast<size_t>(count));
        self.at += static_cast<int64_t>(got);
        return static_cast<sf_count_t>(got);
    }
    static sf_count_t Write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t Tell(void* io) { return Self(io).at; }
    static SoundStream::Io& Self(void* io) { return *static_cast<SoundStream::Io*>(io); }
};

}  // namespace

double WavHeaderSeconds(const uint8_t* data, size_t size) {
    const auto read = [&](int64_t at, uint8_t* out, size_t n) {
        if (at < 0 || static_cast<size_t>(at) + n > size) return false;
        std::memcpy(out, data + at, n);
        return true;
    };
    return WalkWav(read, static_cast<int64_t>(size));
}

// ---- SoundStream ----

SoundStream::~SoundStream() {
    if (file_ != nullptr) sf_close(file_);
    if (resampler_ != nullptr) SDL_FreeAudioStream(resampler_);
}

std::string SoundStream::Open(const SoundBytes* bytes, bool loop) {
    io_ = {bytes, 0};
    loop_ = loop;
    SF_VIRTUAL_IO vio = {StreamIo::Length, StreamIo::Seek, StreamIo::Read, StreamIo::Write,
                         StreamIo::Tell};
    SF_INFO info = {};
    file_ = sf_open_virtual(&vio, SFM_READ, &info, &io_);
    if (file_ == nullptr) return sf_strerror(nullptr);
    if (info.channels < 1 || info.channels > 8) {
        return std::to_string(info.channels) + " channels";
    }
    if (info.samplerate < 1000 || info.samplerate > 384000) {
        return "a rate of " + std::to_string(info.samplerate) + " Hz";
    }
    // Samples of floating-point files beyond full scale are clipped, not wrapped round.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    fileChannels_ = info.channels;
    channels_ = std::min(info.channels, 2);
    rate_ = info.samplerate;
    frames_ = info.frames >= 0 && info.frames < SF_COUNT_MAX ? info.frames : -1;
    if (rate_ != MIX_RATE) {
        resampler_ = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(channels_), rate_,
                                        AUDIO_S16SYS, static_cast<Uint8>(channels_), MIX_RATE);
        if (resampler_ == nullptr) return "no converter from " + std::to_string(rate_) + " Hz";
    }
    return "";
}

int SoundStream::ReadFile(int16_t* out, int frames) {
    if (fileChannels_ <= 2)
        return static_cast<int>(std::max<sf_count_t>(0, sf_readf_short(file_, out, frames)));
    raw_.resize(static_cast<size_t>(frames) * fileChannels_);
    const int got =
        static_cast<int>(std::max<sf_count_t>(0, sf_readf_short(file_, raw_.data(), frames)));
    // More than two channels fold into two: the even ones to the left, the odd to the right.
    for (int f = 0; f < got; ++f) {
        int32_t sum[2] = {0, 0};
        for (int c = 0; c < fileChannels_; ++c) sum[c & 1] += raw_[size_t(f) * fileChannels_ + c];
        out[2 * f] = static_cast<int16_t>(sum[0] / ((fileChannels_ + 1) / 2));
        out[2 * f + 1] = static_cast<int16_t>(sum[1] / (fileChannels_ / 2));
    }
    return got;
}

int SoundStream::ReadSource(int16_t* out, int frames) {
    int got = ReadFile(out, frames);
    if (got == 0 && loop_ && sf_seek(file_, 0, SEEK_SET) == 0) got = ReadFile(out, frames);
    return got;
}

int SoundStream::Read(int16_t* out, int frames) {
    const int frameBytes = channels_ * 2;
    int done = 0;
    while (done < frames) {
        int16_t* at = out + static_cast<size_t>(done) * channels_;
        if (resampler_ == nullptr) {
            const int got = ReadSource(at, frames - done);
            if (got == 0) break;
            done += got;
            continue;
        }
        const int got = SDL_AudioStreamGet(resampler_, at, (frames - done) * frameBytes);
        if (got < 0) break;
        if (got > 0) {
            done += got / frameBytes;
            continue;
        }
        if (flushed_) break;
        // Fed a whole block at a time, only once all it gave is taken: the samples come out
        // the same however the mixer asks for them.
        feed_.resize(static_cast<size_t>(BLOCK_FRAMES) * channels_);
        const int fed = ReadSource(feed_.data(), BLOCK_FRAMES);
        if (fed == 0) {
            SDL_AudioStreamFlush(resampler_);
            flushed_ = true;
        } else if (SDL_AudioStreamPut(resampler_, feed_.data(), fed * frameBytes) != 0) {
            break;
        }
    }
    return done;
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
    if (!stream->Open(bytes_.get(), loop).empty()) return nullptr;
    return stream;
}

struct SoundLoader {
    static std::unique_ptr<Sound> Open(std::unique_ptr<SoundBytes> bytes, const char* name,
                                       bool samples) {
        const int64_t size = bytes->Size();
        if (size == 0) {
            std::fprintf(stderr, "tinselrun: %s: empty sound file\n", name);
            return nullptr;
        }
        uint8_t magic[4] = {};
        const bool hasMagic = bytes->ReadAt(0, magic, 4) == 4;
        const auto read = [&](int64_t at, uint8_t* out, size_t n) {
            return bytes->ReadAt(at, out, n) == n;
        };
        const double seconds = WalkWav(read, size);
        if (seconds == WAV_NOT_A_WAV && !(hasMagic && (Tag(magic, "OggS") || Tag(magic, "fLaC")))) {
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
        SoundStream reader;
        const std::string why = reader.Open(bytes.get(), false);
        if (!why.empty()) {
            std::fprintf(stderr, "tinselrun: %s: not a sound (%s)\n", name, why.c_str());
            return nullptr;
        }
        const double fileSeconds =
            reader.frames_ >= 0 ? static_cast<double>(reader.frames_) / reader.rate_ : -1.0;
        if (fileSeconds > MAX_SOUND_SECONDS) {
            std::fprintf(stderr, "tinselrun: %s: sound claims %.0f s, refused\n", name,
                         fileSeconds);
            return nullptr;
        }
        auto sound = std::unique_ptr<Sound>(new Sound);
        sound->channels_ = reader.channels_;
        sound->frames_ =
            fileSeconds >= 0 ? static_cast<int64_t>(std::ceil(fileSeconds * MIX_RATE)) : -1;
        if (!samples) return sound;
        if (fileSeconds < 0 || fileSeconds > STREAM_SECONDS) {
            sound->bytes_ = std::move(bytes);
            return sound;
        }
        // Never more than the header promised (and the converter's tail): a stream that
        // claims a second and holds an hour is cut at the second.
        const int64_t most = sound->frames_ + BLOCK_FRAMES;
        sound->samples_.resize(static_cast<size_t>(most) * sound->channels_);
        const int got = reader.Read(sound->samples_.data(), static_cast<int>(most));
        sound->samples_.resize(static_cast<size_t>(got) * sound->channels_);
        sound->samples_.shrink_to_fit();
        sound->frames_ = got;
        sound->decoded_ = true;
        return sound;
    }
};

std::unique_ptr<Sound> OpenSoundFile(const char* path, bool samples) {
    auto bytes = SoundBytes::FromFile(path);
    if (bytes == nullptr) {
        std::fprintf(stderr, "tinselrun: %s: cannot open sound\n", path);
        return nullptr;
    }
    return SoundLoader::Open(std::move(bytes), path, samples);
}

std::unique_ptr<Sound> OpenSoundBytes(const uint8_t* data, size_t size, const char* name,
                                      bool samples) {
    return SoundLoader::Open(SoundBytes::FromMemory(data, size), name, samples);
}

}  // namespace plat::common
