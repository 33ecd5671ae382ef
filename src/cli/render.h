// The headless renderer's pictures and benchmark runs, computed as the window computes them.
#pragma once

#include "core/benchmark/benchmarksequences.h"
#include "core/colour/colormap.h"
#include "core/deep/deeprender.h"
#include "core/render/kernel.h"
#include "core/render/renderworkers.h"
#include "core/view/mandat.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velq {

// A view as the window renders it: the width floored, the limit an allowed one, the rotation
// in range. Applying it twice changes nothing.
MANDAT asRendered(const MANDAT& v);

// "view X Y W IT 0xCS CP": the rendered view, every double to its last bit.
std::string viewLine(const MANDAT& v);

// The counts as a counts file holds them: 16-bit little-endian, row by row from the top.
std::string littleEndianCounts(std::span<const std::int16_t> mandel);

// One picture of fixed size, rendered again for each view: the counts and their colours.
class Renderer {
public:
    Renderer(RowKernel kernel, int winx, int winy);

    // Renders `v` as it stands (bring it in with asRendered first) on the window's eight
    // workers and recolours it; returns the render result. While the workers run, `rowsTaken`
    // is called on this thread about ten times a second with the rows they have taken.
    // A deep view's orbit is `reference`'s when that lies in the picture (see prepareDeep).
    std::int32_t render(const MANDAT& v, const std::function<void(int)>& rowsTaken = {},
                        const DeepView* reference = nullptr);
    // Builds the colour map for `cs` unless it is the one in use.
    void useColourWord(int cs);

    int winx() const { return winx_; }
    int winy() const { return winy_; }
    const std::vector<std::int16_t>& mandel() const { return mandel_; }
    const std::vector<Rgba>& pixels() const { return pixels_; }

private:
    RowKernel kernel_;
    int winx_, winy_;
    std::atomic<int> status_{RenderStatus::Rendering};
    DeepRenders renders_;
    RenderWorkers workers_{status_};
    std::vector<std::int16_t> mandel_;
    std::vector<Rgba> pixels_;
    std::array<Rgba, kCmapEntries> cmap_{};
    std::optional<int> mapFor_; // the colour word the map was built for
};

struct BenchmarkRun {
    int frames = 0;
    std::int64_t work = 0; // the sum of the frames' render results
    double seconds = 0.0;  // wall clock over the frames and their recolouring
    MANDAT next;           // the view after the last frame: w already stepped once more
};

// The frames a run renders: the first `frameLimit` (all of them for 0).
int benchmarkFrames(const BenchmarkSequence& sequence, int frameLimit);

// Renders benchmarkFrames of `sequence` at the benchmark's size, each stepped from the last by
// nextBenchmarkFrame; `framesDone` is told after each.
BenchmarkRun runBenchmark(const BenchmarkSequence& sequence, int frameLimit, RowKernel kernel,
                          const std::function<void(int)>& framesDone = {});

} // namespace velq
