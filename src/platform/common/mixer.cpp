#include "platform/common/mixer.h"

#include <algorithm>
#include <cstring>

#include "platform/common/limiter.h"

namespace plat::common {
namespace {

constexpr int RUN_FRAMES = 1024;                 // the most frames summed in one go
constexpr float SAMPLE_SCALE = 1.0f / 32768.0f;  // a power of two: sums of samples stay exact

}  // namespace

Mixer::Mixer() : sum_(static_cast<size_t>(RUN_FRAMES) * MIX_CHANNELS) {}
Mixer::~Mixer() = default;

void Mixer::Reset(int slots) {
    voices_.clear();
    changes_.clear();
    slots_.clear();
    slots_.resize(static_cast<size_t>(std::max(slots, 0)));
    position_ = 0;
    volume_ = 1.0f;
    muted_ = false;
    paused_ = false;
}

void Mixer::SetSound(int slot, std::unique_ptr<Sound> sound) {
    if (!InTable(slot)) return;
    TakeSound(slot);
    slots_[slot] = std::move(sound);
}

std::unique_ptr<Sound> Mixer::TakeSound(int slot) {
    if (!InTable(slot)) return nullptr;
    std::erase_if(voices_, [slot](const Voice& v) { return v.slot == slot; });
    std::erase_if(changes_,
                  [slot](const Change& c) { return c.kind == Change::PLAY && c.slot == slot; });
    return std::move(slots_[slot]);
}

void Mixer::Queue(Change change) {
    change.at = std::max(change.at, position_);
    if (!changes_.empty()) change.at = std::max(change.at, changes_.back().at);
    changes_.push_back(std::move(change));
}

bool Mixer::Play(int slot, bool loop, int64_t at) {
    const Sound* sound = SoundIn(slot);
    if (sound == nullptr || !sound->Playable()) return false;
    Change change(Change::PLAY, at, slot, loop);
    if (sound->Streamed() && (change.stream = sound->OpenStream(loop)) == nullptr) return false;
    Queue(std::move(change));
    return true;
}

void Mixer::Stop(int slot, int64_t at) {
    if (InTable(slot)) Queue(Change(Change::STOP, at, slot));
}

void Mixer::StopAll(int64_t at) {
    Queue(Change(Change::STOP_ALL, at));
}

void Mixer::SetPaused(bool paused, int64_t at) {
    Queue(Change(Change::PAUSE, at, -1, paused));
}

void Mixer::SetVolume(float volume, int64_t at) {
    Change change(Change::VOLUME, at);
    change.volume = volume >= 0.0f ? std::min(volume, 1.0f) : 0.0f;  // NaN is silence too
    Queue(std::move(change));
}

void Mixer::SetMuted(bool muted, int64_t at) {
    Queue(Change(Change::MUTE, at, -1, muted));
}

void Mixer::Apply(Change& change) {
    switch (change.kind) {
        case Change::PLAY:
            voices_.emplace_back(change.slot, change.flag, slots_[change.slot].get(),
                                 std::move(change.stream));
            break;
        case Change::STOP: {
            const int slot = change.slot;
            std::erase_if(voices_, [slot](const Voice& v) { return v.slot == slot; });
            break;
        }
        case Change::STOP_ALL: voices_.clear(); break;
        case Change::PAUSE: paused_ = change.flag; break;
        case Change::VOLUME: volume_ = change.volume; break;
        case Change::MUTE: muted_ = change.flag; break;
    }
}

void Mixer::Render(int16_t* out, int frames) {
    int done = 0;
    while (done < frames) {
        while (!changes_.empty() && changes_.front().at <= position_) {
            Apply(changes_.front());
            changes_.pop_front();
        }
        int64_t run = std::min(frames - done, RUN_FRAMES);
        if (!changes_.empty()) run = std::min(run, changes_.front().at - position_);
        Mix(out + static_cast<size_t>(done) * MIX_CHANNELS, static_cast<int>(run));
        position_ += run;
        done += static_cast<int>(run);
    }
}

void Mixer::Mix(int16_t* out, int frames) {
    const size_t samples = static_cast<size_t>(frames) * MIX_CHANNELS;
    if (paused_) {
        std::memset(out, 0, samples * sizeof *out);
        return;
    }
    float* sum = sum_.data();
    std::fill(sum, sum + samples, 0.0f);
    for (Voice& voice : voices_) AddVoice(voice, sum, frames);
    std::erase_if(voices_, [](const Voice& v) { return v.ended; });
    const float gain = muted_ ? 0.0f : volume_;
    for (size_t i = 0; i < samples; ++i) out[i] = ToPcm16(Limit(sum[i] * gain));
}

void Mixer::AddVoice(Voice& voice, float* sum, int frames) {
    const Sound& sound = *voice.sound;
    const int channels = voice.stream ? voice.stream->Channels() : sound.Channels();
    int done = 0;
    while (done < frames && !voice.ended) {
        const int16_t* samples = nullptr;
        int got = 0;
        if (voice.stream) {
            got = voice.stream->Fetch(&samples, frames - done);
            voice.ended = got == 0 || voice.stream->Done();
        } else {
            if (voice.at >= sound.Frames() && voice.loop) voice.at = 0;
            got = static_cast<int>(std::min<int64_t>(frames - done, sound.Frames() - voice.at));
            got = std::max(got, 0);
            samples = sound.Samples() + voice.at * channels;
            voice.at += got;
            voice.ended = got == 0 || (voice.at >= sound.Frames() && !voice.loop);
        }
        float* to = sum + static_cast<size_t>(done) * MIX_CHANNELS;
        if (channels == 2) {
            for (int i = 0; i < 2 * got; ++i)
                to[i] += static_cast<float>(samples[i]) * SAMPLE_SCALE;
        } else {
            for (int i = 0; i < got; ++i) {
                const float s = static_cast<float>(samples[i]) * SAMPLE_SCALE;
                to[2 * i] += s;
                to[2 * i + 1] += s;
            }
        }
        done += got;
    }
}

void MixerCallback(void* mixer, uint8_t* stream, int bytes) {
    static_cast<Mixer*>(mixer)->Render(reinterpret_cast<int16_t*>(stream),
                                       bytes / static_cast<int>(MIX_CHANNELS * sizeof(int16_t)));
}

}  // namespace plat::common
