// Sound files by content (WAV, Ogg, FLAC) through libsndfile, shared by the real and the
// headless backend: checked, measured, and made ready for the mixer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// libsndfile's and SDL's handles, kept out of the headers the game sees.
struct sf_private_tag;
struct _SDL_AudioStream;

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
class SoundStream;

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

    // Where libsndfile reads: each stream has its own place in the shared bytes.
    struct Io {
        const SoundBytes* bytes = nullptr;
        int64_t at = 0;
    };

private:
    friend class Sound;
    friend struct SoundLoader;
    SoundStream() = default;
    // Empty when it opens; otherwise why not.
    std::string Open(const SoundBytes* bytes, bool loop);
    int Read(int16_t* out, int frames);        // fills all `frames` unless the sound ends
    int ReadSource(int16_t* out, int frames);  // at the file's rate, wrapping round for a loop
    int ReadFile(int16_t* out, int frames);    // at the file's rate, folded to 1 or 2 channels

    Io io_;
    ::sf_private_tag* file_ = nullptr;
    ::_SDL_AudioStream* resampler_ = nullptr;
    int fileChannels_ = 1;
    int channels_ = 1;
    int rate_ = 0;
    int64_t frames_ = 0;  // as the file's header says, at its own rate; -1 when it does not
    bool loop_ = false;
    bool ended_ = false;
    bool flushed_ = false;
    std::vector<int16_t> raw_;
    std::vector<int16_t> feed_;
    std::vector<int16_t> block_;
    int blockAt_ = 0;
    int blockFrames_ = 0;
};

// Opens, checks and measures a sound file by content, refusing one that is no WAV, Ogg or FLAC
// file, one with a header no real sound has, and one longer than MAX_SOUND_SECONDS. With
// `samples` false only its length and validity are found, nothing is decoded. Prints one
// stderr line naming the file on failure.
std::unique_ptr<Sound> OpenSoundFile(const char* path, bool samples);
std::unique_ptr<Sound> OpenSoundBytes(const uint8_t* data, size_t size, const char* name,
                                      bool samples);

}  // namespace plat::common
