// Picture sides in steps of 16, zoom frames and the window around the picture; host classes.
#include "core/host/hostversion.h"
#include "core/sizing/sizing.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(Sizing, SidesZoomFramesAndWindowLimits) {
    const int down[][2] = {{320, 320}, {335, 320}, {17, 16}, {5, 16}, {-40, 16}};
    for (const auto& [side, picture] : down)
        EXPECT_EQ(pictureSide(side), picture) << side;
    const int up[][2] = {{1, 16}, {1000, 1008}, {1024, 1024}};
    for (const auto& [n, rounded] : up)
        EXPECT_EQ(roundUp16(n), rounded) << n;
    const int zooms[][6] = {{1024, 768, 8, 94, 1008, 672},
                            {1030, 790, 8, 94, 1008, 688},
                            {1032, 790, 8, 94, 1024, 688},
                            {300, 600, 120, 30, 176, 560}};
    for (const auto& [w, h, marginW, marginH, width, height] : zooms) {
        const PictureSize z = zoomPicture({0, 0, double(w), double(h)}, {marginW, marginH});
        EXPECT_EQ(std::pair(z.width, z.height), std::pair(width, height)) << w << "x" << h;
    }
    const FrameRect f = windowFrameFor(5, 7, 320, 240);
    EXPECT_EQ(std::tuple(f.x, f.y, f.w, f.h), std::tuple(5.0, 7.0, 328.0, 334.0));
    EXPECT_EQ(windowFrameFor(0, 0, 320, 240, {120, 30}).h, 270.0);
    const int heights[][2] = {{700, 686}, {110, 110}, {40, 110}}; // at least one of 16 rows
    for (const auto& [visible, height] : heights)
        EXPECT_EQ(maxWindowHeight(visible), height) << visible;
    EXPECT_EQ(maxWindowHeight(300, {8, 30}), 286);
}

TEST(HostVersion, ClassesByTheFloorOfTheToolkitVersion) {
    const double cases[][2] = {
        {500, 10.0}, {577.9, 10.0}, {578, 10.1}, {620.5, 10.1},
        {621, 10.2}, {663.5, 10.2}, {664, 10.3}, {kHostToolkitVersion, 10.3}};
    for (const auto& [toolkit, host] : cases)
        EXPECT_EQ(osversionFor(toolkit), host) << toolkit;
}

} // namespace
} // namespace velq
