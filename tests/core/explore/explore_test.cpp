// Navigation by hand: the zoom about the pointer to the last bit, pans, the preview, and the
// pipeline of coarse and exact renders behind the gestures.
#include "core/explore/gesturepipeline.h"
#include "core/explore/navigation.h"
#include "core/explore/zoombenchmark.h"

#include <cmath>
#include <gtest/gtest.h>
#include <thread>

namespace velq {
namespace {

TEST(Navigation, ZoomAboutThePointerToTheLastBit) {
    // 256 x 256 at w = 2: a pixel is 1/64, and 4 notches halve the width: every number exact.
    const MANDAT start{0.5, -0.25, 2.0, 1024, 0x782, 7};
    struct Row {
        double px, py, notches, exponent;
        WidthBounds bounds;
        double x, y, w;
    } rows[] = {
        {128, 128, 4, kNotchExponent, {}, 0.5, -0.25, 1.0},          // the centre stays
        {0, 0, 4, kNotchExponent, {}, -0.5, 0.75, 1.0},              // the corner point stays
        {256, 64, -4, kNotchExponent, {}, -1.5, -1.25, 4.0},         // out, about another
        {0, 0, 16, kFineNotchExponent, {}, -0.5, 0.75, 1.0},         // Shift: 16 fine notches
        {0, 128, 8, kNotchExponent, {1.0, 1e10}, -0.5, -0.25, 1.0},  // stops at the floor
        {0, 128, -80, kNotchExponent, {1e-15, 8.0}, 6.5, -0.25, 8.0} // and at the ceiling
    };
    for (const Row& r : rows) {
        const MANDAT z = zoomAbout(start, r.px, r.py, 256, 256, r.notches, r.exponent, r.bounds);
        EXPECT_EQ(z.x, r.x) << r.px << "," << r.py << " by " << r.notches;
        EXPECT_EQ(z.y, r.y) << r.px << "," << r.py << " by " << r.notches;
        EXPECT_EQ(z.w, r.w) << r.px << "," << r.py << " by " << r.notches;
        EXPECT_EQ(z.it + z.cs + z.cp, 1024 + 0x782 + 7);
    }
    // A notch is 2^(1/4); the point under the pointer stays under it, within rounding.
    const MANDAT z = zoomAbout({-0.75, 0.1, 1.5, 1024, 0x782, 0}, 100, 40, 320, 240, 1);
    EXPECT_DOUBLE_EQ(z.w, 1.5 / std::pow(2.0, 0.25));
    EXPECT_NEAR(z.x + (100 - 160) * 2 * z.w / 240, -0.75 + (100 - 160) * 3.0 / 240, 1e-15);
    EXPECT_TRUE(std::isnan(zoomAbout({0, 0, NAN, 256, 0, 0}, 0, 0, 16, 16, 1).w));
    // A pan moves the plane with the hand: right and down by one pixel.
    const MANDAT p = panBy(start, 64, 32, 256, 256);
    EXPECT_EQ(p.x, -0.5);
    EXPECT_EQ(p.y, 0.25);
}

TEST(Navigation, ThePreviewMovesAndScalesThePictureOnScreen) {
    const int n = 8;
    std::vector<Rgba> picture(n * n);
    for (int k = 0; k < n * n; ++k)
        picture[static_cast<std::size_t>(k)] = static_cast<Rgba>(k + 1);
    const MANDAT shown{0, 0, 4, 256, 0, 0}; // a pixel is 1
    std::vector<Rgba> preview(picture.size());
    // Panned by two pixels right and one down: pixels move along, black comes in.
    resamplePreview(picture, preview, n, n, previewOf(shown, panBy(shown, 2, 1, n, n), n, n));
    EXPECT_EQ(preview[1 * n + 2], picture[0]);
    EXPECT_EQ(preview[7 * n + 7], picture[6 * n + 5]);
    EXPECT_EQ(preview[0], rgba(0, 0, 0));
    // Zoomed in by 2 about the centre: each pixel of the middle covers 2 x 2.
    resamplePreview(picture, preview, n, n, previewOf(shown, {0, 0, 2, 256, 0, 0}, n, n));
    EXPECT_EQ(preview[0], picture[2 * n + 2]);
    EXPECT_EQ(preview[1 * n + 1], picture[2 * n + 2]);
    EXPECT_EQ(preview[7 * n + 6], picture[5 * n + 5]);
}

// Counts of a view as a render on one worker gives them.
std::vector<std::int16_t> countsOf(const MANDAT& v, int winx, int winy) {
    std::vector<std::int16_t> counts(static_cast<std::size_t>(winx) * winy);
    std::atomic<int> status{RenderStatus::Rendering};
    RenderWorkers(status).run(KernelFrame::of(v, winx, winy, iterationLimitInForce(v)),
                              counts.data(), referenceRows, 1);
    return counts;
}

std::atomic<int> working{0};
std::int64_t slowRows(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* out) {
    ++working;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    const std::int64_t n = referenceRows(f, r0, rows, stride, out);
    --working;
    return n;
}

TEST(GesturePipeline, CoarseThenExactOfTheLatestStepOnly) {
    GesturePipeline pipeline(slowRows, 4);
    const MANDAT a{-0.75, 0, 1.5, 256, 0x782, 0}, b{-0.7, 0.1, 0.4, 256, 0x782, 0};
    std::vector<std::int16_t> counts(64 * 48);
    pipeline.render(a, 64, 48);
    pipeline.render(b, 64, 48); // supersedes a: nothing of a is ever collected
    std::vector<GesturePipeline::Finished> got;
    while (pipeline.inFlight())
        if (auto done = pipeline.collect(counts, std::chrono::milliseconds(50)))
            got.push_back(*done);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_TRUE(got[0].view == b && !got[0].exact && got[1].view == b && got[1].exact);
    EXPECT_EQ(counts, countsOf(b, 64, 48));
    // Stopped, its workers are joined: none is still at work when stop returns.
    pipeline.render(a, 64, 48);
    pipeline.stop();
    EXPECT_EQ(working.load(), 0);
    EXPECT_FALSE(pipeline.inFlight() || pipeline.collect(counts));
    std::vector<std::int16_t> other(16 * 16); // a picture of another size takes nothing
    pipeline.render(a, 64, 48);
    while (pipeline.inFlight())
        EXPECT_FALSE(pipeline.collect(other, std::chrono::milliseconds(50)));
}

TEST(GesturePipeline, PercentilesTakeTheNearestRank) {
    EXPECT_EQ(percentile({5, 1, 4, 2, 3}, 0.5), 3);
    EXPECT_EQ(percentile({5, 1, 4, 2, 3}, 0.95), 5);
    EXPECT_EQ(percentile({7}, 0.1), 7);
}

} // namespace
} // namespace velq
