// Deep renders: the delta of each pixel's orbit from the reference orbit, with skips where the
// delta is small and rebasing where the pixel's orbit comes nearer to 0 than its delta.
//
// Rebasing (Zhuoran's method): with z = Z_m + delta, a pixel whose |z| < |delta| goes on with
// delta <- z and the reference back at Z_0 = 0, which is exact since z_{n+1} = z_n^2 + c is
// the same recurrence from either origin. This keeps |delta| <= |z| after every close
// approach, so delta never holds a small z as the difference of two large numbers: the loss
// of digits that shows as glitches elsewhere cannot happen, and no pixel needs a second
// reference. A pixel that reaches the end of the reference (Z escaped or the limit) rebases
// the same way.
#include "core/deep/deeprender.h"

#include "core/deep/deepplan.h"

#include <algorithm>
#include <bit>

namespace velq {
namespace {

// A wide delta this large goes on in doubles; a double delta this small goes back to wide.
constexpr std::int64_t kLeaveWideExponent = -800;
constexpr double kEnterWide = 0x1p-900;

// |a| < |b|. The squares of parts below 2^-511 underflow: such small numbers are compared
// scaled up, exactly, by 2^600.
inline bool normLess(Cd a, Cd b) {
    const double b2 = norm(b);
    if (b2 > 0x1p-900) return norm(a) < b2;
    constexpr double up = 0x1p600;
    return norm(Cd{a.re * up, a.im * up}) < norm(Cd{b.re * up, b.im * up});
}

// The highest level of `t` that may be taken from m at iteration n with |delta|^2 = d2, or -1.
// Radii shrink as levels rise (a chained map's radius is at most its first half's), so the
// levels that hold form a run from the lowest: found by bisection.
template <class Table, class Below>
int bestLevel(const Table& t, std::int32_t m, std::int64_t n, std::int64_t limit, std::int32_t last,
              Below below) {
    if (m < 1 || t.empty() || ((m - 1) & ((1 << t.low()) - 1)) != 0) return -1;
    int top = t.high();
    if (m > 1) top = std::min(top, std::countr_zero(static_cast<std::uint32_t>(m - 1)));
    // The map must end within the orbit and not pass the limit.
    const std::int64_t room = std::min<std::int64_t>(last - m, limit - n);
    if (room < 1) return -1;
    top = std::min(top, static_cast<int>(std::bit_width(static_cast<std::uint64_t>(room))) - 1);
    if (top < t.low() || !below(t.at(t.low(), m).bound)) return -1;
    int lo = t.low();
    while (lo < top) {
        const int mid = (lo + top + 1) / 2;
        if (below(t.at(mid, m).bound))
            lo = mid;
        else
            top = mid - 1;
    }
    return lo;
}

// delta_{m+1} = 2 Z_m delta_m + delta_m^2 + dc.
inline Cd deltaStep(Cd z, Cd d, Cd dc) {
    return {2.0 * (z.re * d.re - z.im * d.im) + (d.re * d.re - d.im * d.im) + dc.re,
            2.0 * (z.re * d.im + z.im * d.re) + 2.0 * d.re * d.im + dc.im};
}

inline Cw deltaStep(Cw z, Cw d, Cw dc) {
    if (!z.isZero()) ++z.e;
    return z * d + d * d + dc;
}

inline bool normLess(Cw a, Cw b) {
    return b.isZero() ? false : normBelow(a, norm(b));
}

} // namespace

DeepPlan::DeepPlan(std::shared_ptr<const ReferenceOrbit> orbit, int winx, int winy,
                   std::int32_t limit, const ExtFloat& w)
    : orbit_(std::move(orbit)), winx_(winx), winy_(winy), limit_(limit),
      step_((w + w) / ExtFloat(std::max(std::min(winx, winy), 1))),
      wide_(w.exponent() < kWideBelowExponent) {}

bool DeepPlan::buildTables(const std::atomic<int>& status) {
    // The farthest pixel from the centre, a little over.
    const ExtFloat dcMax = step_ * ExtFloat(std::hypot(winx_ / 2, winy_ / 2) * (1 + 0x1p-20) + 1);
    if (wide_)
        wideBla_ = WideBla::build(*orbit_, dcMax, status);
    else
        doubleBla_ = DoubleBla::build(*orbit_, dcMax.toDouble(), status);
    return wide_ ? wideBla_.has_value() : doubleBla_.has_value();
}

std::size_t DeepPlan::bytes() const {
    const std::size_t orbit = (static_cast<std::size_t>(orbit_->last()) + 1) * sizeof(Cd);
    return orbit + (doubleBla_ ? doubleBla_->bytes() : 0) + (wideBla_ ? wideBla_->bytes() : 0);
}

DeepCount DeepPlan::count(int column, int row) const {
    if (limit_ <= 0) return {};
    const ExtFloat dx = ExtFloat(static_cast<double>(column - winx_ / 2)) * step_;
    const ExtFloat dy = ExtFloat(static_cast<double>(winy_ / 2 - row)) * step_;
    if (!wide_) return doublePixel({dx.toDouble(), dy.toDouble()});
    return widePixel(normalised(dx.mantissa(), 0.0, dx.exponent()) +
                     normalised(0.0, dy.mantissa(), dy.exponent()));
}

DeepCount DeepPlan::doublePixel(Cd dc) const {
    const Cd* const ref = orbit_->data();
    const std::int32_t last = orbit_->last();
    const std::int64_t limit = limit_;
    const DoubleBla& t = *doubleBla_;
    Cd d{};
    std::int32_t m = 0;
    std::int64_t n = 0;
    for (;;) {
        const double dm = maxPart(d);
        const int l = bestLevel(t, m, n, limit, last, [dm](double r) { return dm < r; });
        if (l >= 0) {
            const DoubleBla::Map& map = t.at(l, m);
            d = map.a * d + map.b * dc;
            m += std::int32_t{1} << l;
            n += std::int64_t{1} << l;
        } else {
            d = deltaStep(ref[m], d, dc);
            ++m;
            ++n;
        }
        if (n >= limit) return {0, limit};
        const Cd z = ref[m] + d;
        if (norm(z) > 4.0) return {static_cast<std::int32_t>(n + 1), n};
        if (normLess(z, d) || m == last) {
            d = z;
            m = 0;
        }
    }
}

DeepCount DeepPlan::widePixel(Cw dc) const {
    const ReferenceOrbit& o = *orbit_;
    const Cd* const ref = o.data();
    const std::int32_t last = o.last();
    const std::int64_t limit = limit_;
    const WideBla& t = *wideBla_;
    // In doubles, a dc below 2^-1000 is lost in the rounding of any delta above 2^-900.
    const Cd dcNarrow = dc.e < -1000 ? Cd{} : narrow(dc);
    bool wideNow = true;
    Cw dw{};
    Cd d{};
    std::int32_t m = 0;
    std::int64_t n = 0;
    for (;;) {
        bool skipped = false;
        if (m >= 1) {
            const Cw cur = wideNow ? dw : widen(d);
            const int l = bestLevel(t, m, n, limit, last,
                                    [cur](const ExtFloat& r2) { return normBelow(cur, r2); });
            if (l >= 0) {
                const WideBla::Map& map = t.at(l, m);
                dw = map.a * cur + map.b * dc;
                m += std::int32_t{1} << l;
                n += std::int64_t{1} << l;
                wideNow = dw.e < kLeaveWideExponent;
                if (!wideNow) d = narrow(dw);
                skipped = true;
            }
        }
        if (!skipped) {
            if (wideNow)
                dw = deltaStep(o.wideAt(m), dw, dc);
            else
                d = deltaStep(ref[m], d, dcNarrow);
            ++m;
            ++n;
        }
        if (n >= limit) return {0, limit};
        if (wideNow) {
            const Cw z = o.wideAt(m) + dw;
            if (norm(narrow(z)) > 4.0) return {static_cast<std::int32_t>(n + 1), n};
            if (normLess(z, dw) || m == last) {
                dw = z;
                m = 0;
            }
            if (dw.e >= kLeaveWideExponent) {
                wideNow = false;
                d = narrow(dw);
            }
        } else {
            const Cd z = ref[m] + d;
            if (norm(z) > 4.0) return {static_cast<std::int32_t>(n + 1), n};
            if (normLess(z, d) || m == last) {
                d = z;
                m = 0;
            }
            if (maxPart(d) < kEnterWide) {
                wideNow = true;
                dw = widen(d);
            }
        }
    }
}

std::shared_ptr<const DeepPlan> prepareDeep(const DeepView& view, int winx, int winy,
                                            const std::atomic<int>& status,
                                            std::shared_ptr<const DeepPlan> previous) {
    // The centre's bits place a pixel of a picture 65536 wide; 32 more keep the rounding of
    // each step of the reference below that of the pixels' deltas.
    const long bits = centreBits(view.w) + 32;
    const std::int32_t limit = std::max(view.it, 0);
    std::shared_ptr<const ReferenceOrbit> orbit;
    const ReferenceOrbit* from = previous ? &previous->orbit() : nullptr;
    const bool same = from && from->bits() == bits && from->cx() == view.x.withBits(bits) &&
                      from->cy() == view.y.withBits(bits);
    if (same && from->covers(limit))
        orbit = previous->sharedOrbit();
    else
        orbit = ReferenceOrbit::compute(view.x, view.y, bits, limit, status, same ? from : nullptr);
    previous.reset(); // the old tables go before the new ones are built
    if (!orbit) return nullptr;
    auto plan = std::make_shared<DeepPlan>(std::move(orbit), winx, winy, limit, view.w);
    if (!plan->buildTables(status)) return nullptr;
    return plan;
}

KernelFrame deepFrame(const std::shared_ptr<const DeepPlan>& plan) {
    KernelFrame f;
    f.x = plan->orbit().cx().toDouble();
    f.y = plan->orbit().cy().toDouble();
    f.s = plan->step().toDouble();
    f.winx = plan->winx();
    f.winy = plan->winy();
    f.hx = f.winx / 2;
    f.hy = f.winy / 2;
    f.itLim = plan->limit();
    f.deep = plan.get();
    return f;
}

DeepCount deepCount(const DeepPlan& plan, int column, int row) {
    return plan.count(column, row);
}

std::int64_t deepRows(const KernelFrame& frame, int r0, int rowCount, int stride,
                      std::int16_t* mandel) {
    if (!frame.deep) return referenceRows(frame, r0, rowCount, stride, mandel);
    const DeepPlan& plan = *frame.deep;
    std::int64_t work = 0;
    const int rows = std::min(rowCount, plan.winy() - r0);
    for (int row = r0; row < r0 + rows; ++row) {
        std::int16_t* out = mandel + static_cast<std::ptrdiff_t>(row) * plan.winx();
        for (int i = 0; i < plan.winx(); i += stride) {
            const DeepCount c = plan.count(i, row);
            out[i] = static_cast<std::int16_t>(c.raw == 0 ? 0 : (c.raw - 1) % 1000 + 1);
            work += c.work;
        }
    }
    return work;
}

} // namespace velq
