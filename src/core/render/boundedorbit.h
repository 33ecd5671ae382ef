// Tiles of a picture whose every sample provably runs to the limit, settled without iterating.
#pragma once

#include "core/render/kernel.h"

#include <cstdint>
#include <vector>

namespace velq {

// The steps n = 1, 2, ... below `limit` for which every sample c within `radius` of (cr, ci)
// provably keeps |z_n| < 2 in the plain loop's doubles: `limit` when no such sample ever
// escapes, fewer when the bound gave out first (on any NaN or infinity too).
int boundedSteps(double cr, double ci, double radius, int limit);

// boundedSteps for `count` discs into held[0 .. count − 1], as one instruction set computes it.
using BoundedDiscs = void (*)(const double* cr, const double* ci, const double* radius, int count,
                              int limit, int* held);

// The tiles of rows r0 .. r0 + rows − 1 (all full rows of the frame) whose samples provably
// never escape are stored as 0, as the plain loop leaves them; returns the column spans left
// to iterate and adds the plain loop's iterations of the settled pixels to `iterations`.
std::vector<ColumnSpan> settleBoundedTiles(const KernelFrame& f, int r0, int rows,
                                           std::int16_t* mandel, std::int64_t& iterations,
                                           BoundedDiscs discs);

} // namespace velq
