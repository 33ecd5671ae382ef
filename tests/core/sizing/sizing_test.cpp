// Zoom frames, window limits and the rounding of picture sizes.
#include "core/sizing/sizing.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(Sizing, PictureSidesAreMultiplesOf16) {
    EXPECT_EQ(pictureSide(320), 320);
    EXPECT_EQ(pictureSide(335), 320);
    EXPECT_EQ(pictureSide(17), 16);
    EXPECT_EQ(pictureSide(5), 16);
    EXPECT_EQ(pictureSide(-40), 16);
    EXPECT_EQ(roundUp16(1), 16);
    EXPECT_EQ(roundUp16(1000), 1008);
    EXPECT_EQ(roundUp16(1024), 1024);
}

TEST(Sizing, ZoomFrames) {
    PictureSize z = zoomPicture({0, 0, 1024, 768});
    EXPECT_EQ(z.width, 1008);
    EXPECT_EQ(z.height, 672);
    const FrameRect f = windowFrameFor(0, 0, z.width, z.height);
    EXPECT_EQ(f.w, 1016);
    EXPECT_EQ(f.h, 766);
    z = zoomPicture({0, 0, 1030, 790});
    EXPECT_EQ(z.width, 1008);
    EXPECT_EQ(z.height, 688);
    z = zoomPicture({0, 0, 1032, 790});
    EXPECT_EQ(z.width, 1024);
    EXPECT_EQ(z.height, 688);
    z = zoomPicture({0, 0, 300, 600}, Margins{120, 30}); // other margins, same rule
    EXPECT_EQ(z.width, 176);
    EXPECT_EQ(z.height, 560);
}

TEST(Sizing, StartUpWindowAroundTheFirstPicture) {
    const FrameRect f = windowFrameFor(0, 0, 320, 240);
    EXPECT_EQ(f.w, 328);
    EXPECT_EQ(f.h, 334);
}

TEST(Sizing, MaximumWindowHeight) {
    EXPECT_EQ(maxWindowHeight(700), 686);
    EXPECT_EQ(maxWindowHeight(110), 110);
    EXPECT_EQ(maxWindowHeight(40), 110); // too low for any picture: still one of 16 rows
}

} // namespace
} // namespace velq
