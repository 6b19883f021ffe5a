// The generator's own parts: its PNG and WAV writers (read back by SDL), the note and grid
// parsers, and the wrapping canvas and mixer that make the town and the stage loop seamless.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <stdexcept>

#include "catalog.h"
#include "encode.h"
#include "font.h"
#include "scenes.h"
#include "shell/catalog.h"
#include "sounds.h"
#include "sprites.h"
#include "synth.h"

namespace {

// Decodes PNG bytes with SDL_image and compares every pixel with the source.
void ExpectPngRoundTrip(const ag::Image& img) {
    const ag::Bytes png = ag::encodePng(img);
    SDL_Surface* raw = IMG_Load_RW(SDL_RWFromConstMem(png.data(), int(png.size())), 1);
    ASSERT_NE(raw, nullptr) << IMG_GetError();
    SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->w, img.w);
    ASSERT_EQ(s->h, img.h);
    int wrong = 0;
    for (int y = 0; y < img.h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + size_t(y) * s->pitch;
        for (int x = 0; x < img.w; ++x) {
            ag::Color c = img.get(x, y);
            if (c.a == 0) c = {};  // hidden colour is not kept
            wrong += row[x * 4] != c.r || row[x * 4 + 1] != c.g || row[x * 4 + 2] != c.b ||
                     row[x * 4 + 3] != c.a;
        }
    }
    SDL_FreeSurface(s);
    EXPECT_EQ(wrong, 0);
}

template <typename F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(AssetgenEncode, Crc32MatchesTheStandardCheckValue) {
    const char* s = "123456789";
    EXPECT_EQ(ag::crc32(reinterpret_cast<const uint8_t*>(s), 9), 0xCBF43926u);
}

TEST(AssetgenEncode, PngDecodesToTheSamePixels) {
    // noise: nearly all literals
    ag::Image noise(97, 61);
    ag::Rng rng(5);
    for (auto& c : noise.px)
        c = ag::rgb(rng.range(0, 255), rng.range(0, 255), rng.range(0, 255), rng.range(0, 255));
    ExpectPngRoundTrip(noise);
    // flat: the longest matches, chained end to end
    ExpectPngRoundTrip(ag::Image(3000, 3, ag::rgb(10, 200, 30)));
    // rows wider than the 32 KiB window, so earlier rows are out of reach
    ag::Image wide(9000, 4);
    for (int x = 0; x < wide.w; ++x)
        for (int y = 0; y < wide.h; ++y)
            wide.set(x, y, ag::rgb(x % 7 * 30, y * 60, (x / 300) * 8, 255));
    ExpectPngRoundTrip(wide);
    // repeats at many distances, and hidden colour under full transparency
    ag::Image pattern(300, 40);
    for (int y = 0; y < pattern.h; ++y)
        for (int x = 0; x < pattern.w; ++x)
            pattern.set(
                x, y,
                ag::rgb((x * 13) % 251, (y * 7) % 17, (x * y) % 5 * 50, (x + y) % 3 ? 255 : 0));
    ExpectPngRoundTrip(pattern);
    ExpectPngRoundTrip(ag::Image(1, 1, ag::rgb(1, 2, 3, 4)));
}

TEST(AssetgenEncode, WavReadsBackAndClampsOutOfRangeSamples) {
    const ag::Bytes wav = ag::encodeWav({0.0f, 0.5f, -0.5f, 1.5f, -2.0f, 0.25f}, 2, 44100);
    SDL_AudioSpec format;
    Uint8* buf = nullptr;
    Uint32 len = 0;
    ASSERT_NE(
        SDL_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), int(wav.size())), 1, &format, &buf, &len),
        nullptr)
        << SDL_GetError();
    EXPECT_EQ(format.freq, 44100);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.format, AUDIO_S16LSB);
    ASSERT_EQ(len, 12u);
    const int16_t* s = reinterpret_cast<const int16_t*>(buf);
    const int16_t expected[] = {0, 16384, -16384, 32767, -32767, 8192};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(s[i], expected[i], 1) << "sample " << i;
    SDL_FreeWAV(buf);
}

