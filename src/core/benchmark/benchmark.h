// Stepping a benchmark sequence from one frame to the next, shared by the window and the CLI.
#pragma once

#include "core/view/mandat.h"

#include <cstdint>

namespace velq {

// Every benchmark frame has this size, whatever the window's size was before.
inline constexpr int kBenchmarkWidth = 320;
inline constexpr int kBenchmarkHeight = 240;

// Sequence 1's limit after a frame with render result `result` at winx x winy pixels. The mean
// iterations per pixel d = result * 256 / pixels lowers a limit above 1000 to 512 when
// d > 512, and raises a limit of at most 999 to 1024 when d < 200; 1000 itself never changes.
// A picture without pixels keeps the limit.
int adaptBenchmarkLimit(int it, std::int32_t result, int winx, int winy);

// The view of the frame after `v`: w times the widened factor, and for sequence 1 only the
// limit adapted to the frame just rendered.
MANDAT nextBenchmarkFrame(const MANDAT& v, float factor, int sequenceTag, std::int32_t result,
                          int winx, int winy);

} // namespace velq
