// The game draws its pause caption from its own copy of the pictures' letters: the same ones.
#include <gtest/gtest.h>

#include <string>

#include "app/caption.h"
#include "font.h"

namespace {

TEST(PauseCaption, SpellsPausedInThePicturesFont) {
    ag::Image img(PAUSED_WIDTH, PAUSED_HEIGHT);
    ag::TextStyle plain;
    plain.scale = 1;
    ag::drawText(img, "PAUSED", 0, 0, plain);
    ASSERT_EQ(ag::textWidth("PAUSED", 1), PAUSED_WIDTH);
    for (int y = 0; y < PAUSED_HEIGHT; ++y) {
        std::string row;
        for (int x = 0; x < PAUSED_WIDTH; ++x) row += img.get(x, y).a != 0 ? '#' : '.';
        EXPECT_EQ(row, PAUSED_TEXT[y]) << "row " << y;
    }
}

}  // namespace
