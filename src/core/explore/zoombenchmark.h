// The feel of the wheel, measured: notches sent as a hand sends them, through the same
// pipeline the window uses, with the time until each notch's picture is ready.
#pragma once

#include "core/render/kernel.h"
#include "core/view/mandat.h"

#include <vector>

namespace velq {

struct ZoomBenchmarkSetup {
    int notches = 120;
    double hertz = 60;
    int winx = 1280, winy = 960;
    MANDAT start{0.0, 0.0, 2.0, 1024, 0x782, 0};
    // The point the pointer rests on: the seahorse valley.
    double pointerX = -0.7436438870371587, pointerY = 0.1318259042053120;
};

struct ZoomLatencies {
    std::vector<double> first; // ms from a notch to its moved or scaled picture
    std::vector<double> exact; // ms from a notch to its exact picture, waited for each time
};

// Two passes: the notches at their pace while renders run behind them, then each notch
// waiting for its exact picture.
ZoomLatencies runZoomBenchmark(RowKernel kernel, const ZoomBenchmarkSetup& setup = {});

// The value below which a share `q` (0..1) of the samples lie: the nearest rank.
double percentile(std::vector<double> samples, double q);

} // namespace velq
