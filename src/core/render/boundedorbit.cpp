// Orbits that provably stay bounded (the argument is in boundedorbit_lanes.h), for whole tiles
// at once.
#include "core/render/boundedorbit.h"

#include "core/render/boundedorbit_lanes.h"

#include <algorithm>
#include <cmath>

namespace velq {
namespace {

// One disc at a time, in the same operations as the vector lanes.
struct Scalar {
    static constexpr int W = 1;
    using D = double;
    using M = bool;
    static D set1(double v) { return v; }
    static D add(D a, D b) { return a + b; }
    static D sub(D a, D b) { return a - b; }
    static D mul(D a, D b) { return a * b; }
    static D sqrt(D a) { return std::sqrt(a); }
    static D load(const double* p) { return *p; }
    static void store(double* p, D v) { *p = v; }
    static M le(D a, D b) { return a <= b; }
    static M both(M a, M b) { return a && b; }
    static M butNot(M a, M b) { return a && !b; }
    static M all() { return true; }
    static unsigned bits(M m) { return m ? 1 : 0; }
    static D select(M m, D a, D b) { return m ? a : b; }
};

// Tiles this many columns wide (and as high as the group): a tile costs up to the limit in
// steps of the bound, so narrower ones would cost more than the pixels they save, and wider
// ones hold for fewer steps.
constexpr int kTileColumns = 64;

double sample(int index, int half, double step, double origin) {
    return static_cast<double>(index - half) * step + origin;
}

} // namespace

int boundedSteps(double cr, double ci, double radius, int limit) {
    int held = 0;
    bounds::boundedDiscs<Scalar>(&cr, &ci, &radius, 1, limit, &held);
    return std::max(held, 0);
}

std::vector<ColumnSpan> settleBoundedTiles(const KernelFrame& f, int r0, int rows,
                                           std::int16_t* mandel, std::int64_t& iterations,
                                           BoundedDiscs discs) {
    const double top = sample(r0, f.hy, -f.s, f.y);
    const double bottom = sample(r0 + rows - 1, f.hy, -f.s, f.y);
    const double ci = (top + bottom) / 2.0;
    const double rowReach = std::max(std::fabs(top - ci), std::fabs(bottom - ci));
    const int tiles = (f.winx + kTileColumns - 1) / kTileColumns;
    std::vector<double> cr(tiles), cis(tiles, ci), radius(tiles);
    for (int t = 0; t < tiles; ++t) {
        const double left = sample(t * kTileColumns, f.hx, f.s, f.x);
        const double right = sample(std::min((t + 1) * kTileColumns, f.winx) - 1, f.hx, f.s, f.x);
        cr[t] = (left + right) / 2.0;
        // Samples move monotonically with their column and row, so the corners are the
        // farthest from the middle.
        radius[t] =
            std::hypot(std::max(std::fabs(left - cr[t]), std::fabs(right - cr[t])), rowReach) *
            bounds::kRoundUp;
    }
    std::vector<int> held(tiles);
    discs(cr.data(), cis.data(), radius.data(), tiles, f.itLim, held.data());
    std::vector<ColumnSpan> rest;
    for (int t = 0; t < tiles; ++t) {
        const int begin = t * kTileColumns, end = std::min(begin + kTileColumns, f.winx);
        if (held[t] == f.itLim) {
            for (int row = r0; row < r0 + rows; ++row) {
                std::int16_t* out = mandel + static_cast<std::ptrdiff_t>(row) * f.winx;
                std::fill(out + begin, out + end, std::int16_t{0});
            }
            iterations += static_cast<std::int64_t>(end - begin) * rows * f.itLim;
        } else if (!rest.empty() && rest.back().end == begin) {
            rest.back().end = end;
        } else {
            rest.push_back({begin, end});
        }
    }
    return rest;
}

} // namespace velq
