// The zoom between two keys in MPFR arithmetic, rounded once per operation at one precision.
#include "core/movie/path.h"

#include "core/deep/deepview.h"

#include <algorithm>
#include <cmath>

namespace velq {
namespace {

// The binary exponent e of a non-zero number, |v| in [2^(e-1), 2^e).
long exponentOf(const Real& v) {
    return mpfr_zero_p(v.get()) ? 0 : static_cast<long>(mpfr_get_exp(v.get()));
}

} // namespace

ZoomSegment::ZoomSegment(const Place& from, const Place& to, int frames)
    : from_(from), to_(to), frames_(std::max(frames, 2)), bits_(0), zoomBits_(0),
      pan_(mpfr_equal_p(from.w.get(), to.w.get()) != 0) {
    const Real& w0 = from.w;
    const Real& w1 = to.w;
    // centreBits counts on centres below 4 in magnitude; larger ones need their extra bits.
    long above = 0;
    for (const Real* c : {&from.x, &from.y, &to.x, &to.y})
        above = std::max(above, exponentOf(*c) - 2);
    // When r is close to 1, p lies about 1 / (1 - r) widths away and c_k is the difference of
    // two large numbers: the bits of 1 - r below its leading one are needed on top.
    long nearOne = 0;
    if (!pan_ && std::labs(exponentOf(w0) - exponentOf(w1)) <= 2) {
        Real d(w0.bits() + w1.bits() + 8); // exact: both widths have their few bits
        mpfr_sub(d.get(), w0.get(), w1.get(), MPFR_RNDN);
        nearOne = std::max(0L, exponentOf(w0) - exponentOf(d));
    }
    const Real& narrower = mpfr_less_p(w0.get(), w1.get()) ? w0 : w1;
    bits_ = centreBits(extOf(narrower)) + above + nearOne + 8;

    r_ = Real(bits_);
    mpfr_div(r_.get(), w1.get(), w0.get(), MPFR_RNDN);
    Real log2r(64);
    mpfr_log2(log2r.get(), r_.get(), MPFR_RNDN);
    zoomBits_ = std::fabs(log2r.toDouble());
    if (pan_) return;
    // p = (c1 - r c0) / (1 - r)
    Real oneMinusR(bits_);
    mpfr_ui_sub(oneMinusR.get(), 1, r_.get(), MPFR_RNDN);
    const auto fixedPoint = [&](const Real& c0, const Real& c1) {
        Real p(bits_);
        mpfr_mul(p.get(), r_.get(), c0.get(), MPFR_RNDN);
        mpfr_sub(p.get(), c1.get(), p.get(), MPFR_RNDN);
        mpfr_div(p.get(), p.get(), oneMinusR.get(), MPFR_RNDN);
        return p;
    };
    px_ = fixedPoint(from.x, to.x);
    py_ = fixedPoint(from.y, to.y);
}

Place ZoomSegment::frame(int k) const {
    if (k <= 0) return from_;
    if (k >= frames_ - 1) return to_;
    Real t(bits_), f(bits_);
    mpfr_set_si(t.get(), k, MPFR_RNDN);
    mpfr_div_si(t.get(), t.get(), frames_ - 1, MPFR_RNDN);
    mpfr_pow(f.get(), r_.get(), t.get(), MPFR_RNDN);
    Place out{Real(bits_), Real(bits_), Real(bits_)};
    mpfr_mul(out.w.get(), from_.w.get(), f.get(), MPFR_RNDN);
    // A pan moves by t of the way; a zoom keeps p fixed and brings the rest in by w_k / w0.
    const auto centre = [&](Real& c, const Real& c0, const Real& c1, const Real& p) {
        if (pan_) {
            mpfr_sub(c.get(), c1.get(), c0.get(), MPFR_RNDN);
            mpfr_mul(c.get(), c.get(), t.get(), MPFR_RNDN);
            mpfr_add(c.get(), c.get(), c0.get(), MPFR_RNDN);
        } else {
            mpfr_sub(c.get(), c0.get(), p.get(), MPFR_RNDN);
            mpfr_mul(c.get(), c.get(), f.get(), MPFR_RNDN);
            mpfr_add(c.get(), c.get(), p.get(), MPFR_RNDN);
        }
    };
    centre(out.x, from_.x, to_.x, px_);
    centre(out.y, from_.y, to_.y, py_);
    return out;
}

} // namespace velq
