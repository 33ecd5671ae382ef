// Maps a toolkit version number to its host version class.
#include "core/host/hostversion.h"

#include <cmath>

namespace velq {

double osversionFor(double toolkitVersion) {
    const double v = std::floor(toolkitVersion);
    if (v <= 577) return 10.0;
    if (v <= 620) return 10.1;
    if (v <= 663) return 10.2;
    return 10.3;
}

} // namespace velq
