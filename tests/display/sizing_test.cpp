// Zoom frames, window limits and the rounding of picture sizes.
#include "display/sizing.h"

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
    ZoomPlan z = zoomFrame({0, 0, 1024, 768}, false);
    EXPECT_EQ(z.pictureW, 1008);
    EXPECT_EQ(z.pictureH, 672);
    const FrameRect f = windowFrameFor(z.x, z.y, z.pictureW, z.pictureH);
    EXPECT_EQ(f.w, 1016);
    EXPECT_EQ(f.h, 766);
    z = zoomFrame({0, 0, 1030, 790}, false);
    EXPECT_EQ(z.pictureW, 1008);
    EXPECT_EQ(z.pictureH, 688);
    z = zoomFrame({0, 0, 1032, 790}, false);
    EXPECT_EQ(z.pictureW, 1024);
    EXPECT_EQ(z.pictureH, 688);
}

TEST(Sizing, ZoomPlacesAnUnzoomedWindow16Higher) {
    EXPECT_EQ(zoomFrame({10, 40, 800, 600}, false).y, 56);
    EXPECT_EQ(zoomFrame({10, 40, 800, 600}, true).y, 40);
    EXPECT_EQ(zoomFrame({10, 40, 800, 600}, false).x, 10);
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
