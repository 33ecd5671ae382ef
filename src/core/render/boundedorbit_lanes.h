// The bound of boundedorbit.cpp for V::W discs side by side, written once over a vector type
// and compiled for each instruction set beside the lane engine (and for one disc at a time in
// boundedorbit.cpp). Like fastkernel_lanes.h, it pulls in no standard-library template.
//
// Take a centre C and its orbit Z_n, both as doubles, and any sample c = C + dc with
// |dc| <= radius, whose orbit z_n the plain loop computes. Each computed step is the exact
// z² + c plus a rounding error of at most 8u(|z|² + |c|₁), u = 2^-53 (five units of the three
// products and two sums, with room to spare). So δ_n = z_n − Z_n follows
//     δ_{n+1} = 2 Z_n δ_n + δ_n² + dc + e(z_n) − e(Z_n).
// Write δ_n = A_n·dc + ε_n with A_{n+1} = 2 Z_n A_n + 1, A as computed in doubles (its
// rounding, at most 32u(|Z||A| + 1) a step, moved into ε):
//     |ε_{n+1}| <= 2|Z_n| |ε_n| + |δ_n|² + |e(z_n)| + |e(Z_n)| + |rounding of A|·radius,
// with |δ_n| <= |A_n|·radius + |ε_n|. While |Z_n| + |δ_n| <= 2, which each step checks, the
// three rounding terms together stay below one constant. Every bound is rounded up. Keeping
// A complex, rather than multiplying the |2Z|, lets the phases of its terms cancel: near the
// edge of the set a tile holds hundreds of steps longer.
//
// While |Z_n| + |δ_n| stays below 2 by a margin that the rounding of the bailout test cannot
// cross, no sample of the disc escapes at step n.
#pragma once

namespace velq::bounds {
namespace {

constexpr double kUnit = 0x1p-53;
constexpr double kRoundUp = 1.0 + 0x1p-40; // covers the rounding of a few operations of a bound
constexpr double kEdge = 2.0 - 0x1p-20;    // |z| below it tests |z|² <= 4 however rounded

// held[k]: the steps n = 1, 2, ... below `limit` that disc k provably keeps below the
// bailout, `limit` when all of them. `cSize[k]` is |cr| + |ci| + 2·radius of the disc.
template <class V>
void boundedSteps(const double* cr, const double* ci, const double* radius, const double* cSize,
                  int limit, double* held) {
    using D = typename V::D;
    using M = typename V::M;
    const D vcr = V::load(cr), vci = V::load(ci), vr = V::load(radius), up = V::set1(kRoundUp);
    const D two = V::set1(2.0), one = V::set1(1.0), edge = V::set1(kEdge);
    // With |z|, |Z| <= 2 and |A|·radius <= 2: 8u(4 + 4 + 2|c|₁) + 32u(2·2 + radius).
    const D rounding =
        V::mul(V::add(V::set1(192.0 * kUnit), V::add(V::mul(V::set1(16.0 * kUnit), V::load(cSize)),
                                                     V::mul(V::set1(32.0 * kUnit), vr))),
               up);
    D zr = V::set1(0.0), zi = zr, ar = zr, ai = zr, zAbs = zr, aAbs = zr, eps = zr;
    D at = V::set1(limit);
    M live = V::all();
    for (int n = 1; n < limit; ++n) {
        const D delta = V::mul(V::add(V::mul(aAbs, vr), eps), up);
        eps = V::mul(V::add(V::add(V::mul(V::mul(two, zAbs), eps), V::mul(delta, delta)), rounding),
                     up);
        const D nar = V::add(V::mul(two, V::sub(V::mul(zr, ar), V::mul(zi, ai))), one);
        const D nai = V::mul(two, V::add(V::mul(zr, ai), V::mul(zi, ar)));
        const D zr2 = V::mul(zr, zr), zi2 = V::mul(zi, zi), zrzi = V::mul(zr, zi);
        zr = V::add(V::sub(zr2, zi2), vcr);
        zi = V::add(V::add(zrzi, zrzi), vci);
        ar = nar;
        ai = nai;
        zAbs = V::mul(V::sqrt(V::add(V::mul(zr, zr), V::mul(zi, zi))), up);
        aAbs = V::mul(V::sqrt(V::add(V::mul(ar, ar), V::mul(ai, ai))), up);
        const M holds = V::le(V::add(zAbs, V::mul(V::add(V::mul(aAbs, vr), eps), up)), edge);
        const M gone = V::butNot(live, holds);
        if (V::bits(gone) != 0) {
            at = V::select(gone, V::set1(n), at);
            live = V::both(live, holds);
            if (V::bits(live) == 0) break;
        }
    }
    V::store(held, at);
}

// The same for `count` discs, V::W at a time.
template <class V>
void boundedDiscs(const double* cr, const double* ci, const double* radius, int count, int limit,
                  int* held) {
    constexpr int W = V::W;
    for (int k0 = 0; k0 < count; k0 += W) {
        double r[W], i[W], reach[W], size[W], at[W];
        for (int k = 0; k < W; ++k) {
            const int from = k0 + k < count ? k0 + k : k0; // the last few repeat the first
            r[k] = cr[from];
            i[k] = ci[from];
            reach[k] = radius[from];
            size[k] = (__builtin_fabs(r[k]) + __builtin_fabs(i[k]) + 2.0 * reach[k]) * kRoundUp;
        }
        boundedSteps<V>(r, i, reach, size, limit, at);
        for (int k = 0; k < W && k0 + k < count; ++k)
            held[k0 + k] = static_cast<int>(at[k]);
    }
}

} // namespace
} // namespace velq::bounds
