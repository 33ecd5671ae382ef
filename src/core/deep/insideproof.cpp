// Inside points of deep views, proven rather than iterated to the limit.
//
// A pixel whose orbit returns ever nearer a point near 0 seems drawn to an attracting cycle.
// Newton's method finds the cycle's point for the pixel's c, and a disc about it that maps
// into itself after one period, every rounding bounded, proves the cycle attracting. By
// Fatou's theorem an attracting cycle draws in the orbit of the critical point 0, so the
// orbit stays bounded: the pixel never escapes, and its count is the limit, exactly what
// iterating to the limit would give.
//
// Inside pixels mostly lie beside others of the same component: the cycle point of the last
// one, moved along its derivative by c, is where the next pixel's disc is tried first.
#include "core/deep/deepplan.h"

#include <algorithm>

namespace velq {

DeepPlan::Settled DeepPlan::closeApproach(DoubleState& s, Cd z) const {
    constexpr unsigned kLags = DoubleState::kLags;
    if (s.trapTries < kTrapTries) {
        std::array<double, kLags> gap;
        bool near = false;
        const double gate = norm(z) * kReturnNear;
        for (unsigned l = 0; l < kLags; ++l) {
            const double re = z.re - s.nearRe[l], im = z.im - s.nearIm[l];
            gap[l] = re * re + im * im;
            near |= gap[l] < gate;
        }
        // Returns ever nearer each other, and near compared with |z|: worth a proof, again
        // only once they are four times nearer than at the last one tried.
        for (unsigned l = 0; near && l < kLags && s.nearN[l] >= 0; ++l) {
            const std::int64_t period = s.n - s.nearN[l];
            if (gap[l] < gate && gap[l] < s.nearGap[l] && gap[l] < s.triedGap * (1.0 / 16) &&
                period <= kMaxTrapPeriod && s.n + period < limit_) {
                s.period = period;
                s.triedGap = gap[l];
                break;
            }
        }
        s.nearGap = gap;
    }
    std::copy_backward(s.nearRe.begin(), s.nearRe.end() - 1, s.nearRe.end());
    std::copy_backward(s.nearIm.begin(), s.nearIm.end() - 1, s.nearIm.end());
    std::copy_backward(s.nearN.begin(), s.nearN.end() - 1, s.nearN.end());
    s.nearRe[0] = z.re;
    s.nearIm[0] = z.im;
    s.nearN[0] = s.n;
    return s.period != 0 ? Cycle : Go;
}

std::optional<DeepPlan::Walk> DeepPlan::walk(Cd dc, Cd z0, std::int64_t period, double r) const {
    const Cd* const ref = orbit_->data();
    const double up = 1 + 0x1p-40; // covers the rounding of the bounds themselves
    const double dcAbs = sumAbs(dc);
    const double referenceError = std::ldexp(1.0, -static_cast<int>(orbit_->bits()) + 8);
    // The reach is taken where z is least, at the rebases; it only sizes the next disc.
    Walk w{z0, {1.0, 0.0}, {0.0, 0.0}, norm(z0), false};
    Cd& d = w.z;
    Cd z = z0; // with the reference at its start
    std::int32_t m = 0;
    double radius = r;
    for (std::int64_t j = 0; j < period; ++j) {
        const Cd zr = ref[m], twice{z.re + z.re, z.im + z.im};
        if (r > 0) {
            // |f(z + h) - f(z)| <= 2 |z| |h| + |h|^2, plus the step's own errors: its
            // roundings (at most 2^-50 of each term), Z's rounding to a double, and the
            // reference's. |z| is at most the rounded |Z + delta|, a little over, and Z's
            // rounding and the reference's; the small terms take |re| + |im| for |.|.
            const double zAbs = sumAbs(zr), dAbs = sumAbs(d);
            const double rounding = 0x1p-50 * (2 * zAbs * dAbs + dAbs * dAbs + dcAbs) +
                                    0x1p-52 * zAbs * dAbs + referenceError;
            const double pointAbs = absAbove(z) + 0x1p-50 * zAbs + referenceError;
            radius = ((2 * pointAbs * up) * radius + radius * radius + rounding) * up;
        }
        w.dz = twice * w.dz;
        w.dc = twice * w.dc + Cd{1.0, 0.0};
        d = deltaStep(zr, d, dc);
        ++m;
        z = ref[m] + d;
        if (!(norm(z) <= 4.0) || !(radius < 1.0)) return std::nullopt;
        if ((m > 1 && norm(z) < near_) || normLess(z, d) || m == orbit_->last()) {
            radius += (0x1p-51 * (sumAbs(ref[m]) + sumAbs(d)) + referenceError) * up;
            d = z;
            m = 0;
            w.reach = std::min(w.reach, norm(z) / norm(w.dz));
            if (w.back == 0 && j + 1 < period && norm(z - z0) < norm(z0) * 0x1p-40) w.back = j + 1;
        }
    }
    if (m != 0) return std::nullopt;
    w.reach = std::sqrt(w.reach);
    if (r > 0) {
        const double gap = absAbove(d - z0) * up + 0x1p-52 * (sumAbs(d) + sumAbs(z0));
        w.trapped = gap + radius < r;
    }
    return w;
}

bool DeepPlan::provenAbout(Cd dc, Cd z0, CycleSeed& seed) const {
    // The disc: small enough that the period's map stays nearly linear on it, so that it
    // draws the disc in by about the multiplier; the rounding is far below it.
    const double r = seed.reach * (1.0 - seed.lambda) * (1.0 / 16);
    if (!(r > 0)) return false;
    const std::optional<Walk> w = walk(dc, z0, seed.period, r);
    if (!w || !w->trapped) return false;
    // For the next pixel: the cycle's point after one more Newton step, and its derivative by
    // c (from z = f(z, c): dz/dc = f_c / (1 - f_z)).
    const Cd oneLess{w->dz.re - 1.0, w->dz.im};
    seed.z = z0 - (w->z - z0) / oneLess;
    seed.c = dc;
    seed.slope = Cd{} - w->dc / oneLess;
    seed.lambda = std::sqrt(norm(w->dz));
    seed.reach = w->reach;
    return true;
}

bool DeepPlan::cycleInside(Cd dc, CycleSeed& seed) const {
    if (seed.reach > 0 && provenAbout(dc, seed.z + seed.slope * (dc - seed.c), seed)) return true;
    // Newton's method on f^p(z) - z from the seed's point.
    Cd z = seed.z;
    std::optional<Walk> w;
    for (int k = 0;; ++k) {
        if (k == kNewtonSteps || !(w = walk(dc, z, seed.period))) return false;
        const Cd move = (w->z - z) / Cd{w->dz.re - 1.0, w->dz.im};
        z = z - move;
        if (!(norm(move) >= norm(z) * 0x1p-60)) break;
    }
    // A cycle found at a multiple of its period is proven at its own period.
    if (w->back != 0 && seed.period % w->back == 0) {
        seed.period = w->back;
        if (!(w = walk(dc, z, seed.period))) return false;
    }
    seed.lambda = std::sqrt(norm(w->dz));
    seed.reach = w->reach;
    return seed.lambda < 1.0 && provenAbout(dc, z, seed);
}

} // namespace velq
