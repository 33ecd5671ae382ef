// Finding a trap and proving that the plain loop's step maps it into itself.
//
// The proof works with discs. For |z| <= 1.9 and |c| <= 2 the plain loop's step G(z), each
// operation rounded, lies within kStepError of the exact z² + c (about 16 units in the last
// place of 1 at most; kStepError allows six times that). For z in the disc around m of radius
// r, |z² − m²| = |z − m|·|z + m| <= r·(2|m| + r). So G maps the disc (m, r) into the disc
// around the computed G(m) of radius 2|m|·r + r² + 2·kStepError. Following the cycle from its
// first point m0, a disc whose image after one round lies inside it again traps the orbit.
#include "core/render/cycletrap.h"

#include <cmath>
#include <initializer_list>

namespace velq {
namespace {

constexpr double kStepError = 1e-14;
constexpr double kMaxModulus = 1.9;        // |z|² <= 3.61, far below the bailout
constexpr double kRoundUp = 1.0 + 1e-12;   // covers the rounding of the radius arithmetic
constexpr double kSmallestRadius = 1e-100; // a radius whose square is still a normal double

struct Complex {
    double re, im;
};

// The plain loop's step, in its order of operations.
Complex step(Complex z, Complex c) {
    const double zr2 = z.re * z.re, zi2 = z.im * z.im, zrzi = z.re * z.im;
    return {(zr2 - zi2) + c.re, (zrzi + zrzi) + c.im};
}

double modulus(Complex z) {
    return std::sqrt(z.re * z.re + z.im * z.im) * kRoundUp;
}

// The principal square root.
Complex squareRoot(Complex w) {
    const double s = std::sqrt((std::sqrt(w.re * w.re + w.im * w.im) + std::fabs(w.re)) / 2.0);
    if (s == 0.0) return {0.0, 0.0};
    if (w.re >= 0.0) return {s, w.im / (2.0 * s)};
    return {std::fabs(w.im) / (2.0 * s), std::copysign(s, w.im)};
}

// The radii of the discs along the cycle from (m0, r) for `period` steps, and whether the last
// one lies inside the first; r1 is the radius of the disc after the first step.
bool trapsAfterOneRound(Complex m0, double r, Complex c, int period, double& r1) {
    Complex m = m0;
    double radius = r;
    for (int k = 0; k < period; ++k) {
        if (modulus(m) + radius > kMaxModulus) return false;
        radius = (2.0 * modulus(m) * radius + radius * radius + 2.0 * kStepError) * kRoundUp;
        m = step(m, c);
        if (k == 0) r1 = radius;
    }
    const Complex back{m.re - m0.re, m.im - m0.im};
    return (modulus(back) + radius) * kRoundUp <= r;
}

bool inMainCardioid(Complex c) {
    const double x = c.re - 0.25;
    const double q = x * x + c.im * c.im;
    return q * (q + x) < 0.25 * c.im * c.im;
}

bool inPeriodTwoDisc(Complex c) {
    return (c.re + 1.0) * (c.re + 1.0) + c.im * c.im < 1.0 / 16.0;
}

// A squared radius that a rounded |z − m|² may be compared with: shrunk far beyond the few
// units in the last place that the subtraction, the squares and the sum can lose.
double safeSquare(double r) {
    return r * r * (1.0 - 1e-9);
}

} // namespace

bool CycleTrap::holds(double zr, double zi) const {
    const double d0r = zr - m0r, d0i = zi - m0i, d1r = zr - m1r, d1i = zi - m1i;
    return d0r * d0r + d0i * d0i <= r0sq || d1r * d1r + d1i * d1i <= r1sq;
}

CycleTrap cycleTrapFor(double cr, double ci) {
    const Complex c{cr, ci};
    if (!(std::fabs(cr) <= 2.0 && std::fabs(ci) <= 2.0)) return {}; // also NaN
    int period = 0;
    Complex m0{};
    double multiplier = 1.0; // |derivative of the cycle|: how fast nearby orbits close in
    if (inMainCardioid(c)) {
        const Complex w = squareRoot({1.0 - 4.0 * cr, -4.0 * ci});
        m0 = {(1.0 - w.re) / 2.0, -w.im / 2.0};
        period = 1;
        multiplier = 2.0 * std::sqrt(m0.re * m0.re + m0.im * m0.im);
    } else if (inPeriodTwoDisc(c)) {
        const Complex w = squareRoot({-3.0 - 4.0 * cr, -4.0 * ci});
        m0 = {(-1.0 + w.re) / 2.0, w.im / 2.0};
        period = 2;
        multiplier = 4.0 * std::sqrt((cr + 1.0) * (cr + 1.0) + ci * ci);
    }
    if (period == 0 || !(multiplier < 1.0)) return {};
    // The largest of a few radii that proves: larger discs catch orbits sooner.
    for (double share : {0.9, 0.75, 0.5, 0.25, 0.0625, 0.015625}) {
        const double r = share * (1.0 - multiplier) / (period == 1 ? 1.0 : 2.0);
        if (!(r >= kSmallestRadius)) break;
        double r1 = 0.0;
        if (!trapsAfterOneRound(m0, r, c, period, r1)) continue;
        CycleTrap trap;
        trap.m0r = m0.re;
        trap.m0i = m0.im;
        trap.r0sq = safeSquare(r);
        if (period == 2) {
            const Complex m1 = step(m0, c);
            trap.m1r = m1.re;
            trap.m1i = m1.im;
            trap.r1sq = safeSquare(r1);
        }
        return trap;
    }
    return {};
}

} // namespace velq
