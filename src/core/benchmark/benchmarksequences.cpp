// The benchmark's zoom sequences: two zooming in from wide views, two zooming out of deep ones.
#include "core/benchmark/benchmarksequences.h"

#include <array>
#include <cstddef>

namespace velq {
namespace {

const std::array<BenchmarkSequence, 4> kSequences{{
    {1, 200, {-1.76860711170213, -0.00222919071832819, 5.0, 1024, 0x721, 591}, 0.9f},
    {2,
     250,
     {-1.9415584659357656, 0.00011277206327090914, 5.0000003826749175, 2048, 0x281, 771},
     0.9f},
    {3, 80, {-0.756423894629558, 0.0641794108447811, 2.7260158745e-09, 8192, 0x742, 583}, 1.25f},
    {4, 450, {-1.56947810295, 2e-08, 3e-06, 1024, 0x741, 470}, 1.0f / 0.97f},
}};

} // namespace

std::optional<BenchmarkSequence> benchmarkSequence(int tag) {
    if (tag < 1 || tag > static_cast<int>(kSequences.size())) return std::nullopt;
    return kSequences[static_cast<std::size_t>(tag - 1)];
}

} // namespace velq
