// Traps around attracting cycles: discs that the plain loop's step provably never leaves, so
// an orbit that enters one can never escape.
#pragma once

namespace velq {

// Two discs, centre (mr, mi) and squared radius rsq, around the points of an attracting cycle
// of period 1 or 2. Once the plain loop's z lies in either, every later z does too and has
// |z| <= 1.9, so that orbit never passes the bailout. A disc with rsq = -1 holds no point; a
// sample without a trap gets two such.
struct CycleTrap {
    double m0r = 0.0, m0i = 0.0, r0sq = -1.0;
    double m1r = 0.0, m1i = 0.0, r1sq = -1.0;

    // Whether z lies in either disc (with the rounding of this test on the safe side).
    bool holds(double zr, double zi) const;
};

// The trap for the sample c, when c lies well inside the main cardioid or the disc of period
// two; otherwise none.
CycleTrap cycleTrapFor(double cr, double ci);

} // namespace velq