TEST(AssetgenNotes, PitchesLengthsAndRests) {
    auto n = ag::parseNotes("a4:4 c4 | f#4:2 bb3 r:8 c5:12");
    ASSERT_EQ(n.size(), 6u);
    EXPECT_EQ(n[0].midi, 69);
    EXPECT_EQ(n[0].len, 4);
    EXPECT_EQ(n[1].midi, 60);
    EXPECT_EQ(n[1].len, 4);  // kept from the note before
    EXPECT_EQ(n[2].midi, 66);
    EXPECT_EQ(n[3].midi, 58);
    EXPECT_EQ(n[3].len, 2);
    EXPECT_EQ(n[4].midi, -1);
    EXPECT_EQ(n[4].len, 8);
    EXPECT_EQ(n[5].len, 12);
    EXPECT_NEAR(ag::midiHz(69), 440.0, 1e-9);
    EXPECT_NEAR(ag::midiHz(81), 880.0, 1e-9);
}

TEST(AssetgenNotes, BadTokensAreNamed) {
    for (const char* bad : {"h4", "c", "c4:", "c4:0", "c4:x", "c#", "c4;2"}) {
        SCOPED_TRACE(bad);
        EXPECT_NE(ErrorOf([&] {
                      ag::parseNotes(std::string("c4 ") + bad);
                  }).find(std::string("'") + bad + "'"),
                  std::string::npos);
    }
}

TEST(AssetgenSprites, GridsAreCheckedRowByRow) {
    ag::Image ok = ag::fromGrid("ok", {"k.", ".r"});
    EXPECT_EQ(ok.get(0, 0).a, 255);
    EXPECT_EQ(ok.get(1, 0).a, 0);
    EXPECT_EQ(ok.get(1, 1).r, ag::paletteColor('r').r);
    const std::string ragged = ErrorOf([] { ag::fromGrid("ragged", {"kk", "k", "kk"}); });
    EXPECT_NE(ragged.find("ragged"), std::string::npos);
    EXPECT_NE(ragged.find("row 1"), std::string::npos);
    EXPECT_NE(ErrorOf([] { ag::fromGrid("odd", {"kQ"}); }).find("'Q'"), std::string::npos);
}

TEST(AssetgenText, WrapsWithinTheWidthKeepingEveryWord) {
    const std::string text =
        "EVERY WINTER, WHEN THE FIRST SNOW SETTLES, THE TOWN LIGHTS ITS LANTERNS.";
    const auto lines = ag::wrapText(text, 3, 300);
    ASSERT_GT(lines.size(), 1u);
    std::string joined;
    for (const auto& l : lines) {
        EXPECT_LE(ag::textWidth(l, 3), 300) << l;
        joined += (joined.empty() ? "" : " ") + l;
    }
    EXPECT_EQ(joined, text);
    EXPECT_NE(ErrorOf([] { ag::textWidth("snow", 2); }).find("'s'"), std::string::npos);
}

TEST(AssetgenCanvas, WrappingCanvasContinuesShapesAcrossTheEdge) {
    ag::Image img(10, 3);
    img.wrapX = true;
    img.fillRect(8, 1, 4, 1, ag::rgb(255, 0, 0));
    for (int x = 0; x < 10; ++x) EXPECT_EQ(img.get(x, 1).a, (x >= 8 || x <= 1) ? 255 : 0) << x;
    ag::Image plain(10, 3);
    plain.fillRect(8, 1, 4, 1, ag::rgb(255, 0, 0));  // clipped, never wrapped or out of bounds
    EXPECT_EQ(plain.get(0, 1).a, 0);
    EXPECT_EQ(plain.get(9, 1).a, 255);
}

