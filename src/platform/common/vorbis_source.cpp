// Ogg Vorbis read by stb_vorbis on every platform, fed from the file in blocks as it plays
// (its push API): nothing is decoded ahead, and each stream holds only its decoder.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/bytes.h"
#include "platform/common/limiter.h"
#include "platform/common/sound_source.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace plat::common {
namespace {

// The most a file's headers, or one packet, may take: real ones take a few KB.
constexpr size_t MAX_PACKET_BYTES = size_t(1) << 20;
// What the decoder may allocate when a file is first opened; real files need a few hundred KB.
constexpr int MAX_DECODER_BYTES = 4 << 20;
// Bytes read from the file at a time.
constexpr size_t FEED_BYTES = 32 << 10;
// An Ogg page: a 27-byte header, up to 255 lacing values, up to 255 x 255 bytes of body.
constexpr size_t PAGE_HEADER = 27;
constexpr size_t MAX_PAGE = PAGE_HEADER + 255 + 255 * 255;
constexpr uint8_t PAGE_LAST = 4;

uint32_t OggCrc(uint32_t crc, const uint8_t* data, size_t size) {
    static const auto table = [] {
        std::vector<uint32_t> t(256);
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n << 24;
            for (int k = 0; k < 8; ++k) c = (c & 0x80000000u) ? (c << 1) ^ 0x04C11DB7u : c << 1;
            t[n] = c;
        }
        return t;
    }();
    for (size_t i = 0; i < size; ++i) crc = (crc << 8) ^ table[((crc >> 24) ^ data[i]) & 0xFF];
    return crc;
}

// The stream's length in frames from its last page, which must end the file, close the stream
// and be whole: a file cut short has none. -1 when there is no such page.
int64_t LengthFromLastPage(const SoundBytes& bytes) {
    const int64_t size = bytes.Size();
    const size_t tail = static_cast<size_t>(std::min<int64_t>(size, MAX_PAGE));
    if (tail < PAGE_HEADER) return -1;
    std::vector<uint8_t> end(tail);
    if (!bytes.ReadAll(size - static_cast<int64_t>(tail), end.data(), tail)) return -1;
    uint8_t first[18];
    if (!bytes.ReadAll(0, first, sizeof first)) return -1;
    for (size_t back = PAGE_HEADER; back <= tail; ++back) {
        const size_t at = tail - back;
        const uint8_t* page = end.data() + at;
        if (std::memcmp(page, "OggS", 4) != 0 || page[4] != 0) continue;
        const size_t segments = page[26];
        if (at + PAGE_HEADER + segments > tail) continue;
        size_t length = PAGE_HEADER + segments;
        for (size_t i = 0; i < segments; ++i) length += page[PAGE_HEADER + i];
        if (at + length != tail) continue;
        // The checksum is of the page with its own field as zeros.
        const uint8_t zeros[4] = {};
        uint32_t crc = OggCrc(OggCrc(OggCrc(0, page, 22), zeros, 4), page + 26, length - 26);
        if (crc != Le32(page + 22)) continue;
        // One stream from the first page to the last: no chained or interleaved streams.
        if (!(page[5] & PAGE_LAST) || std::memcmp(page + 14, first + 14, 4) != 0) return -1;
        const uint64_t granule = uint64_t(Le32(page + 6)) | (uint64_t(Le32(page + 10)) << 32);
        return granule > uint64_t(INT64_MAX) ? -1 : static_cast<int64_t>(granule);
    }
    return -1;
}

