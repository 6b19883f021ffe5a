// Ogg Vorbis through libvorbis, the same bytes on every build: a fixed stream serial number, no
// comments but the library's own, nothing taken from the clock or a random source.
#include <ogg/ogg.h>
#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

#include "encode.h"

namespace ag {

namespace {

// Frames handed to the encoder at a time.
constexpr int kChunk = 4096;
// Frames of a loop's start encoded again after its end, so the encoder sees the join as the
// music goes on through it; the stream is cut at the join. Three long blocks cover the overlap.
constexpr size_t kLoopTail = 3 * 2048;

// libvorbis's state, released however the encoding ends.
struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool analysing = false;
    bool streaming = false;

    Encoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder() {
        if (streaming) ogg_stream_clear(&stream);
        if (analysing) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
};

void appendPage(Bytes& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

Bytes encodeVorbis(const std::vector<float>& samples, int channels, int rate, float quality,
                   bool loop, uint32_t serial) {
    const size_t frames = samples.size() / size_t(channels);
    if (frames == 0) throw std::runtime_error("no samples to encode");
    Encoder e;
    if (vorbis_encode_init_vbr(&e.info, channels, rate, quality) != 0)
        throw std::runtime_error("libvorbis refuses the encoding");
    vorbis_analysis_init(&e.dsp, &e.info);
    vorbis_block_init(&e.dsp, &e.block);
    e.analysing = true;
    ogg_stream_init(&e.stream, int(serial));
    e.streaming = true;

    Bytes out;
    ogg_page page;
    {
        ogg_packet id, comments, codebooks;
        vorbis_analysis_headerout(&e.dsp, &e.comment, &id, &comments, &codebooks);
        ogg_stream_packetin(&e.stream, &id);
        ogg_stream_packetin(&e.stream, &comments);
        ogg_stream_packetin(&e.stream, &codebooks);
        // the audio starts on a page of its own
        while (ogg_stream_flush(&e.stream, &page) != 0) appendPage(out, page);
    }

    // A loop goes on through its join: the encoder reads its start again after its end.
    const size_t total = loop ? frames + std::min(frames, kLoopTail) : frames;
    const auto sample = [&](size_t frame, int ch) {
        return samples[(frame % frames) * size_t(channels) + size_t(ch)];
    };
    bool primed = !loop;
    bool ended = false;
    bool written = false;
    for (size_t at = 0; !ended;) {
        if (written) throw std::runtime_error("libvorbis ended the stream without its last packet");
        const int n = int(std::min<size_t>(kChunk, total - at));
        written = n == 0;
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&e.dsp, n);
            for (int ch = 0; ch < channels; ++ch)
                for (int i = 0; i < n; ++i) buffer[ch][i] = sample(at + size_t(i), ch);
        }
        vorbis_analysis_wrote(&e.dsp, n);
        at += size_t(n);
        if (!primed && e.dsp.preextrapolate) {
            // libvorbis has filled what comes before the start with a guess; a loop has the real
            // thing, its own end. Nothing has been analysed yet, so the first block sees it.
            const size_t before = size_t(e.dsp.centerW);
            for (int ch = 0; ch < channels; ++ch)
                for (size_t i = 0; i < before; ++i)
                    e.dsp.pcm[ch][i] = sample(frames - before % frames + i, ch);
            primed = true;
        }
        while (!ended && vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
            vorbis_analysis(&e.block, nullptr);
            vorbis_bitrate_addblock(&e.block);
            ogg_packet packet;
            while (!ended && vorbis_bitrate_flushpacket(&e.dsp, &packet) == 1) {
                // A loop's stream ends at the join: the packet that reaches it ends there, and
                // the decoder drops what it would have made beyond.
                if (loop && packet.granulepos >= ogg_int64_t(frames)) {
                    packet.granulepos = ogg_int64_t(frames);
                    packet.e_o_s = 1;
                }
                ogg_stream_packetin(&e.stream, &packet);
                ended = packet.e_o_s != 0;
                while (ogg_stream_pageout(&e.stream, &page) != 0) appendPage(out, page);
            }
        }
    }
    while (ogg_stream_flush(&e.stream, &page) != 0) appendPage(out, page);
    return out;
}

}  // namespace ag
