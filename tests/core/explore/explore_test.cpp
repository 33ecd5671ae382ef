// Navigation by hand: the zoom about the pointer to the last bit, pans, the preview, and the
// pipeline of coarse and exact renders behind the gestures.
#include "core/deep/deeparith.h"
#include "core/explore/gesturepipeline.h"
#include "core/explore/navigation.h"
#include "core/explore/zoombenchmark.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
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
        EXPECT_EQ(z, (MANDAT{r.x, r.y, r.w, 1024, 0x782, 7}))
            << r.px << "," << r.py << " by " << r.notches;
    }
    // A notch is 2^(1/4); the point under the pointer stays under it, within rounding.
    const MANDAT z = zoomAbout({-0.75, 0.1, 1.5, 1024, 0x782, 0}, 100, 40, 320, 240, 1);
    EXPECT_DOUBLE_EQ(z.w, 1.5 / std::pow(2.0, 0.25));
    EXPECT_NEAR(z.x + (100 - 160) * 2 * z.w / 240, -0.75 + (100 - 160) * 3.0 / 240, 1e-15);
    EXPECT_TRUE(std::isnan(zoomAbout({0, 0, NAN, 256, 0, 0}, 0, 0, 16, 16, 1).w));
    // A pan moves the plane with the hand: right and down by one pixel.
    EXPECT_EQ(panBy(start, 64, 32, 256, 256), (MANDAT{-0.5, 0.25, 2.0, 1024, 0x782, 7}));
}

// A deep view 2^-199 narrower after a wheel zoom keeps a centre fine enough for its pixels: a
// pan of one pixel moves it by that pixel's width, far below the first view's precision.
TEST(Navigation, DeepViewsKeepTheBitsTheirPixelsNeed) {
    const MANDAT start = withDepth(MANDAT{-0.75, 0.1, 1e-20, 1024, 0x782, 0});
    const MANDAT in = zoomAboutView(start, 10, 10, 320, 240, 796, 0.25, {0, 1e10});
    const MANDAT moved = panView(in, -1, 0, 320, 240);
    const ExtFloat pixel = (in.deep->w + in.deep->w) / ExtFloat(240);
    EXPECT_EQ(in.deep->w, start.deep->w * ExtFloat::of(1, -199));
    EXPECT_NEAR((extOf(moved.deep->x - in.deep->x) / pixel).toDouble(), 1.0, 1e-9);
    // The preview from there to the view at half the width about the centre: twice the
    // scale, and the pixel of the pan, which the six fields' doubles no longer hold.
    const MANDAT half = zoomAboutView(in, 160, 120, 320, 240, 4, 0.25, {0, 1e10});
    const PreviewTransform t = previewOfView(moved, half, 320, 240);
    EXPECT_NEAR(t.scale, 2, 1e-12);
    EXPECT_NEAR(t.dx, -158, 1e-6);
    EXPECT_NEAR(t.dy, -120, 1e-6);
}

// Where doubles suffice, a deep view moves as its doubles do; a preview between a deep and a
// plain view is the plain one's.
TEST(Navigation, DeepViewsMoveAsTheirDoublesWhereThoseSuffice) {
    const MANDAT plain{-0.75, 0.1, 1e-6, 1024, 0x782, 0};
    MANDAT deep = plain;
    deep.deep = std::make_shared<const DeepView>(
        DeepView{Real(plain.x, 128), Real(plain.y, 128), ExtFloat(plain.w), 1024});
    const PointF p{250, 40};
    const MANDAT c = selectionCentre(deep, p, 320, 240), cp = selectionCentre(plain, p, 320, 240);
    EXPECT_NEAR(c.deep->x.toDouble(), cp.x, 1e-15);
    EXPECT_NEAR(c.deep->y.toDouble(), cp.y, 1e-15);
    EXPECT_NEAR(selectionWidth(deep, 30, 320, 240).w, selectionWidth(plain, 30, 320, 240).w, 1e-20);
    const MANDAT other{-0.7, 0.1, 2e-6, 1024, 0x782, 0};
    const PreviewTransform t = previewOfView(other, deep, 320, 240);
    const PreviewTransform tp = previewOf(other, plain, 320, 240);
    EXPECT_TRUE(t.scale == tp.scale && t.dx == tp.dx && t.dy == tp.dy);
}

TEST(Navigation, ThePreviewMovesAndScalesThePictureOnScreen) {
    const int n = 8;
    std::vector<Rgba> picture(n * n);
    std::iota(picture.begin(), picture.end(), Rgba{1});
    const MANDAT shown{0, 0, 4, 256, 0, 0}; // a pixel is 1
    std::vector<Rgba> preview(picture.size());
    // Panned by two pixels right and one down: pixels move along, black comes in.
    resamplePreview(picture, preview, n, n, previewOf(shown, panBy(shown, 2, 1, n, n), n, n));
    EXPECT_EQ(std::tuple(preview[1 * n + 2], preview[7 * n + 7], preview[0]),
              std::tuple(picture[0], picture[6 * n + 5], rgba(0, 0, 0)));
    // Zoomed in by 2 about the centre: each pixel of the middle covers 2 x 2.
    resamplePreview(picture, preview, n, n, previewOf(shown, {0, 0, 2, 256, 0, 0}, n, n));
    EXPECT_EQ(std::tuple(preview[0], preview[1 * n + 1], preview[7 * n + 6]),
              std::tuple(picture[2 * n + 2], picture[2 * n + 2], picture[5 * n + 5]));
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
    std::vector<std::int16_t> want(counts.size());
    referenceRows(KernelFrame::of(b, 64, 48, iterationLimitInForce(b)), 0, 48, 1, want.data());
    EXPECT_EQ(counts, want);
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
    const std::vector<double> five{5, 1, 4, 2, 3};
    EXPECT_EQ(std::tuple(percentile(five, 0.5), percentile(five, 0.95), percentile({7}, 0.1)),
              std::tuple(3, 5, 7));
}

} // namespace
} // namespace velq
