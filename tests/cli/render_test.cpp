// The renderer's pictures and benchmark runs against renders made here step by step.
#include "cli/render.h"
#include "core/benchmark/benchmark.h"
#include "core/render/fastkernel.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace velq {
namespace {

TEST(AsRendered, BringsEveryFieldIntoRange) {
    struct Case {
        MANDAT typed, rendered;
    };
    const Case cases[] = {
        {{-0.75, 0.25, 1.5, 1000, 0x1f, 3}, {-0.75, 0.25, 1.5, 1024, 0x1f, 3}},
        {{0, 0, 1e-20, 300, 0x782, -5}, {0, 0, kMinWidth, 512, 0x782, 0}},
        {{0, 0, -2.0, 0, -1, 1001}, {0, 0, kMinWidth, 256, -1, 1000}},
        {{1, 2, 3, 20000, 0, 1000}, {1, 2, 3, 32768, 0, 1000}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(asRendered(c.typed), c.rendered) << c.typed.it;
        EXPECT_EQ(asRendered(c.rendered), c.rendered) << c.typed.it;
    }
}

TEST(ViewLine, EveryDoubleToItsLastBit) {
    EXPECT_EQ(viewLine({-0.75, 0, 1.5, 1024, 0x1f, 3}), "view -0.75 0 1.5 1024 0x0000001f 3");
    EXPECT_EQ(viewLine({0.1, -1e-300, 2.7260158745e-09, 8192, -1, 1000}),
              "view 0.10000000000000001 -1e-300 2.7260158744999999e-09 8192 "
              "0xffffffff 1000");
}

TEST(LittleEndianCounts, TwoBytesPerCountLowFirst) {
    const std::vector<std::int16_t> counts = {0, 1, 1000, -1, 0x1234};
    EXPECT_EQ(littleEndianCounts(counts), std::string("\0\0\1\0\xe8\x03\xff\xff\x34\x12", 10));
}

TEST(Renderer, SameCountsAsOneWorkerWithThePlainLoop) {
    const MANDAT v =
        asRendered({-0.7454282857142857, -0.113008642857143, 6.7e-06, 1024, 0x741, 490});
    Renderer renderer(fastRows, 96, 64);
    const std::int32_t result = renderer.render(v);

    std::atomic<int> status{RenderStatus::Rendering};
    RenderWorkers workers(status);
    std::vector<std::int16_t> expected(96 * 64);
    EXPECT_EQ(workers.run(KernelFrame::of(v, 96, 64, 1024), expected.data(), referenceRows, 1),
              result);
    EXPECT_EQ(renderer.mandel(), expected);

    std::array<Rgba, kCmapEntries> cmap{};
    buildColourMap(v.cs, cmap);
    std::vector<Rgba> pixels(expected.size());
    recolour(expected, pixels, cmap, v.cp);
    EXPECT_EQ(renderer.pixels(), pixels);
}

TEST(Renderer, WideViewsUseTheLimitInForce) {
    // At w >= 2 the window renders with 256 whatever the view's limit says.
    Renderer wide(referenceRows, 32, 32), narrow(referenceRows, 32, 32);
    EXPECT_EQ(wide.render({-0.5, 0, 2.0, 32768, 0, 0}), narrow.render({-0.5, 0, 2.0, 256, 0, 0}));
    EXPECT_EQ(wide.mandel(), narrow.mandel());
}

// Three frames of a short sequence, stepped by hand with one worker and the plain loop.
TEST(RunBenchmark, MatchesFramesSteppedByHand) {
    for (int tag : {1, 3}) {
        const BenchmarkSequence s{tag, 3, {-0.75, 0.1, 1.2, 512, 0x742, 583}, 0.5f};
        std::atomic<int> status{RenderStatus::Rendering};
        RenderWorkers workers(status);
        std::vector<std::int16_t> mandel(kBenchmarkWidth * kBenchmarkHeight);
        MANDAT v = s.start;
        std::int64_t work = 0;
        for (int k = 0; k < s.frames; ++k) {
            const std::int32_t r = workers.run(
                KernelFrame::of(v, kBenchmarkWidth, kBenchmarkHeight, iterationLimitInForce(v)),
                mandel.data(), referenceRows, 1);
            work += r;
            v = nextBenchmarkFrame(v, s.factor, tag, r, kBenchmarkWidth, kBenchmarkHeight);
        }
        const BenchmarkRun run = runBenchmark(s, 0, fastRows);
        EXPECT_EQ(run.frames, 3);
        EXPECT_EQ(run.work, work) << tag;
        EXPECT_EQ(run.next, v) << tag;
        EXPECT_EQ(run.next.w, 1.2 * 0.5 * 0.5 * 0.5);
        EXPECT_GE(run.seconds, 0.0);
    }
}

TEST(RunBenchmark, FrameLimitOnlyShortens) {
    const BenchmarkSequence s{4, 3, {-0.75, 0.1, 1e-3, 256, 0x741, 470}, 2.0f};
    EXPECT_EQ(runBenchmark(s, 2, fastRows).frames, 2);
    EXPECT_EQ(runBenchmark(s, 2, fastRows).next.w, 4e-3);
    EXPECT_EQ(runBenchmark(s, 5, fastRows).frames, 3);
}

} // namespace
} // namespace velq
