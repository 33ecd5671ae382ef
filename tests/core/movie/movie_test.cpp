// Movies and posters: the zoom path to the last bit, the frames spread over the keys, bands
// whose samples are the whole picture's, and the stamp and the frame check on PNG bytes.
#include "core/deep/deepview.h"
#include "core/files/openpath.h"
#include "core/files/pngchunk.h"
#include "core/movie/bands.h"
#include "core/movie/frameplan.h"
#include "core/render/fastkernel.h"

#include <cmath>
#include <gtest/gtest.h>

namespace velq {
namespace {

// Keys whose frames are exact binary numbers: r = 1/4, p = (1, 0.5), and the middle frame of
// three at t = 1/2 has r^t = 1/2, so w = 1 and c = p + (c0 - p) / 2 = (0, 0.375).
TEST(ZoomPath, ExactAtBothEndsAndInTheMiddle) {
    const double exact[][3] = {{-1, 0.25, 2}, {0, 0.375, 1}, {0.5, 0.4375, 0.5}}; // x, y, w
    // The same path at 2^-200 of the size around -0.75: only MPFR holds those centres.
    for (const double scale : {1.0, std::ldexp(1.0, -200)}) {
        const auto place = [&](double x, double y, double w) {
            Real px(-0.75, 300), py(0.0, 300);
            px += Real(x * scale, 300);
            py += Real(y * scale, 300);
            return Place{px, py, Real(w * scale, 64)};
        };
        const ZoomSegment segment(place(-1, 0.25, 2), place(0.5, 0.4375, 0.5), 3);
        for (int k = 0; k < 3; ++k) {
            const Place got = segment.frame(k);
            const Place want = place(exact[k][0], exact[k][1], exact[k][2]);
            EXPECT_TRUE(got.x == want.x && got.y == want.y && got.w == want.w)
                << "frame " << k << " at scale " << scale << ": " << got.x.fixed(70) << " "
                << got.y.fixed(70);
        }
    }
    // Equal widths pan in equal steps.
    const ZoomSegment pan({Real(0.0, 64), Real(0.0, 64), Real(1.0, 64)},
                          {Real(1.0, 64), Real(-2.0, 64), Real(1.0, 64)}, 5);
    const Place quarter = pan.frame(1);
    EXPECT_TRUE(quarter.x == Real(0.25, 64) && quarter.y == Real(-0.5, 64) && pan.zoomBits() == 0);
}

TEST(ZoomPath, StepsSpreadByWeightAtLeastOneEach) {
    const std::tuple<std::vector<double>, int, std::vector<int>> cases[] = {
        {{1}, 599, {599}},
        {{1, 1}, 10, {5, 5}},
        {{1, 1}, 9, {5, 4}},       // a tie: the earlier segment
        {{1, 3}, 8, {2, 6}},       // in proportion
        {{0, 1, 1}, 9, {1, 4, 4}}, // a pan gets one step
        {{0, 0}, 5, {3, 2}},       // only pans: equal shares
        {{0.01, 10, 0.01}, 3, {1, 1, 1}},
        {{0.5, 10, 0.5}, 6, {1, 4, 1}}, // raised to one: taken back from the largest
        {{1, 2, 3}, 7, {1, 2, 4}},      // 1.17, 2.33, 3.5: the largest remainder gets it
    };
    for (const auto& [weights, steps, want] : cases)
        EXPECT_EQ(spreadSteps(weights, steps), want)
            << weights.size() << " segments, " << steps << " steps";
}

TEST(MoviePlan, FramesLimitsColoursAndRotation) {
    // Three keys, each a zoom by 4: five frames, key 2 shared as frame 3.
    const MANDAT keys[] = {{-1, 0.25, 2, 256, 0x11, 0},
                           {0.5, 0.4375, 0.5, 1024, 0x22, 5},
                           {0.5, 0.4375, 0.125, 4096, 0x33, 0}};
    const auto plan = MoviePlan::make(keys, 5, false);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->steps(), (std::vector<int>{2, 2}));
    const double rows[][5] = {
        // frames 1 to 5: x, w, it, cs, cp
        {-1, 2, 1024, 0x11, 0},      // key 1 with key 2's limit
        {0, 1, 1024, 0x11, 3},       // rotation 2.5 rounds up
        {0.5, 0.5, 4096, 0x22, 5},   // key 2 starts the next segment
        {0.5, 0.25, 4096, 0x22, 3},  // 2.5 again, going down
        {0.5, 0.125, 4096, 0x33, 0}, // the last key as it is
    };
    for (int frame = 1; frame <= 5; ++frame) {
        const MANDAT v = plan->frame(frame);
        EXPECT_EQ((std::array{v.x, v.w, double(v.it), double(v.cs), double(v.cp)}),
                  std::to_array(rows[frame - 1]))
            << "frame " << frame;
    }
    std::string why;
    EXPECT_FALSE(MoviePlan::make(std::span(keys, 1), 5, false, &why));
    EXPECT_FALSE(MoviePlan::make(keys, 2, false, &why));
    EXPECT_EQ(why, "3 keys need at least as many frames, not 2");
}

// Deep keys: the frames carry their full centres, and shallow frames none.
TEST(MoviePlan, DeepFramesKeepEveryBit) {
    const auto deepKey = [](double w, int it) {
        const ExtFloat width = ExtFloat::of(1, static_cast<std::int64_t>(std::log2(w)));
        const long bits = centreBits(width);
        Real x(-0.75, bits);
        x += Real(ExtFloat::of(1, -180), bits);
        MANDAT v{x.toDouble(), 0.1, width.toDouble(), std::min(it, 32768), 0x782, 0};
        v.deep = std::make_shared<const DeepView>(DeepView{x, Real(0.1, bits), width, it});
        return v;
    };
    // From w = 1 to 2^-170 in 171 frames: frame n has w = 2^(1-n).
    const MANDAT keys[] = {{-0.75, 0.1, 1, 1024, 0x782, 0}, deepKey(std::ldexp(1, -170), 8192)};
    const auto plan = MoviePlan::make(keys, 171, true);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->frame(171), keys[1]);
    EXPECT_FALSE(plan->frame(1).deep || plan->frame(40).deep); // w = 2^-39 is above 5e-15
    const MANDAT deepest = plan->frame(170);
    ASSERT_TRUE(deepest.deep);
    EXPECT_EQ(deepest.deep->w, ExtFloat::of(1, -169));
    EXPECT_EQ(deepest.deep->it, 8192);
    EXPECT_EQ(deepest.deep->x.toDouble(), -0.75);
    EXPECT_FALSE(deepest.deep->x == Real(-0.75, 300)) << "the bit 2^-180 of the centre is lost";
    // Without --deep the same keys are their seven fields: widths floored.
    EXPECT_EQ(MoviePlan::make(keys, 171, false)->frame(171).w, 1e-15);
    EXPECT_FALSE(MoviePlan::make(keys, 171, false)->reference(171));
    // A third key 30 bits deeper: frames 1 to 170 zoom towards the second, 171 to 201 (the
    // second key's frame starting them) towards the third, whose orbit they share.
    const MANDAT three[] = {keys[0], keys[1], deepKey(std::ldexp(1, -200), 8192)};
    const auto longer = MoviePlan::make(three, 201, true);
    for (const auto& [frame, key] : {std::pair{2, 1}, {170, 1}, {171, 2}, {201, 2}}) {
        const auto reference = longer->reference(frame);
        ASSERT_TRUE(reference) << frame;
        EXPECT_TRUE(reference->w == three[key].deep->w && reference->x == three[key].deep->x)
            << frame;
    }
}

