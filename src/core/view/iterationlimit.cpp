// Rounding of requested iteration limits to the allowed powers of two.
#include "core/view/iterationlimit.h"

namespace velq {

int allowedLimit(int requested) {
    int limit = kMinIterations;
    // Stops at the maximum before the doubling could pass it, so huge requests are safe.
    while (limit < requested && limit < kMaxIterations)
        limit *= 2;
    return limit;
}

} // namespace velq
