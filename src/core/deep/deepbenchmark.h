// The deep renderer's benchmark: fixed deep views, each prepared and rendered on the render
// workers as the window would, timed from the view to the finished counts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velq {

struct DeepBenchView {
    const char* name;
    const char* x;
    const char* y;
    const char* w;
    std::int32_t limit;
    int winx, winy;
};

// The views of `velq-render --bench deep`, written out in docs/performance.md.
const std::vector<DeepBenchView>& deepBenchViews();

struct DeepBenchRun {
    double prepareSeconds = 0;   // the reference orbit and the tables
    double seconds = 0;          // preparing and rendering
    std::int64_t iterations = 0; // the plain loop's, to within 256 per group of rows
};

// Prepares and renders `view` once on `threads` workers.
DeepBenchRun runDeepBench(const DeepBenchView& view, int threads = 8);

} // namespace velq
