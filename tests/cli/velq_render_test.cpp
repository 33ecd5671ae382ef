// The headless renderer: what each argument list sets or why it is refused, and its pictures
// and benchmark runs against renders made here step by step.
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/render.h"
#include "core/benchmark/benchmark.h"
#include "core/render/fastkernel.h"

#include <gtest/gtest.h>
#include <sstream>

namespace velq {
namespace {

ParsedArguments parse(const std::string& line) {
    std::istringstream in(line);
    const std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    const std::vector<std::string_view> args(words.begin(), words.end());
    return parseArguments(args);
}

// What the options hold, in one line; defaults left out.
std::string summary(const RenderOptions& o) {
    std::ostringstream s;
    const MANDAT& v = o.view;
    if (o.source == ViewSource::View)
        s << "view " << v.x << " " << v.y << " " << v.w << " " << v.it << " " << v.cs << " "
          << v.cp;
    if (o.galleryTag) s << "gallery " << o.galleryTag;
    if (!o.file.empty()) s << (o.source == ViewSource::Png ? "png " : "mdl ") << o.file;
    if (o.width) s << ", " << o.width << "x" << o.height;
    if (!o.out.empty()) s << ", out " << o.out;
    if (!o.counts.empty()) s << ", counts " << o.counts;
    if (o.kernel != fastRows) s << (o.kernel == referenceRows ? ", reference" : ", no kernel");
    if (const auto& p = o.exportPlan)
        s << ", " << p->outW << "x" << p->outH << " from " << p->renderW << "x" << p->renderH;
    if (o.bench) s << "bench " << o.bench << " frames " << o.frames;
    if (o.quiet) s << ", quiet";
    if (o.movie) s << ", movie " << o.movie << " " << o.firstFrame << "-" << o.lastFrame;
    if (!o.video.empty()) s << ", video " << o.video << " at " << o.fps;
    if (o.band) s << ", band " << o.band << "/" << o.bands;
    if (!o.stamp.empty()) s << ", stamp " << o.stamp;
    return s.str();
}

TEST(Options, AcceptedListsAndWhatTheySet) {
    const std::pair<const char*, const char*> cases[] = {
        {"--view -0.75 1e-3 1.5 1000 0x1F -4 --size 640x480",
         "view -0.75 0.001 1.5 1000 31 -4, 640x480"},
        {"--view 0x1p-2 0 2 256 1922 0 --size 16x32", "view 0.25 0 2 256 1922 0, 16x32"},
        {"--view 0 0 2 -2147483648 0xffffffff 0 --size 16x16",
         "view 0 0 2 -2147483648 -1 0, 16x16"},
        {"--gallery 150 --size 16x16 --kernel reference", "gallery 150, 16x16, reference"},
        {"--mdl a.mdl --size 32x16 --out o.png --counts c",
         "mdl a.mdl, 32x16, out o.png, counts c"},
        {"--size 32768x16 --png x.PNG", "png x.PNG, 32768x16"},
        {"--gallery 111 --thumbnail --out t.png", "gallery 111, out t.png, 160x120 from 320x240"},
        {"--export 1000x750 --gallery 101 --out e.png",
         "gallery 101, out e.png, 1000x750 from 1008x752"},
        {"--gallery 101 --export 1x1 --antialias --out e", "gallery 101, out e, 1x1 from 32x32"},
        {"--bench 4", "bench 4 frames 0"},
        {"--bench deep", "bench 101 frames 0"},
        {"--kernel reference --bench 1 --frames 7", ", referencebench 1 frames 7"},
        {"--gallery=111 --size=32x16 --out=--x.png --counts=- --kernel=reference --quiet",
         "gallery 111, 32x16, out --x.png, counts -, reference, quiet"},
        {"--bench=3 --frames=2 --quiet", "bench 3 frames 2, quiet"},
        {"--movie 600 --mdl k.mdl --size 64x48 --out f --frame-range 5-20",
         "mdl k.mdl, 64x48, out f, movie 600 5-20"},
        {"--movie 2 --mdl k --size 16x16 --video m.WebM --fps=2.997e1",
         "mdl k, 16x16, movie 2 0-0, video m.WebM at 29.97"},
        {"--gallery 111 --export 40000x30000 --antialias --band 7/60 --out -",
         "gallery 111, out -, 40000x30000 from 80000x60000, band 7/60"},
        {"--stamp p.png --png q.png --deep", "png q.png, stamp p.png"},
    };
    for (const auto& [line, want] : cases) {
        const ParsedArguments parsed = parse(line);
        ASSERT_TRUE(parsed.options) << line << ": " << parsed.error;
        EXPECT_EQ(summary(*parsed.options), want) << line;
    }
}

// Each refusal is one line that starts with the argument it refuses.
TEST(Options, RefusalsNameTheirArgument) {
    const std::string v = "--view 0 0 2 256 0 0 ";
    const std::pair<std::string, const char*> cases[] = {
        {"--frobnicate", "'--frobnicate': unknown"},
        {"--view 0 0 2", "--view: expects X Y W IT CS CP"},
        {"--view 0 0 2 256 0 --size 16x16", "--view: expects"},
        {"--view zero 0 2 256 0 0", "--view: X 'zero'"},
        {"--deep --view nan 0 1e-20 256 0 0", "--view: X 'nan' is not a number"},
        {"--deep --view 0 1e400 1e-20 256 0 0", "--view: Y '1e400' is beyond the doubles'"},
        {"--deep --view 0 0 1e400 256 0 0", "--view: W '1e400' is beyond the doubles'"},
        {"--view 0 0 2 256.0 0 0", "--view: IT '256.0'"},
        {"--view 0 0 2 2147483648 0 0", "--view: IT"},
        {"--view 0 0 2 256 0xg 0", "--view: CS '0xg'"},
        {"--view 0 0 2 256 -1 0", "--view: CS '-1'"},
        {"--view 0 0 2 256 0x100000000 0", "--view: CS"},
        {"--view 0 0 2 256 0 1.5", "--view: CP '1.5'"},
        {v + "--size 320x241", "--size: '320x241'"},
        {v + "--size 0x240", "--size: '0x240'"},
        {v + "--size 32784x16", "--size: '32784x16'"},
        {v, "--size: missing"},
        {v + "--kernel slow --size 16x16", "--kernel: 'slow'"},
        {"--size 16x16", "--view, --gallery, --mdl or --png: missing"},
        {"--gallery 100 --size 16x16", "--gallery: '100'"},
        {"--mdl a.mdl --png b.png --size 16x16", "--png: only one of"},
        {v + "--export 640x480", "--export: needs --out"},
        {v + "--export 640 --out e.png", "--export: '640'"},
        {v + "--export 0x480 --out e.png", "--export: The width"},
        {v + "--thumbnail --export 640x480 --out e.png", "--export: not with"},
        {v + "--antialias --size 16x16", "--antialias: only with --export"},
        {"--bench 5", "--bench: '5' is not a benchmark (1, 2, 3, 4, zoom, deep)"},
        {"--view=0 0 2 256 0 0", "--view: expects X Y W IT CS CP as separate arguments"},
        {v + "--size=16x16 --thumbnail=yes", "--thumbnail: takes no value"},
        {v + "--size=16x16 --size 32x32", "--size: given twice"},
        {v + "--size 16x16 --out=", "--out: expects FILE"},
        {v + "--size 16x16 --export 64x64 --out e.png", "--size: not with --export"},
        {v + "--size 32768x16384", "--size: '32768x16384' has more than 268435456 pixels"},
        {v + "--size 16x16 --out - --counts -", "--counts: '-' as well as --out"},
        {"--frob --help", "'--frob': unknown"},
        {"--bench 1 --size 320x240", "--size: not with --bench"},
        {"--bench 1 --frames 0", "--frames: '0'"},
        {v + "--size 16x16 --frames 3", "--frames: only with --bench"},
        {"--movie 1 --mdl k --size 16x16 --out f", "--movie: '1'"},
        {v + "--movie 9 --size 16x16 --out f", "--movie: needs --mdl"},
        {"--movie 9 --mdl k --out f", "--size: missing"},
        {"--movie 9 --mdl k --size 16x16", "--movie: needs --out DIR or --video FILE"},
        {"--movie 9 --mdl k --size 16x16 --out f --counts c", "--counts: not with --movie"},
        {"--movie 9 --mdl k --size 16x16 --out f --frame-range 3-10", "--frame-range: the movie"},
        {"--movie 9 --mdl k --size 16x16 --out f --frame-range 4-3", "--frame-range: '4-3'"},
        {"--movie 9 --mdl k --size 16x16 --video m.mp4 --frame-range 1-3", "--frame-range: not"},
        {"--movie 9 --mdl k --size 16x16 --video m.mp4 --out f", "--out: not with --video"},
        {"--movie 9 --mdl k --size 16x16 --video m.avi", "--video: 'm.avi'"},
        {"--movie 9 --mdl k --size 16x16 --out f --fps 24", "--fps: only with --video"},
        {"--movie 9 --mdl k --size 16x16 --video m.mp4 --fps 0", "--fps: '0'"},
        {v + "--size 16x16 --frame-range 1-2", "--frame-range: only with --movie"},
        {v + "--size 16x16 --band 1/2 --out b", "--band: only with --export"},
        {v + "--export 64x3 --band 1/4 --out b", "--band: 4 bands of a picture 3 rows high"},
        {v + "--export 64x48 --band 0/4 --out b", "--band: '0/4'"},
        {v + "--export 64x48 --band 1/4", "--band: needs --out"},
        {v + "--export 64x48 --band 1/4 --out b --counts c", "--counts: not with --band"},
        {v + "--export 40000x30000 --band 1/2 --out b", "--band: band 1 renders 600000000"},
        {v + "--export 2000000x16 --band 1/2 --out b", "--export: The width"},
        {v + "--stamp p.png --size 16x16", "--size: not with --stamp"},
    };
    for (const auto& [line, named] : cases) {
        const ParsedArguments parsed = parse(line);
        EXPECT_FALSE(parsed.options) << line;
        EXPECT_TRUE(parsed.error.starts_with(named) && parsed.error.find('\n') == std::string::npos)
            << line << " -> " << parsed.error;
    }
}

// Nothing in the first second, nor off a terminal or with --quiet; then the share done and the
// time left at the rate so far, drawn over a longer line, ten times a second at most and at
// once after a clear (a done of -1 here).
TEST(Progress, LineInPlaceAndItsEstimate) {
    const std::string p = "\rvelq-render: ";
    // on a terminal, quiet, the total, steps (milliseconds since the start, items done), shown
    const std::tuple<bool, bool, int, std::vector<std::pair<int, int>>, std::string> cases[] = {
        {true, false, 50, {{1000, 10}, {2000, 21}}, p + "42 % (21 of 50 views) 3 s left"},
        {true, false, 50, {{5000, 0}}, p + "0 % (0 of 50 views)"},
        {true, false, 50, {{10000, 1}}, p + "2 % (1 of 50 views) 8 min 10 s left"},
        {true, false, 1000, {{10000, 1}}, p + "0 % (1 of 1000 views) 2 h 46 min left"},
        {false, false, 50, {{2000, 21}}, ""},
        {true, true, 50, {{2000, 21}}, ""},
        {true,
         false,
         100,
         {{2000, 1}, {2050, 2}, {9900, 99}, {9900, -1}, {9900, 100}},
         p + "1 % (1 of 100 views) 3 min 18 s left" + p + "99 % (99 of 100 views) 1 s left     " +
             "\r" + std::string(44, ' ') + "\r" + p + "100 % (100 of 100 views) 0 s left"},
    };
    for (const auto& [terminal, quiet, total, steps, shown] : cases) {
        auto now = std::chrono::steady_clock::time_point{};
        std::string out;
        ProgressLine line(
            "views", total, terminal, quiet, [&] { return now; },
            [&](std::string_view text) { out += text; });
        for (const auto& [ms, done] : steps) {
            now = std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(ms);
            done < 0 ? line.clear() : line.update(done);
        }
        EXPECT_EQ(out, shown) << total << " " << steps.back().first;
    }
}

// The limit rounded up to an allowed one, the rotation clamped, the width floored.
TEST(Render, ViewsAsTheWindowTakesThemAndTheirLines) {
    const MANDAT cases[][2] = {
        {{-0.75, 0.25, 1.5, 1000, 0x1f, 3}, {-0.75, 0.25, 1.5, 1024, 0x1f, 3}},
        {{0, 0, 1e-20, 300, 0x782, -5}, {0, 0, kMinWidth, 512, 0x782, 0}},
        {{0, 0, -2.0, 0, -1, 1001}, {0, 0, kMinWidth, 256, -1, 1000}},
        {{1, 2, 3, 20000, 0, 1000}, {1, 2, 3, 32768, 0, 1000}},
    };
    for (const auto& [typed, rendered] : cases) {
        EXPECT_EQ(asRendered(typed), rendered) << typed.it;
        EXPECT_EQ(asRendered(rendered), rendered) << typed.it;
    }
    EXPECT_EQ(viewLine({0.1, -1e-300, 2.7260158745e-09, 8192, -1, 1000}),
              "view 0.10000000000000001 -1e-300 2.7260158744999999e-09 8192 0xffffffff 1000");
    EXPECT_EQ(littleEndianCounts(std::vector<std::int16_t>{0, 1, 1000, -1, 0x1234}),
              std::string("\0\0\1\0\xe8\x03\xff\xff\x34\x12", 10));
}

// Frames stepped by hand, each from the last one's result: counts, colours and results as one
// worker with the plain loop makes them at the limit in force. A frame limit only shortens.
TEST(Render, BenchmarkRunsAsFramesSteppedByHand) {
    const int n = kBenchmarkWidth * kBenchmarkHeight;
    for (int tag : {1, 3}) {
        const BenchmarkSequence s{tag, 3, {-0.75, 0.1, 1.2, 2048, 0x742, 583}, 0.5f};
        Renderer renderer(fastRows, kBenchmarkWidth, kBenchmarkHeight);
        MANDAT v = s.start;
        std::int64_t work = 0;
        for (int k = 0; k < s.frames; ++k) {
            std::atomic<int> status{RenderStatus::Rendering};
            std::vector<std::int16_t> counts(n);
            const KernelFrame f =
                KernelFrame::of(v, kBenchmarkWidth, kBenchmarkHeight, iterationLimitInForce(v));
            const std::int32_t result =
                RenderWorkers(status).run(f, counts.data(), referenceRows, 1);
            EXPECT_EQ(renderer.render(v), result) << tag << " frame " << k;
            EXPECT_EQ(renderer.mandel(), counts) << tag << " frame " << k;
            std::array<Rgba, kCmapEntries> cmap{};
            buildColourMap(v.cs, cmap);
            std::vector<Rgba> pixels(n);
            recolour(counts, pixels, cmap, v.cp);
            EXPECT_EQ(renderer.pixels(), pixels) << tag << " frame " << k;
            work += result;
            v = nextBenchmarkFrame(v, s.factor, tag, result, kBenchmarkWidth, kBenchmarkHeight);
        }
        for (int limit : {0, 2, 5}) {
            const BenchmarkRun run = runBenchmark(s, limit, fastRows);
            EXPECT_EQ(run.frames, limit == 2 ? 2 : 3);
            EXPECT_TRUE(limit == 2 || (run.work == work && run.next == v && run.seconds >= 0))
                << tag;
        }
    }
}

} // namespace
} // namespace velq
