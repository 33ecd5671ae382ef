// The period by ball arithmetic, the nucleus by Newton's method, the size by the usual
// estimate 1 / (b l^2) with l the cycle's derivative and b the sum of the inverse partial ones.
#include "core/deep/nucleus.h"

#include <cmath>

namespace velq {
namespace {

struct Complex {
    Real re, im;
};

Complex mul(const Complex& a, const Complex& b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
Complex add(const Complex& a, const Complex& b) {
    return {a.re + b.re, a.im + b.im};
}
Complex twice(const Complex& a) {
    return {a.re + a.re, a.im + a.im};
}
Real abs2(const Complex& a) {
    return a.re * a.re + a.im * a.im;
}
Complex div(const Complex& a, const Complex& b) {
    const Real d = abs2(b);
    Complex q{a.re * b.re + a.im * b.im, a.im * b.re - a.re * b.im};
    mpfr_div(q.re.get(), q.re.get(), d.get(), MPFR_RNDN);
    mpfr_div(q.im.get(), q.im.get(), d.get(), MPFR_RNDN);
    return q;
}
Real abs(const Complex& a) {
    Real r = abs2(a);
    mpfr_sqrt(r.get(), r.get(), MPFR_RNDN);
    return r;
}

} // namespace

std::optional<Nucleus> findNucleus(const Real& x, const Real& y, const ExtFloat& radius,
                                   int maxPeriod, long bits) {
    const Complex c0{x.withBits(bits), y.withBits(bits)};
    const Real zero(bits), one(1.0, bits), four(4.0, 64);
    // z_n over the disc of c lies within rho_n of Z_n: rho_{n+1} = (2|Z_n| + rho_n) rho_n + r.
    int period = 0;
    Complex z{zero, zero};
    Real rho(64);
    for (int n = 1; n <= maxPeriod && period == 0; ++n) {
        rho = (abs(twice(z)) + rho) * rho + Real(radius, 64);
        z = add(mul(z, z), c0);
        const Real a = abs(z);
        if (a < rho) period = n;
        if (four < a) break;
    }
    if (period == 0) return std::nullopt;

    // Newton on z_p(c) = 0, with z'_{n+1} = 2 z_n z'_n + 1.
    Complex c = c0;
    for (int k = 0; k < 64; ++k) {
        Complex zc{zero, zero}, dz{zero, zero};
        for (int n = 0; n < period; ++n) {
            dz = add(mul(twice(zc), dz), {one, zero});
            zc = add(mul(zc, zc), c);
        }
        const Complex step = div(zc, dz);
        if (!mpfr_number_p(step.re.get()) || !mpfr_number_p(step.im.get())) return std::nullopt;
        c = {c.re - step.re, c.im - step.im};
        const Real moved = abs2(step);
        if (mpfr_zero_p(moved.get()) || mpfr_get_exp(moved.get()) < -2 * (bits - 16)) break;
    }

    Complex zc{zero, zero}, l{one, zero}, b{one, zero};
    for (int n = 1; n < period; ++n) {
        zc = add(mul(zc, zc), c);
        l = mul(twice(zc), l);
        b = add(b, div({one, zero}, l));
    }
    const Complex size = div({one, zero}, mul(b, mul(l, l)));
    long e = 0;
    const double m = mpfr_get_d_2exp(&e, abs(size).get(), MPFR_RNDN);
    long er = 0, ei = 0;
    const double re = mpfr_get_d_2exp(&er, size.re.get(), MPFR_RNDN);
    const double im = mpfr_get_d_2exp(&ei, size.im.get(), MPFR_RNDN);
    const double degrees = std::atan2(std::ldexp(im, static_cast<int>(ei - e)),
                                      std::ldexp(re, static_cast<int>(er - e))) *
                           (180 / 3.14159265358979323846);
    return Nucleus{period, c.re, c.im, ExtFloat::of(m, e), degrees};
}

} // namespace velq
