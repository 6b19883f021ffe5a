#include "platform/common/clock_feed.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/common/wav.h"

namespace plat::common {
namespace {

constexpr int FEED_FRAMES = 4096;  // the most a capture mixes in one go

}  // namespace

ClockFeed::~ClockFeed() {
    if (file_ != nullptr) std::fclose(file_);
}

int64_t ClockFeed::FrameAt(double ms) {
    return static_cast<int64_t>(ms * MIX_RATE / 1000.0);
}

bool ClockFeed::CaptureTo(const std::string& wavPath) {
    if (file_ != nullptr) std::fclose(file_);
    dataBytes_ = 0;
    error_.clear();
    file_ = std::fopen(wavPath.c_str(), "wb");
    if (file_ == nullptr) {
        error_ = std::strerror(errno);
        return false;
    }
    // The sizes are filled in when the capture ends.
    const std::vector<uint8_t> header = WavHeader(MIX_CHANNELS, MIX_RATE, 16, 0);
    if (std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
        Failed(std::strerror(errno));
    }
    return true;
}

void ClockFeed::RunDevice(int frames, Sink sink) {
    deviceFrames_ = frames;
    deviceSink_ = std::move(sink);
}

void ClockFeed::Mix(int frames) {
    buffer_.resize(static_cast<size_t>(frames) * MIX_CHANNELS);
    mixer_->Render(buffer_.data(), frames);
}

void ClockFeed::Failed(const std::string& why) {
    if (error_.empty()) error_ = why;
}

void ClockFeed::Write(int frames) {
    if (!error_.empty()) return;
    const uint64_t bytes = static_cast<uint64_t>(frames) * MIX_CHANNELS * 2;
    if (dataBytes_ + bytes > WAV_MAX_DATA_BYTES) {
        Failed("over 4 GiB of sound, more than a WAV file holds");
        return;
    }
    std::vector<uint8_t> out;
    out.reserve(bytes);
    for (int i = 0; i < frames * MIX_CHANNELS; ++i) PutLe16(out, static_cast<uint16_t>(buffer_[i]));
    if (std::fwrite(out.data(), 1, out.size(), file_) != out.size()) Failed(std::strerror(errno));
    dataBytes_ += bytes;
}

void ClockFeed::FeedCapture(double ms) {
    if (file_ == nullptr) return;
    for (int64_t left; (left = FrameAt(ms) - mixer_->Position()) > 0;) {
        const int frames = static_cast<int>(std::min<int64_t>(left, FEED_FRAMES));
        Mix(frames);
        Write(frames);
    }
}

void ClockFeed::FeedDevice(double ms) {
    if (deviceFrames_ <= 0) return;
    while (mixer_->Position() + deviceFrames_ <= FrameAt(ms)) {
        Mix(deviceFrames_);
        if (deviceSink_) deviceSink_(buffer_.data(), deviceFrames_);
    }
}

void ClockFeed::Finish() {
    if (file_ == nullptr) return;
    const std::vector<uint8_t> header =
        WavHeader(MIX_CHANNELS, MIX_RATE, 16, static_cast<uint32_t>(dataBytes_));
    if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0 ||
        std::fwrite(header.data(), 1, header.size(), file_) != header.size()) {
        Failed(std::strerror(errno));
    }
    if (std::fclose(file_) != 0) Failed(std::strerror(errno));
    file_ = nullptr;
}

}  // namespace plat::common
