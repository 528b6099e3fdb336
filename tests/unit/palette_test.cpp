#include <gtest/gtest.h>

#include "controls/palette.h"

namespace {
COLORREF Grey(int v) {
    return RGB(v, v, v);
}
} // namespace

TEST(Palette, LightenAddsPerChannelAndLeavesOverflowingChannelsAlone) {
    EXPECT_EQ(Grey(243), Lighten(Grey(192), 51));
    EXPECT_EQ(Grey(243), Lighten(Grey(243), 51)) << "243 + 51 passes 255: unchanged, not clamped";
    EXPECT_EQ(Grey(255), Lighten(Grey(204), 51));
    EXPECT_EQ(Grey(205), Lighten(Grey(205), 51));
    EXPECT_EQ(RGB(67, 255, 255), Lighten(RGB(16, 204, 255), 51));
}

TEST(Palette, DarkenSubtractsPerChannelAndLeavesUnderflowingChannelsAlone) {
    EXPECT_EQ(Grey(141), Darken(Grey(192), 51));
    EXPECT_EQ(Grey(90), Darken(Grey(141), 51));
    EXPECT_EQ(Grey(0), Darken(Grey(51), 51));
    EXPECT_EQ(Grey(50), Darken(Grey(50), 51));
    EXPECT_EQ(RGB(0, 50, 204), Darken(RGB(51, 50, 255), 51));
}

TEST(Palette, AverageIsThePerChannelMeanRoundedDown) {
    EXPECT_EQ(Grey(160), Average(Grey(192), Grey(128)));
    EXPECT_EQ(Grey(96), Average(Grey(128), Grey(64)));
    EXPECT_EQ(Grey(0), Average(Grey(1), Grey(0)));
    EXPECT_EQ(Grey(0), Average(Grey(0), Grey(1)));
    EXPECT_EQ(RGB(127, 127, 10), Average(RGB(255, 0, 10), RGB(0, 255, 11)));
}

TEST(Palette, DerivedColoursHaveByteThreeClear) {
    const COLORREF tagged = 0xAAC0C0C0;
    EXPECT_EQ(0x00F3F3F3u, Lighten(tagged, 51));
    EXPECT_EQ(0x008D8D8Du, Darken(tagged, 51));
    EXPECT_EQ(0x00C0C0C0u, Average(tagged, 0xFFC0C0C0));
}