// The comment header, read before stb_vorbis reads it: a length in it that runs past its end
// or a count of comments no packet can hold makes stb_vorbis write before its buffer or read
// through a null list. True when every length fits.
bool CommentHeaderFits(const SoundBytes& bytes) {
    // The header is the packet that starts the second page, running on through the pages
    // after it while their segments are full.
    std::vector<uint8_t> packet;
    uint8_t page[PAGE_HEADER + 255];
    int64_t at = 0;
    for (int pages = 0; packet.size() <= MAX_PACKET_BYTES; ++pages) {
        if (!bytes.ReadAll(at, page, PAGE_HEADER) || std::memcmp(page, "OggS", 4) != 0) {
            return false;
        }
        const size_t segments = page[26];
        if (!bytes.ReadAll(at + int64_t(PAGE_HEADER), page + PAGE_HEADER, segments)) return false;
        int64_t body = at + int64_t(PAGE_HEADER + segments);
        at = body;
        for (size_t i = 0; i < segments; ++i) at += page[PAGE_HEADER + i];
        if (pages == 0) continue;
        bool ended = false;
        for (size_t i = 0; i < segments && !ended; ++i) {
            const size_t length = page[PAGE_HEADER + i];
            const size_t old = packet.size();
            packet.resize(old + length);
            if (!bytes.ReadAll(body, packet.data() + old, length)) return false;
            body += int64_t(length);
            ended = length < 255;
        }
        if (ended) break;
    }
    if (packet.size() > MAX_PACKET_BYTES) return false;
    // Type 3, "vorbis", the vendor's name, the count of comments, each a length and its text.
    size_t pos = 7;
    const auto fits = [&](uint64_t n) { return pos + n <= packet.size(); };
    if (!fits(4)) return false;
    const uint64_t vendor = Le32(packet.data() + pos);
    pos += 4;
    if (!fits(vendor + 4)) return false;
    pos += static_cast<size_t>(vendor);
    const uint64_t count = Le32(packet.data() + pos);
    pos += 4;
    if (count > (packet.size() - pos) / 4) return false;
    for (uint64_t i = 0; i < count; ++i) {
        const uint64_t length = Le32(packet.data() + pos);
        pos += 4;
        if (!fits(length)) return false;
        pos += static_cast<size_t>(length);
        if (i + 1 < count && !fits(4)) return false;
    }
    return true;
}

const char* VorbisError(int error) {
    switch (error) {
        case VORBIS_need_more_data: return "Ogg Vorbis headers cut short";
        case VORBIS_outofmem: return "Ogg Vorbis decoder over its memory";
        case VORBIS_feature_not_supported: return "Ogg Vorbis with floor 0";
        case VORBIS_too_many_channels: return "Ogg Vorbis with too many channels";
        case VORBIS_invalid_setup: return "bad Ogg Vorbis setup header";
        default: return "bad Ogg Vorbis headers";
    }
}

class VorbisSource : public SoundSource {
public:
    VorbisSource(const SoundBytes& bytes, int decoderBytes)
        : bytes_(bytes),
          arena_(new char[static_cast<size_t>(decoderBytes)]),
          arenaBytes_(decoderBytes) {}
    ~VorbisSource() override {
        if (vorbis_ != nullptr) stb_vorbis_close(vorbis_);
    }
    VorbisSource(const VorbisSource&) = delete;
    VorbisSource& operator=(const VorbisSource&) = delete;

    // Empty when the headers are read; otherwise why not.
    std::string Start() {
        if (vorbis_ != nullptr) stb_vorbis_close(vorbis_);
        vorbis_ = nullptr;
        at_ = 0;
        buffer_.clear();
        used_ = 0;
        pending_ = pendingAt_ = 0;
        ended_ = false;
        const stb_vorbis_alloc alloc = {arena_.get(), arenaBytes_};
        int error = VORBIS_need_more_data;
        // Headers of any size up to the limit: more of the file each time they are cut short.
        for (size_t want = 4096; vorbis_ == nullptr && error == VORBIS_need_more_data; want *= 4) {
            if (!Fill(std::min(want, MAX_PACKET_BYTES))) break;
            int consumed = 0;
            vorbis_ = stb_vorbis_open_pushdata(buffer_.data(), static_cast<int>(buffer_.size()),
                                               &consumed, &error, &alloc);
            if (vorbis_ != nullptr) used_ = static_cast<size_t>(consumed);
            if (want >= MAX_PACKET_BYTES) break;
        }
        if (vorbis_ == nullptr) return VorbisError(error);
        const stb_vorbis_info info = stb_vorbis_get_info(vorbis_);
        fileChannels_ = info.channels;
        if (fileChannels_ < 1 || fileChannels_ > 8) {
            return std::to_string(fileChannels_) + " channels";
        }
        if (info.sample_rate < 1000 || info.sample_rate > 384000) {
            return "a rate of " + std::to_string(info.sample_rate) + " Hz";
        }
        channels_ = std::min(fileChannels_, 2);
        rate_ = static_cast<int>(info.sample_rate);
        needed_ = static_cast<int>(info.setup_memory_required + info.setup_temp_memory_required +
                                   info.temp_memory_required);
        return "";
    }

    int Read(int16_t* out, int frames) override {
        int done = 0;
        while (done < frames) {
            if (pendingAt_ == pending_ && !Decode()) break;
            const int n = std::min(frames - done, pending_ - pendingAt_);
            for (int i = 0; i < n; ++i) {
                const int f = pendingAt_ + i;
                int16_t* to = out + static_cast<size_t>(done + i) * channels_;
                if (fileChannels_ <= 2) {
                    for (int c = 0; c < fileChannels_; ++c) to[c] = ToPcm16(output_[c][f]);
                    continue;
                }
                int16_t wide[8];
                for (int c = 0; c < fileChannels_; ++c) wide[c] = ToPcm16(output_[c][f]);
                FoldChannels(wide, fileChannels_, 1, to);
            }
            pendingAt_ += n;
            done += n;
        }
        return done;
    }

