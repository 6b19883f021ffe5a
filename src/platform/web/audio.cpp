// The page's sound: the common mixer, pulled by a ScriptProcessorNode of a 44.1 kHz AudioContext
// that the first key, click or touch makes (browsers let sound start only then), suspended while
// the game is paused. A traced replay that asks for the runner's capture feeds the same mixer
// from its stepped clock instead, as the runner does, and gives the runner's samples.
#include "platform/audio.h"

#include <emscripten.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/common/clock_feed.h"
#include "platform/common/mixer.h"
#include "platform/common/sound_file.h"
#include "platform/web/backend.h"
#include "platform/web/web.h"

namespace plat {
namespace {

// 46 ms a buffer, two of them in flight: the main thread has a whole buffer's time to answer.
constexpr int NODE_FRAMES = 2048;

enum class Feed {
    NONE,   // a traced replay without a capture: nothing is mixed, sound calls are dropped
    CLOCK,  // a traced replay's capture: mixed up to the stepped clock, as the runner mixes
    NODE,   // play: pulled by the Web Audio node from the first gesture on
};

bool g_open = false;
common::Mixer g_mixer;
common::ClockFeed g_clockFeed(&g_mixer);
bool g_paused = false;
bool g_context = false;      // the AudioContext and its node are made
bool g_noSound = false;      // this browser could not make them: the game plays on silently
double g_pulledAtMs = -1.0;  // the clock's time at the node's last pull; -1 before the first
std::vector<int16_t> g_mixed;
std::vector<float> g_planes;  // what the node takes: the left channel's samples, then the right's

Feed FeedNow() {
    if (g_clockFeed.Capturing()) return Feed::CLOCK;
    if (web::SteppedClock() || g_noSound) return Feed::NONE;
    return Feed::NODE;
}

bool Mixing() {
    return g_open && FeedNow() != Feed::NONE;
}

// A sound call takes effect at the clock's frame when the clock feeds. For the node, the calls
// made between two of its pulls land in the next buffer as far in as they came after the last
// pull, so that they keep their spacing (a frame's catch-up ticks aside) rather than all starting
// together at the buffer's first frame.
int64_t When() {
    if (FeedNow() == Feed::CLOCK) return common::ClockFeed::FrameAt(ClockMs());
    if (g_pulledAtMs < 0) return g_mixer.Position();
    const int64_t since = common::ClockFeed::FrameAt(ClockMs() - g_pulledAtMs);
    return g_mixer.Position() + std::clamp<int64_t>(since, 0, NODE_FRAMES - 1);
}

// clang-format off
// Makes the context and its node, or says in one console line why there is no sound.
EM_JS(int, MakeAudioNode, (int frames, int rate), {
    var Context = window.AudioContext || window.webkitAudioContext;
    try {
        if (!Context) throw new Error('this browser has no Web Audio');
        var context = new Context({sampleRate: rate, latencyHint: 'interactive'});
        if (context.sampleRate !== rate) {
            context.close();
            throw new Error('this browser cannot play ' + rate + ' Hz');
        }
        var node = context.createScriptProcessor(frames, 0, 2);
        var stats = window.tinselrunStats && window.tinselrunStats.audio;
        var gridStart = Infinity;  // the frame of the first buffer's event, as early as seen
        var behind = 0;
        node.onaudioprocess = function(event) {
            var out = event.outputBuffer;
            var n = out.length;
            var at = _tinselrun_audio_pull(n) >> 2;
            out.getChannelData(0).set(HEAPF32.subarray(at, at + n));
            out.getChannelData(1).set(HEAPF32.subarray(at + n, at + 2 * n));
            if (!stats) return;
            // Each buffer's event is due one buffer after the last: one handled a whole buffer
            // late, or never fired, left the node playing what it was not given.
            var now = Math.round(context.currentTime * context.sampleRate) - stats.buffers * n;
            gridStart = Math.min(gridStart, now);
            var late = Math.floor((now - gridStart) / n);
            if (late > behind) stats.underruns += late - behind;
            behind = late;
            stats.buffers++;
            stats.frames += n;
        };
        node.connect(context.destination);
        Module.tinselrunAudio = {context: context, node: node};
        return 1;
    } catch (e) {
        console.warn('tinselrun: no sound: ' + e.message);
        return 0;
    }
});
EM_JS(void, RunAudioNode, (int run), {
    var audio = Module.tinselrunAudio;
    if (!audio) return;
    var change = run ? audio.context.resume() : audio.context.suspend();
    if (change) change.catch(function() {});
});
// The calls that reached the mixer, for the page's tests.
EM_JS(void, NoteSoundCall, (const char* call, int slot), {
    var stats = window.tinselrunStats;
    if (stats && stats.sounds && stats.sounds.length < 100000) {
        stats.sounds.push(UTF8ToString(call) + ' ' + slot);
    }
});
// clang-format on

void Note(const char* call, int slot) {
    if (FeedNow() == Feed::NODE) NoteSoundCall(call, slot);
}

// The node's buffer: the next `frames` frames of the mix, as two planes of floats.
float* Pull(int frames) {
    g_pulledAtMs = ClockMs();
    g_mixed.resize(static_cast<size_t>(frames) * common::MIX_CHANNELS);
    g_planes.resize(g_mixed.size());
    g_mixer.Render(g_mixed.data(), frames);
    for (int i = 0; i < frames; ++i) {
        g_planes[i] = static_cast<float>(g_mixed[2 * i]) / 32768.0f;
        g_planes[frames + i] = static_cast<float>(g_mixed[2 * i + 1]) / 32768.0f;
    }
    return g_planes.data();
}

}  // namespace

bool OpenAudio(int slots) {
    g_mixer.Reset(slots);
    g_open = true;
    if (g_context && !g_paused) RunAudioNode(1);
    return true;
}

void CloseAudio() {
    if (g_open && FeedNow() == Feed::CLOCK) g_clockFeed.FeedCapture(ClockMs());
    g_clockFeed.Finish();
    if (g_context) RunAudioNode(0);
    g_open = false;
    g_mixer.Reset(0);
}

bool LoadSlot(int slot, const char* path) {
    if (!g_open || !g_mixer.InTable(slot)) return false;
    // Without anything to mix into, the file is checked and measured, not decoded.
    std::unique_ptr<common::Sound> sound = common::OpenSoundFile(path, Mixing());
    const bool loaded = sound != nullptr;
    g_mixer.SetSound(slot, std::move(sound));
    return loaded;
}

void UnloadSlot(int slot) {
    if (!g_mixer.InTable(slot)) return;
    // The slot's voices stop at the clock's time when the clock feeds; at once otherwise.
    if (g_open && FeedNow() == Feed::CLOCK) g_clockFeed.FeedCapture(ClockMs());
    if (Mixing()) Note("UnloadSound", slot);
    g_mixer.TakeSound(slot);
}

void PlaySlot(int slot, bool loop) {
    if (Mixing() && g_mixer.Play(slot, loop, When())) {
        Note(loop ? "PlaySoundLoop" : "PlaySound", slot);
    }
}

void StopSlot(int slot) {
    if (!Mixing()) return;
    g_mixer.Stop(slot, When());
    Note("StopSound", slot);
}

void StopAllSlots() {
    if (!Mixing()) return;
    g_mixer.StopAll(When());
    Note("StopAllSounds", -1);
}

void SetMasterVolume(float volume) {
    if (Mixing()) g_mixer.SetVolume(volume, When());
}

void SetMuted(bool muted) {
    if (Mixing()) g_mixer.SetMuted(muted, When());
}

void SetPaused(bool paused) {
    g_paused = paused;
    if (!Mixing()) return;
    // From the next buffer on: the context's suspension holds what the node already has.
    g_mixer.SetPaused(paused, FeedNow() == Feed::CLOCK ? When() : g_mixer.Position());
    if (!paused) g_pulledAtMs = -1.0;
    // A suspended context takes nothing from the node: the voices wait where they are.
    if (g_context) RunAudioNode(paused ? 0 : 1);
}

namespace web {

void GestureSeen() {
    if (g_noSound || SteppedClock()) return;
    if (!g_context) {
        g_context = MakeAudioNode(NODE_FRAMES, common::MIX_RATE) != 0;
        g_noSound = !g_context;
        // Nothing will ever take what start-up queued for the node: it goes, sounds and all.
        if (g_noSound) g_mixer.Reset(0);
    }
    if (g_context && g_open && !g_paused) RunAudioNode(1);
}

bool CaptureAudioTo(const std::string& wavPath) {
    return g_clockFeed.CaptureTo(wavPath);
}

bool FeedAudio() {
    if (g_open && FeedNow() == Feed::CLOCK) g_clockFeed.FeedCapture(ClockMs());
    return g_clockFeed.Error().empty();
}

std::string AudioCaptureError() {
    return g_clockFeed.Error();
}

}  // namespace web
}  // namespace plat

extern "C" EMSCRIPTEN_KEEPALIVE float* tinselrun_audio_pull(int frames) {
    return plat::Pull(frames);
}