TEST(Posters, BandsAreRowsOfTheWholeRender) {
    const std::tuple<int, int, bool, int> cases[] = {// size, antialiased, bands
                                                     {200, 150, false, 3},
                                                     {200, 150, true, 3},
                                                     {37, 21, true, 21},
                                                     {64, 48, false, 1},
                                                     {100, 75, false, 7}};
    const MANDAT v{-0.7436438870371587, 0.1318259042053120, 0.004, 1024, 0x782, 0};
    for (const auto& [w, h, antialias, bands] : cases) {
        const auto plan = planPoster(w, h, antialias);
        ASSERT_TRUE(plan);
        const auto exported = planExport(ExportKind::Typed, w, h, antialias);
        EXPECT_TRUE(plan->renderW == exported->renderW && plan->renderH == exported->renderH &&
                    plan->k == exported->k);
        const KernelFrame whole = KernelFrame::of(v, plan->renderW, plan->renderH, v.it);
        const auto picture = [](const KernelFrame& f, const ExportPlan& cut) {
            std::vector<std::int16_t> counts(static_cast<std::size_t>(f.winx) * f.winy);
            fastRows(f, 0, f.winy, 1, counts.data());
            std::vector<Rgba> pixels;
            for (const std::int16_t n : counts)
                pixels.push_back(
                    rgba(static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), 0));
            return cutAndReduce(pixels, cut);
        };
        const std::vector<Rgba> full = picture(whole, *plan);
        std::vector<Rgba> joined;
        for (int k = 1; k <= bands; ++k) {
            const Band band = bandOf(*plan, k, bands);
            EXPECT_EQ(band.firstRow, static_cast<int>(joined.size()) / w);
            const std::vector<Rgba> rows = picture(bandFrame(whole, band), band.cut);
            joined.insert(joined.end(), rows.begin(), rows.end());
        }
        EXPECT_TRUE(joined == full) << w << "x" << h << " in " << bands;
    }
    EXPECT_TRUE(planPoster(40000, 30000, true));
    EXPECT_FALSE(planPoster(kMaxPosterSide + 1, 16, false));
}

