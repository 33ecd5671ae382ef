// The reference orbit, iterated at the view's precision.
#include "core/deep/referenceorbit.h"

#include "core/render/renderworkers.h"

#include <algorithm>

namespace velq {
namespace {

// One part of Z at any exponent.
Cw widePart(mpfr_srcptr v, bool imaginary) {
    long e = 0;
    const double m = mpfr_get_d_2exp(&e, v, MPFR_RNDN);
    return imaginary ? normalised(0.0, m, e) : normalised(m, 0.0, e);
}

} // namespace

ReferenceOrbit::ReferenceOrbit(const Real& cx, const Real& cy, long bits)
    : cx_(cx.withBits(bits)), cy_(cy.withBits(bits)), bits_(bits), lastRe_(bits), lastIm_(bits) {}

std::shared_ptr<const ReferenceOrbit> ReferenceOrbit::compute(const Real& cx, const Real& cy,
                                                              long bits, std::int32_t limit,
                                                              const std::atomic<int>& status,
                                                              const ReferenceOrbit* from) {
    auto orbit = std::shared_ptr<ReferenceOrbit>(new ReferenceOrbit(cx, cy, bits));
    ReferenceOrbit& o = *orbit;
    if (from && from->bits_ == bits && from->cx_ == o.cx_ && from->cy_ == o.cy_) {
        o.z_ = from->z_;
        o.tiny_ = from->tiny_;
        o.escaped_ = from->escaped_;
        o.lastRe_ = from->lastRe_;
        o.lastIm_ = from->lastIm_;
    } else {
        o.z_.assign(1, Cd{});
    }
    // The vector grows as the orbit goes: an orbit that escapes early takes no more.
    o.z_.reserve(static_cast<std::size_t>(std::min(limit, std::int32_t{1} << 20)) + 1);

    Real& x = o.lastRe_;
    Real& y = o.lastIm_;
    Real xx(bits), yy(bits), xy(bits);
    for (std::int32_t n = o.last(); n < limit && !o.escaped_; ++n) {
        if ((n & 1023) == 0 && status.load(std::memory_order_relaxed) == RenderStatus::AbortStop)
            return nullptr;
        mpfr_sqr(xx.get(), x.get(), MPFR_RNDN);
        mpfr_sqr(yy.get(), y.get(), MPFR_RNDN);
        mpfr_mul(xy.get(), x.get(), y.get(), MPFR_RNDN);
        mpfr_sub(x.get(), xx.get(), yy.get(), MPFR_RNDN);
        mpfr_add(x.get(), x.get(), o.cx_.get(), MPFR_RNDN);
        mpfr_mul_2ui(xy.get(), xy.get(), 1, MPFR_RNDN);
        mpfr_add(y.get(), xy.get(), o.cy_.get(), MPFR_RNDN);

        Cd z{mpfr_get_d(x.get(), MPFR_RNDN), mpfr_get_d(y.get(), MPFR_RNDN)};
        if (std::max(std::fabs(z.re), std::fabs(z.im)) < kTiny) {
            if (o.tiny_.size() == kMaxTiny) break;
            const Cw w = widePart(x.get(), false) + widePart(y.get(), true);
            if (!w.isZero()) o.tiny_.push_back({n + 1, w});
            z = Cd{};
        }
        o.z_.push_back(z);
        o.escaped_ = norm(z) > 4.0;
    }
    if (o.z_.capacity() > o.z_.size() + o.z_.size() / 4) o.z_.shrink_to_fit();
    return orbit;
}

Cw ReferenceOrbit::wideAt(std::int32_t n) const {
    const Cd z = z_[static_cast<std::size_t>(n)];
    if (z.re != 0.0 || z.im != 0.0) return widen(z);
    const auto it = std::lower_bound(tiny_.begin(), tiny_.end(), n,
                                     [](const Tiny& t, std::int32_t k) { return t.n < k; });
    return it != tiny_.end() && it->n == n ? it->z : Cw{};
}

} // namespace velq
