// Picture sides in steps of 16, zoom frames and the window around the picture.
#include "core/sizing/sizing.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(Sizing, SidesZoomFramesAndWindowLimits) {
    const std::pair<int, int> down[] = {{320, 320}, {335, 320}, {17, 16}, {5, 16}, {-40, 16}};
    for (const auto& [side, picture] : down)
        EXPECT_EQ(pictureSide(side), picture) << side;
    const std::pair<int, int> up[] = {{1, 16}, {1000, 1008}, {1024, 1024}};
    for (const auto& [n, rounded] : up)
        EXPECT_EQ(roundUp16(n), rounded) << n;
    struct Case {
        FrameRect proposed;
        Margins margins;
        int width, height;
    };
    const Case zooms[] = {{{0, 0, 1024, 768}, {}, 1008, 672},
                          {{0, 0, 1030, 790}, {}, 1008, 688},
                          {{0, 0, 1032, 790}, {}, 1024, 688},
                          {{0, 0, 300, 600}, {120, 30}, 176, 560}};
    for (const Case& c : zooms) {
        const PictureSize z = zoomPicture(c.proposed, c.margins);
        EXPECT_EQ(std::pair(z.width, z.height), std::pair(c.width, c.height)) << c.proposed.w;
    }
    const FrameRect f = windowFrameFor(5, 7, 320, 240);
    EXPECT_EQ(std::tuple(f.x, f.y, f.w, f.h), std::tuple(5.0, 7.0, 328.0, 334.0));
    EXPECT_EQ(windowFrameFor(0, 0, 320, 240, {120, 30}).h, 270.0);
    EXPECT_EQ(maxWindowHeight(700), 686);
    EXPECT_EQ(maxWindowHeight(110), 110);
    EXPECT_EQ(maxWindowHeight(40), 110); // too low for any picture: still one of 16 rows
    EXPECT_EQ(maxWindowHeight(300, {8, 30}), 286);
}

} // namespace
} // namespace velq
