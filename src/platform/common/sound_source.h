// The decoders behind the sound loader, each reading one kind of file: WAV and Ogg Vorbis by our
// own code on every platform; anything else through libsndfile where a build has it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/common/sound_bytes.h"

namespace plat::common {

// The samples of one file at its own rate, folded to one or two channels.
class SoundSource {
public:
    virtual ~SoundSource() = default;
    int Channels() const { return channels_; }  // 1 or 2
    int Rate() const { return rate_; }
    int64_t Frames() const { return frames_; }  // at Rate(), as the file says; -1 when unknown
    // Up to `frames` frames into `out`, Channels() interleaved; fewer only at the end.
    virtual int Read(int16_t* out, int frames) = 0;
    // Back to the first frame; false when it cannot be read again.
    virtual bool Rewind() = 0;

protected:
    int channels_ = 1;
    int rate_ = 0;
    int64_t frames_ = -1;
};

// The layout of a WAV file, as its header gives it.
struct WavFormat {
    uint32_t tag = 0;  // 1 integer PCM, 3 floating point, anything else coded
    uint32_t channels = 0;
    uint32_t rate = 0;
    uint32_t bits = 0;
    uint32_t blockAlign = 0;
    int64_t dataAt = 0;
    int64_t dataBytes = 0;
};

// The chunk walk of a WAV header: the seconds its data lasts, or a WAV_ code of sound_file.h.
double ReadWavFormat(const SoundBytes& bytes, WavFormat* format);
// True for the encodings our own reader takes: 8 to 32-bit PCM, 32 and 64-bit floating point.
bool WavReadable(const WavFormat& format);

// Each returns null and says why in `why` when the bytes are not a sound it can read.
std::unique_ptr<SoundSource> OpenWavSource(const SoundBytes& bytes, const WavFormat& format,
                                           std::string* why);
// True when the first Ogg packet of the bytes is a Vorbis header.
bool IsOggVorbis(const SoundBytes& bytes);
// `decoderBytes`: the decoder's memory, as a first opening found it; 0 to find it out, and the
// length from the last page with it.
std::unique_ptr<SoundSource> OpenVorbisSource(const SoundBytes& bytes, int decoderBytes,
                                              std::string* why);
// What the decoder of an open Vorbis source needs: 0 for any other source.
int VorbisDecoderBytes(const SoundSource& source);
#if TINSELRUN_SNDFILE
std::unique_ptr<SoundSource> OpenSndfileSource(const SoundBytes& bytes, std::string* why);
#endif

// More than two channels fold into two: the even ones to the left, the odd to the right.
void FoldChannels(const int16_t* in, int channels, int frames, int16_t* out);

}  // namespace plat::common
