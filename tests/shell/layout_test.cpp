// Where the 800 x 600 picture goes in a window of any size.
#include <gtest/gtest.h>

#include "platform/renderer.h"

namespace {

struct Layout {
    int outW, outH;
    bool whole;
    int x, y, w, h;
};

void PrintTo(const Layout& l, std::ostream* out) {
    *out << l.outW << "x" << l.outH << (l.whole ? " whole" : "");
}

class PictureLayout : public testing::TestWithParam<Layout> {};

TEST_P(PictureLayout, KeepsTheShapeCentredInsideTheWindow) {
    const Layout& l = GetParam();
    const plat::PictureRect r = plat::FitPicture(l.outW, l.outH, 800, 600, l.whole);
    EXPECT_EQ(r.x, l.x);
    EXPECT_EQ(r.y, l.y);
    EXPECT_EQ(r.w, l.w);
    EXPECT_EQ(r.h, l.h);
    // Whatever the size: inside the window, touching two opposite edges (or a whole multiple),
    // no more than a pixel off 4:3, the bars on either side within a pixel of each other.
    EXPECT_GE(r.x, 0);
    EXPECT_GE(r.y, 0);
    EXPECT_LE(r.x + r.w, l.outW);
    EXPECT_LE(r.y + r.h, l.outH);
    EXPECT_LE(std::abs(r.w * 3 - r.h * 4), 4);
    EXPECT_LE(std::abs((l.outW - r.w - r.x) - r.x), 1);
    EXPECT_LE(std::abs((l.outH - r.h - r.y) - r.y), 1);
}

INSTANTIATE_TEST_SUITE_P(
    OddAndEvenWindows, PictureLayout,
    testing::Values(Layout{800, 600, false, 0, 0, 800, 600},
                    Layout{1920, 1080, false, 240, 0, 1440, 1080},  // bars left and right
                    Layout{1001, 557, false, 129, 0, 742, 557},
                    Layout{500, 700, false, 0, 162, 500, 375},  // bars above and below
                    Layout{799, 599, false, 0, 0, 798, 599}, Layout{3, 1000, false, 0, 499, 3, 2},
                    Layout{1, 1, false, 0, 0, 1, 0},
                    Layout{1920, 1080, true, 560, 240, 800, 600},  // 1x: 2x is too tall
                    Layout{2559, 1799, true, 479, 299, 1600, 1200},
                    Layout{3840, 2160, true, 720, 180, 2400, 1800},
                    Layout{640, 480, true, 0, 0, 640, 480}));  // smaller than 1x: shrunk

TEST(PictureLayoutEdges, AnEmptyWindowOrPictureGetsNothing) {
    for (const auto& [w, h] : {std::pair{0, 600}, {800, 0}, {-5, 600}}) {
        const plat::PictureRect r = plat::FitPicture(w, h, 800, 600, false);
        EXPECT_EQ(r.w, 0);
        EXPECT_EQ(r.h, 0);
    }
    EXPECT_EQ(plat::FitPicture(800, 600, 0, 600, true).w, 0);
}

}  // namespace
