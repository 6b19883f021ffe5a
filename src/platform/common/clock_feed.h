// The mixer fed from a stepped clock, as the runner feeds it: every sound call takes effect at the
// frame its clock time falls in, and the samples up to the clock are mixed as the clock moves,
// into a WAV file (the runner's --audio) or a device's whole buffers. Every backend whose clock a
// program steps (the runner's, the page's traced replay) feeds it alike, so all give the same
// samples.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/common/mixer.h"

namespace plat::common {

class ClockFeed {
public:
    using Sink = std::function<void(const int16_t*, int frames)>;

    explicit ClockFeed(Mixer* mixer) : mixer_(mixer) {}
    ~ClockFeed();
    ClockFeed(const ClockFeed&) = delete;
    ClockFeed& operator=(const ClockFeed&) = delete;

    // The frame of the time line that is due once the clock has passed `ms`.
    static int64_t FrameAt(double ms);

    // Mixes every later sound call into a 44.1 kHz stereo 16-bit WAV file, written as the clock
    // moves (FeedCapture) and finished by Finish. False when the file cannot be made (Error says
    // why).
    bool CaptureTo(const std::string& wavPath);
    // Whole buffers of `frames` frames go to `sink` as the clock passes their end; 0 turns it off.
    void RunDevice(int frames, Sink sink);
    // Something takes the mix: without it, sound calls are dropped and sounds need no samples.
    bool Mixing() const { return file_ != nullptr || deviceFrames_ > 0; }
    bool Capturing() const { return file_ != nullptr; }

    // Mixes the capture up to the clock's time.
    void FeedCapture(double ms);
    // Hands the device every whole buffer that has ended by the clock's time.
    void FeedDevice(double ms);
    // Writes the capture's header with the sizes now known, and closes the file.
    void Finish();
    // The first failure to write the capture, or empty.
    const std::string& Error() const { return error_; }

private:
    void Mix(int frames);
    void Write(int frames);
    void Failed(const std::string& why);

    Mixer* mixer_;
    std::vector<int16_t> buffer_;
    std::FILE* file_ = nullptr;
    uint64_t dataBytes_ = 0;
    std::string error_;
    int deviceFrames_ = 0;
    Sink deviceSink_;
};

}  // namespace plat::common
