// Complex numbers of the per-pixel deltas: plain doubles, and doubles with a shared wide
// exponent for deltas below the smallest double. Written out rather than std::complex, whose
// product goes through a library call that sorts out infinities.
#pragma once

#include "core/deep/extfloat.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace velq {

struct Cd {
    double re = 0.0;
    double im = 0.0;
};

inline Cd operator+(Cd a, Cd b) {
    return {a.re + b.re, a.im + b.im};
}
inline Cd operator-(Cd a, Cd b) {
    return {a.re - b.re, a.im - b.im};
}
inline Cd operator*(Cd a, Cd b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
inline double norm(Cd a) {
    return a.re * a.re + a.im * a.im;
}
inline Cd operator/(Cd a, Cd b) {
    const double b2 = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / b2, (a.im * b.re - a.re * b.im) / b2};
}
// |re| + |im|: at most sqrt 2 above |a|.
inline double sumAbs(Cd a) {
    return std::fabs(a.re) + std::fabs(a.im);
}
// |a|, a little over: within a few ulps where |a|^2 is a normal double, else |re| + |im|.
inline double absAbove(Cd a) {
    const double a2 = a.re * a.re + a.im * a.im;
    return a2 > 0x1p-1000 ? std::sqrt(a2) * (1 + 0x1p-50) : std::fabs(a.re) + std::fabs(a.im);
}
// max(|re|, |im|): within a factor sqrt 2 below |a|, and free of the underflow of a square.
inline double maxPart(Cd a) {
    return std::max(std::fabs(a.re), std::fabs(a.im));
}

// 2^k for k in [-1022, 1023], exactly.
inline double pow2(std::int64_t k) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(1023 + k) << 52);
}

// (re + i im) * 2^e, the larger part's magnitude in [1, 2). Zero has the exponent kZeroExp,
// so far below every other that sums and comparisons need no case of their own.
struct Cw {
    static constexpr std::int64_t kZeroExp = -(std::int64_t{1} << 40);
    double re = 0.0;
    double im = 0.0;
    std::int64_t e = kZeroExp;

    bool isZero() const { return re == 0.0 && im == 0.0; }
};

inline Cw normalised(double re, double im, std::int64_t e) {
    const double big = std::max(std::fabs(re), std::fabs(im));
    if (big == 0.0 || !std::isfinite(big)) return {re, im, big == 0.0 ? Cw::kZeroExp : e};
    const int k = std::ilogb(big);
    if (k < -1022) { // subnormal parts: two exact scalings
        const double up = pow2(600);
        return normalised(re * up, im * up, e - 600);
    }
    const double scale = pow2(-k);
    return {re * scale, im * scale, e + k};
}

inline Cw widen(Cd a) {
    return normalised(a.re, a.im, 0);
}

// The nearest doubles: zero below the smallest, infinite above the largest.
inline Cd narrow(Cw a) {
    if (a.e < -1100) return {};
    if (a.e > 1100) return {a.re * HUGE_VAL, a.im * HUGE_VAL};
    const int e = static_cast<int>(a.e);
    return {std::ldexp(a.re, e), std::ldexp(a.im, e)};
}

inline Cw operator*(Cw a, Cw b) {
    return normalised(a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re, a.e + b.e);
}

inline Cw operator+(Cw a, Cw b) {
    if (a.e < b.e) std::swap(a, b);
    const std::int64_t d = a.e - b.e;
    if (d > 120) return a; // b is far below a's last bit
    const double scale = pow2(-d);
    return normalised(a.re + b.re * scale, a.im + b.im * scale, a.e);
}

// |a|^2 as a wide float.
inline ExtFloat norm(Cw a) {
    if (a.isZero()) return {};
    return ExtFloat::of(a.re * a.re + a.im * a.im, 2 * a.e);
}

// |a|^2 < r2 without building |a|^2: the parts of a are at most 2, so the mantissa of
// |a|^2 lies in [1, 8).
inline bool normBelow(Cw a, ExtFloat r2) {
    if (r2.isZero()) return false;
    if (a.isZero()) return r2.mantissa() > 0;
    const std::int64_t d = r2.exponent() - 2 * a.e;
    if (d > 3) return true;
    if (d < -1) return false;
    return a.re * a.re + a.im * a.im < r2.mantissa() * pow2(d);
}

// |a| < |b|. The squares of parts below 2^-511 underflow: such small numbers are compared
// scaled up, exactly, by 2^600.
inline bool normLess(Cd a, Cd b) {
    const double b2 = norm(b);
    if (b2 > 0x1p-900) return norm(a) < b2;
    constexpr double up = 0x1p600;
    return norm(Cd{a.re * up, a.im * up}) < norm(Cd{b.re * up, b.im * up});
}

inline bool normLess(Cw a, Cw b) {
    return b.isZero() ? false : normBelow(a, norm(b));
}

// The delta's step, delta_{m+1} = 2 Z_m delta_m + delta_m^2 + dc.
inline Cd deltaStep(Cd z, Cd d, Cd dc) {
    return {2.0 * (z.re * d.re - z.im * d.im) + (d.re * d.re - d.im * d.im) + dc.re,
            2.0 * (z.re * d.im + z.im * d.re) + 2.0 * d.re * d.im + dc.im};
}

inline Cw deltaStep(Cw z, Cw d, Cw dc) {
    if (!z.isZero()) ++z.e;
    return z * d + d * d + dc;
}

} // namespace velq
