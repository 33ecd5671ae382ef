// Rendering views and benchmark frames without a window, through the window's own pieces.
#include "cli/render.h"

#include "core/benchmark/benchmark.h"
#include "core/files/paramline.h"
#include "core/view/iterationlimit.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>

namespace velq {

MANDAT asRendered(const MANDAT& v) {
    MANDAT r{
        v.x, v.y, v.deep ? v.w : floorWidth(v.w), allowedLimit(v.it), v.cs, clampRotation(v.cp)};
    r.deep = v.deep; // a deep view keeps its width, below the floor too
    return r;
}

std::string viewLine(const MANDAT& v) {
    char line[160];
    const int n = std::snprintf(line, sizeof line,
                                "view %.17g %.17g %.17g %" PRId32 " 0x%08" PRIx32 " %" PRId32, v.x,
                                v.y, v.w, v.it, static_cast<std::uint32_t>(v.cs), v.cp);
    return std::string(line, static_cast<std::size_t>(n)) + deepExtras(v);
}

std::string littleEndianCounts(std::span<const std::int16_t> mandel) {
    std::string bytes;
    bytes.reserve(mandel.size() * 2);
    for (const std::int16_t v : mandel) {
        const auto u = static_cast<std::uint16_t>(v);
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
}

Renderer::Renderer(RowKernel kernel, int winx, int winy)
    : kernel_(kernel), winx_(winx), winy_(winy),
      mandel_(static_cast<std::size_t>(winx) * static_cast<std::size_t>(winy)),
      pixels_(mandel_.size()) {}

void Renderer::useColourWord(int cs) {
    if (mapFor_ == cs) return;
    buildColourMap(cs, cmap_);
    mapFor_ = cs;
}

std::int32_t Renderer::render(const MANDAT& v, const std::function<void(int)>& rowsTaken,
                              const DeepView* reference) {
    useColourWord(v.cs);
    // Nothing stops a headless render: a frame always comes.
    const KernelFrame frame =
        *renders_.frame(v, winx_, winy_, iterationLimitInForce(v), status_, reference);
    workers_.start(frame, mandel_.data(), DeepRenders::kernel(frame, kernel_),
                   RenderWorkers::kThreads);
    while (!workers_.waitFor(std::chrono::milliseconds(100)))
        if (rowsTaken) rowsTaken(std::min(workers_.rowsClaimed(), winy_));
    const std::int32_t result = workers_.finish();
    recolour(mandel_, pixels_, cmap_, v.cp);
    return result;
}

int benchmarkFrames(const BenchmarkSequence& sequence, int frameLimit) {
    return frameLimit > 0 && frameLimit < sequence.frames ? frameLimit : sequence.frames;
}

BenchmarkRun runBenchmark(const BenchmarkSequence& sequence, int frameLimit, RowKernel kernel,
                          const std::function<void(int)>& framesDone) {
    Renderer renderer(kernel, kBenchmarkWidth, kBenchmarkHeight);
    BenchmarkRun run;
    run.frames = benchmarkFrames(sequence, frameLimit);
    MANDAT v = sequence.start;
    renderer.useColourWord(v.cs); // before the clock starts, as the window does
    const auto t0 = std::chrono::steady_clock::now();
    for (int k = 0; k < run.frames; ++k) {
        const std::int32_t result = renderer.render(v);
        run.work += result;
        v = nextBenchmarkFrame(v, sequence.factor, sequence.tag, result, kBenchmarkWidth,
                               kBenchmarkHeight);
        if (framesDone) framesDone(k + 1);
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - t0;
    run.seconds = seconds.count();
    run.next = v;
    return run;
}

} // namespace velq
