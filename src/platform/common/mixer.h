// The one mixer of both backends: the slot table, every playing voice, a master volume, mute
// and pause, summed in floating point and put through one soft limiter. The real game feeds it
// from SDL's audio callback, the runner from its tick clock; it holds no lock of its own.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/common/sound_file.h"

namespace plat::common {

constexpr int MIX_CHANNELS = 2;  // what the mixer writes: interleaved stereo 16-bit samples

class Mixer {
public:
    Mixer();
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Empties every slot and stops everything; the time line starts again at frame 0.
    void Reset(int slots);
    int Slots() const { return static_cast<int>(slots_.size()); }
    bool InTable(int slot) const { return slot >= 0 && slot < Slots(); }
    void SetSound(int slot, std::unique_ptr<Sound> sound);
    const Sound* SoundIn(int slot) const { return InTable(slot) ? slots_[slot].get() : nullptr; }
    // Takes a sound out of its slot, after its voices and its plays still waiting are gone.
    std::unique_ptr<Sound> TakeSound(int slot);

    // Each change takes effect at frame `at` of the time line, or at the next frame mixed when
    // that is already past. Every play is a voice of its own, however many are playing; a play
    // of a slot that holds nothing playable is refused (false).
    bool Play(int slot, bool loop, int64_t at);
    void Stop(int slot, int64_t at);
    void StopAll(int64_t at);
    void SetPaused(bool paused, int64_t at);  // voices hold their place; the mix is silent
    void SetVolume(float volume, int64_t at);
    void SetMuted(bool muted, int64_t at);  // voices play on, unheard

    // Mixes the next `frames` frames of the time line.
    void Render(int16_t* out, int frames);
    int64_t Position() const { return position_; }  // frames mixed so far
    size_t Voices() const { return voices_.size(); }

private:
    struct Voice {
        Voice(int ofSlot, bool looped, const Sound* source, std::unique_ptr<SoundStream> reader)
            : slot(ofSlot), loop(looped), sound(source), stream(std::move(reader)) {}
        int slot;
        bool loop;
        const Sound* sound;
        std::unique_ptr<SoundStream> stream;  // a streamed sound's reader
        int64_t at = 0;                       // next frame of a decoded sound
        bool ended = false;
    };
    struct Change {
        enum Kind { PLAY, STOP, STOP_ALL, PAUSE, VOLUME, MUTE };
        Change(Kind what, int64_t when, int onSlot = -1, bool on = false)
            : kind(what), at(when), slot(onSlot), flag(on) {}
        Kind kind;
        int64_t at;
        int slot;
        bool flag;  // PLAY: loop; PAUSE, MUTE: on
        float volume = 1.0f;
        std::unique_ptr<SoundStream> stream;  // PLAY of a streamed sound, opened at the call
    };
    void Queue(Change change);
    void Apply(Change& change);
    void Mix(int16_t* out, int frames);
    void AddVoice(Voice& voice, float* mix, int frames);

    std::vector<std::unique_ptr<Sound>> slots_;
    std::vector<Voice> voices_;
    std::deque<Change> changes_;  // in order of their frames
    std::vector<float> sum_;
    int64_t position_ = 0;
    float volume_ = 1.0f;
    bool muted_ = false;
    bool paused_ = false;
};

// SDL's audio callback over a Mixer (userdata): stereo 16-bit samples in native order.
void MixerCallback(void* mixer, uint8_t* stream, int bytes);

}  // namespace plat::common
