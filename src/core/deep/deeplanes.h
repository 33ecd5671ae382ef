// Pixels whose delta lies beyond the maps of the approximation most of the time, stepped eight
// at a time in vector lanes. Each lane does exactly what its pixel would do alone: the longest
// map that holds for its delta, else one step of deltaStep, with the same operations in the
// same order, so that its doubles are the same.
#pragma once

#include "core/deep/complexdelta.h"

#include <cstdint>

namespace velq {

// The lanes' pixels, part by part.
struct DeepLanes {
    static constexpr int kWidth = 8;
    alignas(64) double dr[kWidth], di[kWidth], cr[kWidth], ci[kWidth];
    alignas(64) std::int64_t m[kWidth], n[kWidth];
    // Lanes without a pixel (all bits set): they stay where they are and never ask for a look.
    alignas(64) std::int64_t idle[kWidth];
};

// What the lanes need of the plan: the reference Z_0 .. Z_last, the limit, the square below
// which z is a close approach, and the maps. Level l (low <= l <= high) starts at levels[l -
// low]: the map of 2^l steps from m = 1 + i 2^l is kMapSize doubles from levels[l - low] + i
// kMapSize on, A (re, im), B (re, im) and the bound that max(|re|, |im|) of the delta must
// stay below. A map is taken only where it ends within the reference and the limit; where
// several hold, the longest (bounds shrink as levels rise).
struct DeepLaneBounds {
    static constexpr std::int64_t kMapSize = 5;
    static constexpr int kBound = 4;
    const Cd* ref;
    std::int64_t last, limit;
    double near;
    const double* const* levels;
    int low, high;
    // The bounds of the lowest level again, densely: reach[i] for i below `maps`, then 0.
    const double* reach;
    std::int64_t maps;
};

// Steps every busy lane until, after a step or a run of maps, some of them may need more: an
// escape, the limit, the end of the reference, a close approach to 0, a z nearer to 0 than the
// delta (or a delta too small to compare squared). Returns those lanes as bits. Each busy lane's
// index must be below `last`.
unsigned stepDeepLanes(DeepLanes& lanes, const DeepLaneBounds& bounds);

// The same on one lane after another, and on AVX2 and AVX-512 vectors (where the processor
// has them).
unsigned stepDeepLanesPlain(DeepLanes& lanes, const DeepLaneBounds& bounds);
unsigned stepDeepLanesAvx2(DeepLanes& lanes, const DeepLaneBounds& bounds);
unsigned stepDeepLanesAvx512(DeepLanes& lanes, const DeepLaneBounds& bounds);
bool deepLanesHaveAvx2();
bool deepLanesHaveAvx512();

} // namespace velq
