// Views and the window around them: Back, Forward and the log rule of the history ring, the
// allowed iteration limits, the gallery's places, the benchmark's sequences, picture sides in
// steps of 16 and zoom frames, and the host version classes.
#include "core/benchmark/benchmark.h"
#include "core/benchmark/benchmarksequences.h"
#include "core/gallery/gallery.h"
#include "core/host/hostversion.h"
#include "core/sizing/sizing.h"
#include "core/view/history.h"
#include "core/view/iterationlimit.h"

#include <bit>
#include <climits>
#include <gtest/gtest.h>

namespace velq {
namespace {

// Stands in for the render command: the ring sees the view left, then the new one shows.
// '<' goes back, '>' forward (where the ring allows it), '=' redraws the shown view with
// another limit, a letter shows that new view. The views shown and logged, as letters.
std::pair<std::string, std::string> session(HistoryRing& ring, std::string_view steps) {
    MANDAT shown{}; // the all-zero record of a new window
    std::string seen, logged;
    for (const char step : steps) {
        if ((step == '<' && !ring.canGoBack()) || (step == '>' && !ring.canGoForward())) continue;
        MANDAT next = step == '<'   ? ring.backTarget()
                      : step == '>' ? ring.forwardTarget()
                                    : MANDAT{double(step), 0, 1, 1024, 0x782, step};
        if (step == '=') (next = shown).it = 4096;
        if (!ring.contains(shown)) logged += static_cast<char>(shown.cp);
        ring.record(shown, step == '<'   ? Backup::Back
                           : step == '>' ? Backup::Forward
                           : step == '=' ? Backup::Same
                                         : Backup::NewView);
        seen += static_cast<char>((shown = next).cp);
    }
    return {seen, logged};
}

TEST(HistoryRing, EightSlotsHoldSixStepsEachWayAndANewViewEndsTheForwardHistory) {
    HistoryRing start, full, cut;
    session(start, "a");
    EXPECT_FALSE(start.canGoBack() || start.canGoForward() || start.oldest());
    EXPECT_EQ(start.currentSlot(), 1);
    EXPECT_EQ(session(full, "abcdefghijkl<<<<<<<>>>>>>>").first, "abcdefghijklkjihgfghijkl");
    EXPECT_EQ(session(cut, "abcde<<i><<<<>>>>").first, "abcdedcicbabci"); // d, e out of reach
    EXPECT_EQ(full.oldest()->cp, 'f');
    EXPECT_EQ(cut.oldest()->cp, 'a');
    HistoryRing middle; // with views ahead, the oldest is still the furthest back
    session(middle, "abcdefghijkl<<<");
    EXPECT_EQ(middle.oldest()->cp, 'f');
}

// A view left is logged only when no slot, empty ones included, equals it: the all-zero
// record equals the empty entries; b is in no slot when first left; a was stored when it was
// first left; c and its redraw both leave the ring.
TEST(HistoryRing, SameSlotRedrawsTheLogRuleAndTheWrapBelowZero) {
    HistoryRing ring, logging;
    EXPECT_EQ(session(ring, "ab=<>").first, "abbab");
    EXPECT_FALSE(ring.contains({double('b'), 0, 1, 1024, 0x782, 'b'})); // b gave way to its redraw
    EXPECT_EQ(session(logging, "ab<>c=d").second, "abcc");
    HistoryRing wrapped;
    wrapped.record(MANDAT{}, Backup::NewView);
    wrapped.record({1, 1, 1, 1024, 0, 1}, Backup::Back);
    wrapped.record({2, 2, 2, 1024, 0, 2}, Backup::Back);
    EXPECT_EQ(wrapped.currentSlot(), 7);
    EXPECT_EQ(&wrapped.backTarget(), &wrapped.Mandath()[6]);
    EXPECT_EQ(wrapped.forwardTarget().cp, 2);
    EXPECT_FALSE(wrapped.canGoBack());
}

TEST(IterationLimit, RoundsUpToAnAllowedPowerOfTwo) {
    const int cases[][2] = {{INT_MIN, 256}, {0, 256},        {256, 256},     {257, 512},
                            {1000, 1024},   {1024, 1024},    {1025, 2048},   {4097, 8192},
                            {8192, 8192},   {8193, 16384},   {16385, 32768}, {32768, 32768},
                            {40000, 32768}, {INT_MAX, 32768}};
    for (const auto& [requested, limit] : cases) {
        EXPECT_EQ(allowedLimit(requested), limit) << requested;
        EXPECT_EQ(needsLargeLimits(limit), limit > 8192) << requested;
    }
}

// One place spelled out; every bit of every place and title folded into one number (FNV-1a).
TEST(Gallery, FiftyExactPlacesAndTitles) {
    EXPECT_EQ(galleryPreset(101),
              (MANDAT{-0.0938884202514072, 0.959822827920789, 3.14928e-12, 1024, 0x781, 647}));
    std::uint64_t hash = 14695981039346656037u;
    const auto fold = [&hash](std::uint64_t word) {
        for (int k = 0; k < 8; ++k, word >>= 8)
            hash = (hash ^ (word & 0xFF)) * 1099511628211u;
    };
    int tag = kFirstGalleryTag;
    for (const GalleryPreset& p : galleryPresets()) {
        EXPECT_EQ(p.tag, tag++);
        EXPECT_EQ(galleryPreset(p.tag), p.view);
        for (double d : {p.view.x, p.view.y, p.view.w})
            fold(std::bit_cast<std::uint64_t>(d));
        for (std::int32_t n : {p.tag, p.view.it, p.view.cs, p.view.cp})
            fold(static_cast<std::uint32_t>(n));
        for (char c : p.title)
            fold(static_cast<unsigned char>(c));
    }
    EXPECT_EQ(hash, 9615651631404995101u);
    EXPECT_EQ(tag, kLastGalleryTag + 1);
    for (int outside : {0, 100, 151, -101})
        EXPECT_FALSE(galleryPreset(outside)) << outside;
}

// Results of a mean of exactly 512 and of 200 iterations per pixel at 320 x 240: a limit
// above 1000 is lowered to 512 only above 512, one below 1000 raised to 1024 only below 200.
TEST(AdaptBenchmarkLimit, StrictThresholdsOnTheMeanPerPixel) {
    const int m512 = 153600, m200 = 60000;
    const int cases[][5] = {
        {1024, m512, 320, 240, 1024},    {1024, m512 + 1, 320, 240, 512},
        {2048, m512 + 1, 320, 240, 512}, {512, m200, 320, 240, 512},
        {512, m200 - 1, 320, 240, 1024}, {999, 0, 320, 240, 1024},
        {1001, 1 << 30, 320, 240, 512},  {1000, 0, 320, 240, 1000},
        {1000, 1 << 30, 320, 240, 1000}, {512, m512 + 1, 320, 240, 512},
        {1024, 0, 320, 240, 1024},       {1024, m512 / 4 + 1, 160, 120, 512},
        {512, 0, 0, 240, 512},           {512, 0, 240, -1, 512},
    };
    for (const auto& [it, result, winx, winy, expected] : cases)
        EXPECT_EQ(adaptBenchmarkLimit(it, result, winx, winy), expected)
            << it << " " << result << " " << winx << "x" << winy;
}

// Each frame widens the float factor to double for the product; only sequence 1 adapts.
TEST(BenchmarkSequences, StartViewsAndFramesZoomedByTheWidenedFactor) {
    const MANDAT starts[] = {
        {-1.76860711170213, -0.00222919071832819, 5.0, 1024, 0x721, 591},
        {-1.9415584659357656, 0.00011277206327090914, 5.0000003826749175, 2048, 0x281, 771},
        {-0.756423894629558, 0.0641794108447811, 2.7260158745e-09, 8192, 0x742, 583},
        {-1.56947810295, 2e-08, 3e-06, 1024, 0x741, 470}};
    const double factors[] = {0.8999999761581421, 0.8999999761581421, 1.25, 1.0309277772903442};
    const int frames[] = {200, 250, 80, 450};
    for (int tag = 1; tag <= 4; ++tag) {
        const BenchmarkSequence s = benchmarkSequence(tag).value();
        EXPECT_EQ(std::tuple(s.tag, s.frames, static_cast<double>(s.factor), s.start),
                  std::tuple(tag, frames[tag - 1], factors[tag - 1], starts[tag - 1]));
        MANDAT v = s.start, want = s.start;
        for (int k = 0; k < 3; ++k) {
            v = nextBenchmarkFrame(v, s.factor, tag, 153601, 320, 240);
            want.w *= factors[tag - 1];
            want.it = tag == 1 ? 512 : want.it;
            EXPECT_EQ(v, want) << tag << " frame " << k;
        }
    }
    for (int tag : {0, 5, -1})
        EXPECT_FALSE(benchmarkSequence(tag)) << tag;
}

TEST(Sizing, SidesZoomFramesAndWindowLimits) {
    const int sides[][3] = {{320, 320, 320}, {335, 320, 336}, {17, 16, 32},
                            {1, 16, 16},     {-40, 16, -32},  {1000, 992, 1008}};
    for (const auto& [side, down, up] : sides)
        EXPECT_EQ(std::pair(pictureSide(side), roundUp16(side)), std::pair(down, up)) << side;
    const int zooms[][6] = {
        {1024, 768, 8, 94, 1008, 672}, {1030, 790, 8, 94, 1008, 688}, {1032, 790, 8, 94, 1024, 688},
        {300, 600, 120, 30, 176, 560}, {100, 100, 8, 94, 80, 16},
    };
    for (const auto& [w, h, marginW, marginH, width, height] : zooms) {
        const PictureSize z = zoomPicture({0, 0, double(w), double(h)}, {marginW, marginH});
        EXPECT_EQ(std::pair(z.width, z.height), std::pair(width, height)) << w << "x" << h;
    }
    const FrameRect f = windowFrameFor(5, 7, 320, 240);
    EXPECT_EQ(std::tuple(f.x, f.y, f.w, f.h), std::tuple(5.0, 7.0, 328.0, 334.0));
    EXPECT_EQ(std::tuple(maxWindowHeight(700), maxWindowHeight(110), maxWindowHeight(40)),
              std::tuple(686, 110, 110)); // at least one row of 16
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
