// Sound files by content, shared by every backend: checked, measured, and made ready for the
// mixer. WAV and Ogg Vorbis are read by our own code (stb_vorbis for Vorbis) on every platform,
// so every platform hears the same samples; other files (FLAC...) only through libsndfile, in
// builds that have it. No SDL here: the page's build has none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat::common {

constexpr int MIX_RATE = 44100;
constexpr double MAX_SOUND_SECONDS = 600.0;
// Longer sounds (the music) are read from their file in blocks while they play; shorter ones
// (the effects) are decoded once, so that any number of them can play without a decoder each.
constexpr double STREAM_SECONDS = 5.0;

// Seconds that a WAV header claims its data lasts; WAV_NOT_A_WAV for bytes that are no WAV
// file, WAV_BAD_FORMAT for one whose format header no real sound has, WAV_TRUNCATED for one cut
// short.
constexpr double WAV_NOT_A_WAV = -1.0;
constexpr double WAV_BAD_FORMAT = -2.0;
constexpr double WAV_TRUNCATED = -3.0;  // the data chunk runs past the end of the file
double WavHeaderSeconds(const uint8_t* data, size_t size);

class SoundBytes;
class SoundSource;
class SoundStream;
class Resampler;

// How a sound's file is read again for each stream.
struct SourceInfo {
    enum Kind { WAV, VORBIS, OTHER } kind = WAV;
    int64_t frames = -1;   // at the file's rate; -1 when the file does not say
    int decoderBytes = 0;  // VORBIS: what its decoder allocates
};

// One loaded sound, unchanged once loaded: 1 or 2 channels of 16-bit samples at MIX_RATE,
// either decoded whole or streamed from its file; a checked-only sound has no samples at all.
class Sound {
public:
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Decoded samples, interleaved; for tests and for sounds made in code.
    static std::unique_ptr<Sound> FromSamples(std::vector<int16_t> samples, int channels);

    int Channels() const { return channels_; }
    int64_t Frames() const { return frames_; }  // at MIX_RATE; from the header when not decoded
    bool Streamed() const { return bytes_ != nullptr; }
    bool Playable() const { return Streamed() || decoded_; }
    const int16_t* Samples() const { return samples_.data(); }  // when decoded

    // A reader from the start of a streamed sound; looping ones wrap round without a gap.
    std::unique_ptr<SoundStream> OpenStream(bool loop) const;

private:
    friend struct SoundLoader;
    Sound() = default;

    int channels_ = 1;
    int64_t frames_ = 0;
    bool decoded_ = false;
    std::vector<int16_t> samples_;
    std::unique_ptr<SoundBytes> bytes_;
    SourceInfo source_;
};

// Reads a streamed sound in blocks: 1 or 2 channels at MIX_RATE, whatever the file holds.
class SoundStream {
public:
    ~SoundStream();
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    // Points at the next frames, at most `frames` of them; 0 once a sound that does not loop
    // has ended.
    int Fetch(const int16_t** samples, int frames);
    bool Done() const { return ended_ && blockAt_ == blockFrames_; }  // all fetched, no more
    int Channels() const { return channels_; }

private:
    friend class Sound;
    friend struct SoundLoader;
    SoundStream();
    // Empty when it opens; otherwise why not.
    std::string Open(const SoundBytes* bytes, const SourceInfo& info, bool loop);
    int Read(int16_t* out, int frames);        // fills all `frames` unless the sound ends
    int ReadSource(int16_t* out, int frames);  // at the file's rate, wrapping round for a loop

    std::unique_ptr<SoundSource> source_;
    std::unique_ptr<Resampler> resampler_;  // when the file's rate is not MIX_RATE
    int channels_ = 1;
    int64_t frames_ = -1;  // of the file, at its own rate, that one pass plays; -1 to its end
    int64_t passAt_ = 0;   // frames of this pass read
    bool loop_ = false;
    bool ended_ = false;
    std::vector<int16_t> block_;
    int blockAt_ = 0;
    int blockFrames_ = 0;
};

// Opens, checks and measures a sound file by content, refusing one that is no WAV, Ogg or FLAC
// file, one this build cannot read, one with a header no real sound has, one cut short, and one
// longer than MAX_SOUND_SECONDS. With `samples` false only its length and validity are found,
// nothing is decoded. Prints one stderr line naming the file on failure.
std::unique_ptr<Sound> OpenSoundFile(const char* path, bool samples);
std::unique_ptr<Sound> OpenSoundBytes(const uint8_t* data, size_t size, const char* name,
                                      bool samples);

}  // namespace plat::common
