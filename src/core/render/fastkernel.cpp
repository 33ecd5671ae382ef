// Dispatch of the fast kernel to the instruction set of this processor, and the groups that
// need no iteration at all.
#include "core/render/fastkernel.h"

#include "core/render/boundedorbit.h"
#include "core/render/fastkernel_lanes.h"

#include <algorithm>
#include <vector>

namespace velq {
namespace {

using LaneRows = std::int64_t (*)(const KernelFrame&, int, int, int, const ColumnSpan*, int,
                                  std::int16_t*);

// Groups without pixels and limits below 2 are settled here, so the lane engines only ever
// see pixels that take at least one step. So are the tiles whose samples provably run to the
// limit (settleBoundedTiles); a coarse pass leaves them to the lanes, since its samples are
// few and far between.
template <LaneRows lanes, BoundedDiscs bounds>
std::int64_t rowsWith(const KernelFrame& f, int r0, int rowCount, int stride,
                      std::int16_t* mandel) {
    const int rows = std::min(rowCount, f.winy - r0);
    if (rows <= 0 || f.winx <= 0 || stride < 1) return 0;
    if (f.itLim >= 2) {
        if (stride > 1) {
            const ColumnSpan whole{0, f.winx};
            return lanes(f, r0, rows, stride, &whole, 1, mandel);
        }
        std::int64_t settled = 0;
        const std::vector<ColumnSpan> rest =
            settleBoundedTiles(f, r0, rows, mandel, settled, bounds);
        if (rest.empty()) return settled;
        return settled + lanes(f, r0, rows, 1, rest.data(), static_cast<int>(rest.size()), mandel);
    }
    // A limit of 1 spends one iteration on every pixel, a lower one none; both store 0.
    std::int64_t pixels = 0;
    for (int row = r0; row < r0 + rows; ++row) {
        std::int16_t* out = mandel + static_cast<std::ptrdiff_t>(row) * f.winx;
        for (std::int64_t i = 0; i < f.winx; i += stride, ++pixels)
            out[i] = 0;
    }
    return f.itLim == 1 ? pixels : 0;
}

// What the build for one instruction set provides: its rows of the fast kernel and the bound
// that settles their tiles; nothing where this processor lacks the set.
struct IsaBuild {
    RowKernel rows = nullptr;
    BoundedDiscs bounds = nullptr;
};

IsaBuild buildFor(Isa isa) {
    if (!isaSupported(isa)) return {};
    switch (isa) {
    case Isa::Sse2:
        return {rowsWith<lanes::rowsSse2, lanes::boundsSse2>, lanes::boundsSse2};
    case Isa::Avx2:
        return {rowsWith<lanes::rowsAvx2, lanes::boundsAvx2>, lanes::boundsAvx2};
    case Isa::Avx512:
        return {rowsWith<lanes::rowsAvx512, lanes::boundsAvx512>, lanes::boundsAvx512};
    }
    return {};
}

} // namespace

bool isaSupported(Isa isa) {
    __builtin_cpu_init();
    switch (isa) {
    case Isa::Sse2:
        return true;
    case Isa::Avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case Isa::Avx512:
        return __builtin_cpu_supports("avx512f");
    }
    return false;
}

Isa bestIsa() {
    for (Isa isa : {Isa::Avx512, Isa::Avx2})
        if (isaSupported(isa)) return isa;
    return Isa::Sse2;
}

std::string_view isaName(Isa isa) {
    switch (isa) {
    case Isa::Sse2:
        return "sse2";
    case Isa::Avx2:
        return "avx2";
    case Isa::Avx512:
        return "avx512";
    }
    return "";
}

RowKernel fastRowsFor(Isa isa) {
    return buildFor(isa).rows;
}

BoundedDiscs boundedDiscsFor(Isa isa) {
    return buildFor(isa).bounds;
}

std::int64_t fastRows(const KernelFrame& frame, int r0, int rowCount, int stride,
                      std::int16_t* mandel) {
    static const RowKernel best = fastRowsFor(bestIsa());
    return best(frame, r0, rowCount, stride, mandel);
}

RowKernel kernelNamed(std::string_view name) {
    if (name == "reference") return referenceRows;
    if (name == "fast") return fastRows;
    return nullptr;
}

} // namespace velq