TEST(AssetgenMix, LoopingBufferWrapsTailsAndEchoes) {
    ag::Tone t;
    t.wave = ag::Wave::Square, t.freq = 1000, t.dur = 0.2, t.release = 0.0;
    ag::Mix loop(1.0, 1, true), once(1.0, 1, false);
    ag::play(loop, 0.9, t);
    ag::play(once, 0.9, t);
    double loopHead = 0, onceHead = 0;
    for (size_t i = 0; i < 2000; ++i)
        loopHead += std::abs(loop.at(i, 0)), onceHead += std::abs(once.at(i, 0));
    EXPECT_GT(loopHead, 100.0) << "the note's last tenth of a second belongs at the start";
    EXPECT_EQ(onceHead, 0.0);

    ag::Mix e(1.0, 1, true);
    e.at(44000, 0) = 1.0f;
    ag::echo(e, 0.1, 0.5, 1.0);
    // (plus the faint tenth repeat that has gone once round the whole loop)
    EXPECT_NEAR(e.at((44000 + 4410) % 44100, 0), 1.0, 2e-3);
    EXPECT_NEAR(e.at((44000 + 2 * 4410) % 44100, 0), 0.5, 2e-3);
}

TEST(AssetgenMix, EdgedWavesCarryNoFoldedPartials) {
    // 2630 Hz is a whole number of 10 Hz bins, so over 4410 samples every harmonic and every
    // partial folded back from above half the sample rate falls in a bin of its own
    const int n = 4410, fundamental = 263;
    const double turn = 2 * 3.14159265358979323846 / n;
    std::vector<double> cosT(n), sinT(n);
    for (int i = 0; i < n; ++i)
        cosT[size_t(i)] = std::cos(turn * i), sinT[size_t(i)] = std::sin(turn * i);
    for (ag::Wave w : {ag::Wave::Square, ag::Wave::Saw, ag::Wave::Triangle}) {
        SCOPED_TRACE(int(w));
        ag::Tone t;
        t.wave = w, t.freq = 2630, t.duty = 0.25, t.dur = 0.4, t.release = 0, t.lowpass = 0;
        ag::Mix m(0.4, 1, false);
        ag::play(m, 0.0, t);
        auto bin = [&](int k) {
            double re = 0, im = 0;
            for (int i = 0; i < n; ++i) {
                const double v = m.at(size_t(4410 + i), 0);
                re += v * cosT[size_t(k) * size_t(i) % size_t(n)];
                im -= v * sinT[size_t(k) * size_t(i) % size_t(n)];
            }
            return std::hypot(re, im);
        };
        const double top = bin(fundamental);
        double worst = 0;
        for (int k = 1; k < 1200; ++k)  // up to 12 kHz
            if (k % fundamental != 0) worst = std::max(worst, bin(k));
        EXPECT_LT(20 * std::log10(worst / top), -50.0);
    }
}

TEST(AssetgenMix, NormaliseHitsThePeakAndLeavesSilenceAlone) {
    std::vector<float> s = {0.1f, -0.4f, 0.2f};
    ag::normalise(s, 0.5);
    EXPECT_NEAR(ag::peakOf(s), 0.5, 1e-6);
    EXPECT_NEAR(s[0], 0.125, 1e-6);
    std::vector<float> quiet(8, 0.0f);
    ag::normalise(quiet, 0.5);
    EXPECT_EQ(ag::peakOf(quiet), 0.0);
}

TEST(AssetgenCatalog, ListsEachGameFileOnce) {
    std::set<std::string> seen;
    for (const ag::Asset& a : ag::catalog()) EXPECT_TRUE(seen.insert(a.path).second) << a.path;
    EXPECT_EQ(seen.size(), 34u);
    for (int n = 1; n <= 18; ++n) EXPECT_TRUE(seen.count("img/" + std::to_string(n) + ".dat")) << n;
    for (int n = 1; n <= 16; ++n) EXPECT_TRUE(seen.count("snd/" + std::to_string(n) + ".bom")) << n;
    EXPECT_NE(ErrorOf([] { ag::makeEffect(SND_STAGE); }).find("12"), std::string::npos);
}
