// Precision and limits of deep views.
#include "core/deep/deepview.h"

#include <algorithm>

namespace velq {

long centreBits(const ExtFloat& w) {
    // A pixel is about 2w / 65536 = w * 2^-15; the centre of magnitude up to 4 (2 bits above
    // the point) needs bits down to that pixel, and 64 for the arithmetic below it.
    const std::int64_t belowPoint = w.isZero() ? 0 : std::max<std::int64_t>(0, 15 - w.exponent());
    return static_cast<long>(std::min<std::int64_t>(belowPoint + 2 + 64, 1 << 20));
}

ExtFloat pixelStep(const ExtFloat& w, int winx, int winy) {
    return (w + w) / ExtFloat(std::max(std::min(winx, winy), 1));
}

std::int32_t allowedDeepLimit(std::int64_t requested) {
    std::int32_t limit = 256;
    while (limit < requested && limit < kMaxDeepIterations)
        limit *= 2;
    return limit;
}

} // namespace velq
