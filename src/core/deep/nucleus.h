// Minibrots near a point: the lowest period whose nucleus may lie within a radius, the nucleus
// by Newton's method, and the minibrot's size and direction. Deep views worth rendering sit
// next to them.
#pragma once

#include "core/deep/extfloat.h"
#include "core/deep/real.h"

#include <optional>

namespace velq {

struct Nucleus {
    int period = 0;
    Real x, y;
    ExtFloat size;      // the minibrot is the whole set scaled by size ...
    double degrees = 0; // ... and turned by this angle
};

// The lowest period p <= maxPeriod at which the disc of z_p over the c within `radius` of
// x + i y holds 0 (before z escapes), then the root of z_p(c) = 0 from x + i y, at `bits`.
// Nothing when no period is found or Newton's method leaves the finite numbers.
std::optional<Nucleus> findNucleus(const Real& x, const Real& y, const ExtFloat& radius,
                                   int maxPeriod, long bits);

} // namespace velq