    bool Rewind() override { return Start().empty(); }

    int Needed() const { return needed_; }
    void SetFrames(int64_t frames) { frames_ = frames; }

private:
    // Reads the file on until at least `want` bytes wait unused; false when none at all do.
    bool Fill(size_t want) {
        if (used_ > 0 && used_ >= buffer_.size() / 2) {
            buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(used_));
            used_ = 0;
        }
        while (buffer_.size() - used_ < want && at_ < bytes_.Size()) {
            const size_t old = buffer_.size();
            buffer_.resize(old + FEED_BYTES);
            const size_t got = bytes_.ReadAt(at_, buffer_.data() + old, FEED_BYTES);
            buffer_.resize(old + got);
            at_ += static_cast<int64_t>(got);
            if (got == 0) break;
        }
        return buffer_.size() > used_;
    }

    // The next frame of samples into output_; false at the end of the stream.
    bool Decode() {
        if (ended_) return false;
        size_t want = FEED_BYTES;
        while (Fill(want)) {
            int channels = 0, samples = 0;
            float** output = nullptr;
            const int consumed = stb_vorbis_decode_frame_pushdata(
                vorbis_, buffer_.data() + used_, static_cast<int>(buffer_.size() - used_),
                &channels, &output, &samples);
            if (consumed == 0) {
                // A packet longer than what waits: more of it, up to the limit and the end.
                const size_t waiting = buffer_.size() - used_;
                if (waiting < want || want >= MAX_PACKET_BYTES) break;
                want *= 2;
                continue;
            }
            used_ += static_cast<size_t>(consumed);
            want = FEED_BYTES;
            if (samples > 0) {
                output_ = output;
                pending_ = samples;
                pendingAt_ = 0;
                return true;
            }
        }
        ended_ = true;
        return false;
    }

    const SoundBytes& bytes_;
    std::unique_ptr<char[]> arena_;  // all the decoder allocates, so a file cannot ask for more
    int arenaBytes_;
    stb_vorbis* vorbis_ = nullptr;
    int fileChannels_ = 1;
    int needed_ = 0;
    int64_t at_ = 0;  // the next byte of the file to read
    std::vector<uint8_t> buffer_;
    size_t used_ = 0;  // bytes of buffer_ the decoder has taken
    float** output_ = nullptr;
    int pending_ = 0;
    int pendingAt_ = 0;
    bool ended_ = false;
};

}  // namespace

bool IsOggVorbis(const SoundBytes& bytes) {
    uint8_t page[PAGE_HEADER + 255 + 7];
    if (!bytes.ReadAll(0, page, PAGE_HEADER) || std::memcmp(page, "OggS", 4) != 0) return false;
    const size_t segments = page[26];
    if (!bytes.ReadAll(PAGE_HEADER, page + PAGE_HEADER, segments + 7)) return false;
    const uint8_t* packet = page + PAGE_HEADER + segments;
    return packet[0] == 1 && std::memcmp(packet + 1, "vorbis", 6) == 0;
}

std::unique_ptr<SoundSource> OpenVorbisSource(const SoundBytes& bytes, int decoderBytes,
                                              std::string* why) {
    const bool first = decoderBytes <= 0;
    if (first && !CommentHeaderFits(bytes)) {
        *why = "bad Ogg Vorbis comment header";
        return nullptr;
    }
    auto source = std::make_unique<VorbisSource>(bytes, first ? MAX_DECODER_BYTES : decoderBytes);
    *why = source->Start();
    if (!why->empty()) return nullptr;
    if (first) {
        const int64_t frames = LengthFromLastPage(bytes);
        if (frames < 0) {
            *why = "Ogg Vorbis cut short, or without its last page";
            return nullptr;
        }
        // Later openings allocate what this one needed, not the limit.
        auto fitted = std::make_unique<VorbisSource>(bytes, source->Needed());
        *why = fitted->Start();
        if (!why->empty()) return nullptr;
        fitted->SetFrames(frames);
        return fitted;
    }
    return source;
}

int VorbisDecoderBytes(const SoundSource& source) {
    const auto* vorbis = dynamic_cast<const VorbisSource*>(&source);
    return vorbis != nullptr ? vorbis->Needed() : 0;
}

}  // namespace plat::common
