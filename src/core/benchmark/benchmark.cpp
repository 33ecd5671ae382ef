// The frame-to-frame step of the benchmark: the zoom and sequence 1's limit adaptation.
#include "core/benchmark/benchmark.h"

namespace velq {

int adaptBenchmarkLimit(int it, std::int32_t result, int winx, int winy) {
    // The product in 64 bits equals the 32-bit one wherever that does not overflow.
    const std::int64_t pixels = static_cast<std::int64_t>(winx) * winy;
    if (pixels <= 0) return it;
    const double d = result * 256.0 / static_cast<double>(pixels);
    if (it > 1000 && d > 512.0) return 512;
    if (it <= 999 && d < 200.0) return 1024;
    return it;
}

MANDAT nextBenchmarkFrame(const MANDAT& v, float factor, int sequenceTag, std::int32_t result,
                          int winx, int winy) {
    MANDAT next = v;
    next.w = v.w * static_cast<double>(factor);
    if (sequenceTag == 1) next.it = adaptBenchmarkLimit(v.it, result, winx, winy);
    return next;
}

} // namespace velq