TEST(Posters, StampReplacesTheChunkAndFramesAreRecognised) {
    const MANDAT v{-0.75, 0.1, 1e-3, 1024, 0x782, 7}, old{0, 0, 2, 256, 0, 0};
    // The signature, the IHDR of 400 x 100 pixels (its CRC left zero) and IEND.
    const std::vector<std::uint8_t> bare{
        0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0,   0,   0,   13,   'I',  'H',  'D',
        'R',  0,   0,   1,   0x90, 0,    0,    0,    100, 8,   6,   0,    0,    0,    0,
        0,    0,   0,   0,   0,    0,    0,    'I',  'E', 'N', 'D', 0xae, 0x42, 0x60, 0x82};
    std::vector<std::uint8_t> png = bare, notPng(40, 'x');
    ASSERT_TRUE(stampPng(png, old) && stampPng(png, v));
    EXPECT_EQ(png.size(), bare.size() + 12 + parameterChunkText(v, 4.0).size() - 4);
    const std::span<const char> text(reinterpret_cast<const char*>(png.data()), png.size());
    const auto line = ParameterReader(text, *parameterTextStart(text, FileKind::Png)).next();
    ASSERT_TRUE(line);
    EXPECT_TRUE(viewOf(*line) == v && line->aspect == 4.0);
    EXPECT_FALSE(stampPng(notPng, v));
    std::copy(bare.begin(), bare.begin() + 8, notPng.begin());      // a signature, then no IHDR
    std::vector<std::uint8_t> cut(bare.begin(), bare.begin() + 20); // an IHDR cut short
    EXPECT_FALSE(stampPng(notPng, v) || stampPng(cut, v));
    // name, bytes, size, view, whether they hold that frame
    const std::tuple<const char*, std::vector<std::uint8_t>, int, MANDAT, bool> cases[] = {
        {"the frame", png, 100, v, true},
        {"another size", png, 96, v, false},
        {"cut short", {png.begin(), png.end() - 1}, 100, v, false},
        {"no chunk", bare, 100, v, false},
        {"another view", png, 100, old, false},
    };
    for (const auto& [name, bytes, h, view, holds] : cases)
        EXPECT_EQ(holdsFrame(bytes, 400, h, parameterLine(view, 4.0)), holds) << name;
    EXPECT_EQ(frameFileName(12), "frame-000012.png");
}

} // namespace
} // namespace velq
