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

// Tiles this many columns wide (and as high as the group) are tried first; one whose bound
// held half the limit is tried again in quarters, down to kNarrowest columns. A tile costs
// up to the limit in steps of the bound, so narrower ones would cost more than the pixels
// they save, and wider ones hold for fewer steps.
constexpr int kWidest = 64;
constexpr int kNarrowest = 16;

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
    std::vector<ColumnSpan> tiles;
    for (int begin = 0; begin < f.winx; begin += kWidest)
        tiles.push_back({begin, std::min(begin + kWidest, f.winx)});
    std::vector<char> bounded(f.winx, 0); // per column
    for (int width = kWidest; !tiles.empty(); width /= 4) {
        const auto count = tiles.size();
        std::vector<double> cr(count), cis(count, ci), radius(count);
        for (std::size_t t = 0; t < count; ++t) {
            const double left = sample(tiles[t].begin, f.hx, f.s, f.x);
            const double right = sample(tiles[t].end - 1, f.hx, f.s, f.x);
            cr[t] = (left + right) / 2.0;
            // Samples move monotonically with their column and row, so the corners are the
            // farthest from the middle.
            radius[t] =
                std::hypot(std::max(std::fabs(left - cr[t]), std::fabs(right - cr[t])), rowReach) *
                bounds::kRoundUp;
        }
        std::vector<int> held(count);
        discs(cr.data(), cis.data(), radius.data(), static_cast<int>(count), f.itLim, held.data());
        std::vector<ColumnSpan> narrower;
        for (std::size_t t = 0; t < count; ++t) {
            const auto [begin, end] = tiles[t];
            if (held[t] == f.itLim)
                std::fill(bounded.begin() + begin, bounded.begin() + end, 1);
            else if (width > kNarrowest && held[t] >= f.itLim / 2)
                for (int c = begin; c < end; c += width / 4)
                    narrower.push_back({c, std::min(c + width / 4, end)});
        }
        tiles = std::move(narrower);
    }
    std::vector<ColumnSpan> rest;
    for (int c = 0; c < f.winx;) {
        const char kind = bounded[c];
        const int begin = c;
        while (c < f.winx && bounded[c] == kind)
            ++c;
        if (kind == 0) {
            rest.push_back({begin, c});
            continue;
        }
        for (int row = r0; row < r0 + rows; ++row) {
            std::int16_t* out = mandel + static_cast<std::ptrdiff_t>(row) * f.winx;
            std::fill(out + begin, out + c, std::int16_t{0});
        }
        iterations += static_cast<std::int64_t>(c - begin) * rows * f.itLim;
    }
    return rest;
}

} // namespace velq
