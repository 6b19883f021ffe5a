#include "encode.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/common/wav.h"

namespace ag {

namespace {

const std::array<uint32_t, 256>& crcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

class BitWriter {
public:
    explicit BitWriter(Bytes& out) : out_(out) {}
    void bits(uint32_t value, int count) {  // LSB first
        acc_ |= uint64_t(value) << n_;
        n_ += count;
        while (n_ >= 8) {
            out_.push_back(uint8_t(acc_));
            acc_ >>= 8;
            n_ -= 8;
        }
    }
    void huff(uint32_t code, int len) {  // Huffman codes go MSB first
        uint32_t rev = 0;
        for (int i = 0; i < len; ++i) rev |= ((code >> i) & 1u) << (len - 1 - i);
        bits(rev, len);
    }
    void flush() {
        if (n_ > 0) out_.push_back(uint8_t(acc_));
        acc_ = 0;
        n_ = 0;
    }

private:
    Bytes& out_;
    uint64_t acc_ = 0;
    int n_ = 0;
};

void literal(BitWriter& bw, int sym) {
    if (sym < 144)
        bw.huff(0x30 + sym, 8);
    else if (sym < 256)
        bw.huff(0x190 + sym - 144, 9);
    else if (sym < 280)
        bw.huff(sym - 256, 7);
    else
        bw.huff(0xC0 + sym - 280, 8);
}

const int kLenBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int kLenExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int kDistBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                           33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                           1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void match(BitWriter& bw, int len, int dist) {
    int li = 28;
    while (kLenBase[li] > len) --li;
    literal(bw, 257 + li);
    bw.bits(uint32_t(len - kLenBase[li]), kLenExtra[li]);
    int di = 29;
    while (kDistBase[di] > dist) --di;
    bw.huff(uint32_t(di), 5);
    bw.bits(uint32_t(dist - kDistBase[di]), kDistExtra[di]);
}

}  // namespace

uint32_t crc32(const uint8_t* data, size_t n, uint32_t crc) {
    const auto& t = crcTable();
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = t[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

Bytes zlibCompress(const Bytes& raw) {
    Bytes out = {0x78, 0x01};  // deflate, 32 KiB window, "fastest" level flag
    BitWriter bw(out);
    bw.bits(1, 1);  // final block
    bw.bits(1, 2);  // fixed Huffman codes

    constexpr int kWindow = 32768, kHashBits = 15, kMaxChain = 48;
    std::vector<int> head(1 << kHashBits, -1), prev(kWindow, -1);
    const size_t n = raw.size();
    auto hashAt = [&](size_t i) {
        uint32_t v = uint32_t(raw[i]) | uint32_t(raw[i + 1]) << 8 | uint32_t(raw[i + 2]) << 16;
        return (v * 2654435761u) >> (32 - kHashBits);
    };
    auto insert = [&](size_t i) {
        if (i + 2 >= n) return;
        uint32_t h = hashAt(i);
        prev[i % kWindow] = head[h];
        head[h] = int(i);
    };

    size_t i = 0;
    while (i < n) {
        int bestLen = 0, bestDist = 0;
        if (i + 2 < n) {
            int cand = head[hashAt(i)];
            int maxLen = int(std::min<size_t>(258, n - i));
            for (int chain = 0; cand >= 0 && chain < kMaxChain; ++chain) {
                int dist = int(i) - cand;
                if (dist > kWindow - 1) break;
                if (raw[cand + bestLen] == raw[i + bestLen]) {
                    int l = 0;
                    while (l < maxLen && raw[cand + l] == raw[i + l]) ++l;
                    if (l > bestLen) {
                        bestLen = l;
                        bestDist = dist;
                        if (l == maxLen) break;
                    }
                }
                int nxt = prev[cand % kWindow];
                if (nxt >= cand) break;  // stale slot from an older window pass
                cand = nxt;
            }
        }
        if (bestLen >= 3) {
            match(bw, bestLen, bestDist);
            for (int k = 0; k < bestLen; ++k) insert(i + k);
            i += bestLen;
        } else {
            literal(bw, raw[i]);
            insert(i);
            ++i;
        }
    }
    literal(bw, 256);
    bw.flush();

    uint32_t a = 1, b = 0;
    for (uint8_t c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    uint32_t adler = b << 16 | a;
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(adler >> s));
    return out;
}

namespace {

void put32(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}

void chunk(Bytes& png, const char* type, const Bytes& data) {
    put32(png, uint32_t(data.size()));
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    put32(png, crc32(png.data() + start, png.size() - start));
}

int paeth(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

}  // namespace

Bytes encodePng(const Image& img) {
    const size_t stride = size_t(img.w) * 4;
    Bytes raw;
    raw.reserve((stride + 1) * img.h);
    Bytes prevRow(stride, 0), row(stride), cand(stride), best(stride);
    for (int y = 0; y < img.h; ++y) {
        for (int x = 0; x < img.w; ++x) {
            const Color& c = img.px[size_t(y) * img.w + x];
            // fully transparent pixels are stored as zero so hidden colour never leaks into bytes
            Color s = c.a == 0 ? Color{} : c;
            row[x * 4] = s.r, row[x * 4 + 1] = s.g, row[x * 4 + 2] = s.b, row[x * 4 + 3] = s.a;
        }
        // the usual minimum-sum-of-absolute-differences choice among the five filters
        long bestScore = -1;
        int bestType = 0;
        for (int type = 0; type < 5; ++type) {
            long score = 0;
            for (size_t i = 0; i < stride; ++i) {
                int a = i >= 4 ? row[i - 4] : 0, b = prevRow[i], c = i >= 4 ? prevRow[i - 4] : 0;
                int pred = type == 0   ? 0
                           : type == 1 ? a
                           : type == 2 ? b
                           : type == 3 ? (a + b) / 2
                                       : paeth(a, b, c);
                cand[i] = uint8_t(row[i] - pred);
                score += cand[i] < 128 ? cand[i] : 256 - cand[i];
            }
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                bestType = type;
                best = cand;
            }
        }
        raw.push_back(uint8_t(bestType));
        raw.insert(raw.end(), best.begin(), best.end());
        prevRow = row;
    }

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    put32(ihdr, uint32_t(img.w));
    put32(ihdr, uint32_t(img.h));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
    chunk(png, "IHDR", ihdr);
    chunk(png, "IDAT", zlibCompress(raw));
    chunk(png, "IEND", {});
    return png;
}

Bytes encodeWav(const std::vector<float>& samples, int channels, int rate) {
    const uint32_t dataSize = uint32_t(samples.size() * 2);
    Bytes b = plat::common::WavHeader(uint32_t(channels), uint32_t(rate), 16, dataSize);
    b.reserve(b.size() + dataSize);
    for (float s : samples) {
        long v = std::lround(std::clamp(double(s), -1.0, 1.0) * 32767.0);
        plat::common::PutLe16(b, uint16_t(int16_t(v)));
    }
    return b;
}

void writeFile(const std::string& path, const Bytes& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace ag
