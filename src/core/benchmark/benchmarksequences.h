// The four fixed zoom sequences of the benchmark, addressed by menu tag.
#pragma once

#include "core/view/mandat.h"

#include <optional>

namespace velq {

struct BenchmarkSequence {
    int tag = 0;
    int frames = 0;
    MANDAT start;
    // w is multiplied by this after each frame; a float, widened to double for the product.
    float factor = 1.0f;
};

// The sequence of a benchmark tag (1..4); nothing for any other tag.
std::optional<BenchmarkSequence> benchmarkSequence(int tag);

} // namespace velq
