// The escape-time kernel: counts for the pixels of a group of rows, as a pure function.
#pragma once

#include "core/view/mandat.h"

#include <cstdint>

namespace velq {

class DeepPlan;

// What a worker reads once when it starts: the view's centre, the pixel step and the size.
struct KernelFrame {
    double x = 0.0;
    double y = 0.0;
    double s = 0.0; // pixel step, (w + w) / min(winx, winy)
    int winx = 0;
    int winy = 0;
    int hx = 0; // winx / 2
    int hy = 0; // winy / 2
    int itLim = 0;
    // The plan of a deep render, held by whoever started it until the workers are done; null
    // for every other render.
    const DeepPlan* deep = nullptr;

    static KernelFrame of(const MANDAT& view, int winx, int winy, int itLim);
};

// Columns [begin, end) of every row of a group.
struct ColumnSpan {
    int begin;
    int end;
};

// Escape count of c = cr + i ci with limit `limit`: 0 for a point that did not escape,
// else the raw count reduced into 1..1000. Adds the iterations spent to `iterations`.
int escapeCount(double cr, double ci, int limit, std::int64_t& iterations);

// Computes `rowCount` rows from row `r0`, every `stride`-th column of each row, into
// `mandel` (winx * winy counts, row-major). Returns the iterations spent.
using RowKernel = std::int64_t (*)(const KernelFrame& frame, int r0, int rowCount, int stride,
                                   std::int16_t* mandel);

// The plain loop that defines every count; the oracle of the faster kernels.
std::int64_t referenceRows(const KernelFrame& frame, int r0, int rowCount, int stride,
                           std::int16_t* mandel);

} // namespace velq
