// The plain escape-time loop. Every faster kernel must give these counts bit for bit.
#include "core/render/kernel.h"

#include <algorithm>

namespace velq {

KernelFrame KernelFrame::of(const MANDAT& view, int winx, int winy, int itLim) {
    KernelFrame f;
    f.x = view.x;
    f.y = view.y;
    f.s = (view.w + view.w) / static_cast<double>(std::min(winx, winy));
    f.winx = winx;
    f.winy = winy;
    f.hx = winx / 2;
    f.hy = winy / 2;
    f.itLim = itLim;
    return f;
}

int escapeCount(double cr, double ci, int limit, std::int64_t& iterations) {
    if (limit <= 0) return 0;
    // The squares and the cross product carry over, so each step costs three products
    // and the bailout test reuses the squares.
    double zr2 = 0.0, zi2 = 0.0, zrzi = 0.0;
    int k = 1;
    for (;;) {
        const double zr = (zr2 - zi2) + cr;
        const double zi = (zrzi + zrzi) + ci;
        ++iterations;
        ++k;
        if (k > limit) return 0;
        zr2 = zr * zr;
        zi2 = zi * zi;
        zrzi = zr * zi;
        if (zr2 + zi2 > 4.0) // a NaN orbit never passes and runs to the limit
            return (k - 1) % 1000 + 1;
    }
}

std::int64_t referenceRows(const KernelFrame& f, int r0, int rowCount, int stride,
                           std::int16_t* mandel) {
    std::int64_t iterations = 0;
    const int rows = std::min(rowCount, f.winy - r0);
    for (int row = 0; row < rows; ++row) {
        const int rr = r0 + row - f.hy;
        const double ci = static_cast<double>(rr) * (-f.s) + f.y;
        std::int16_t* out = mandel + static_cast<std::ptrdiff_t>(r0 + row) * f.winx;
        for (int c = -f.hx, i = 0; c < f.winx - f.hx; c += stride, i += stride) {
            const double cr = static_cast<double>(c) * f.s + f.x;
            out[i] = static_cast<std::int16_t>(escapeCount(cr, ci, f.itLim, iterations));
        }
    }
    return iterations;
}

} // namespace velq
