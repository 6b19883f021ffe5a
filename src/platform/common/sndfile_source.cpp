// Sound files our own readers do not take (FLAC, coded WAV...), through libsndfile: only in
// builds that have it, and never for the game's own files.
#include <sndfile.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/common/sound_source.h"

namespace plat::common {
namespace {

// Where libsndfile reads: each source has its own place in the shared bytes.
struct Io {
    const SoundBytes* bytes = nullptr;
    int64_t at = 0;

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
    static Io& Self(void* io) { return *static_cast<Io*>(io); }
};

class SndfileSource : public SoundSource {
public:
    explicit SndfileSource(const SoundBytes& bytes) { io_.bytes = &bytes; }
    ~SndfileSource() override {
        if (file_ != nullptr) sf_close(file_);
    }
    SndfileSource(const SndfileSource&) = delete;
    SndfileSource& operator=(const SndfileSource&) = delete;

    // Empty when it opens; otherwise why not.
    std::string Start() {
        SF_VIRTUAL_IO vio = {Io::Length, Io::Seek, Io::Read, Io::Write, Io::Tell};
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
        return "";
    }

    int Read(int16_t* out, int frames) override {
        if (fileChannels_ <= 2)
            return static_cast<int>(std::max<sf_count_t>(0, sf_readf_short(file_, out, frames)));
        raw_.resize(static_cast<size_t>(frames) * fileChannels_);
        const int got =
            static_cast<int>(std::max<sf_count_t>(0, sf_readf_short(file_, raw_.data(), frames)));
        FoldChannels(raw_.data(), fileChannels_, got, out);
        return got;
    }

    bool Rewind() override { return sf_seek(file_, 0, SEEK_SET) == 0; }

private:
    Io io_;
    SNDFILE* file_ = nullptr;
    int fileChannels_ = 1;
    std::vector<int16_t> raw_;
};

}  // namespace

std::unique_ptr<SoundSource> OpenSndfileSource(const SoundBytes& bytes, std::string* why) {
    auto source = std::make_unique<SndfileSource>(bytes);
    *why = source->Start();
    if (!why->empty()) return nullptr;
    return source;
}

}  // namespace plat::common
