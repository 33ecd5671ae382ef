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
#include "core/view/iterationlimit.h"

#include <algorithm>
#include <bit>
#include <cstddef>

namespace velq {
namespace {

// A wide delta this large goes on in doubles; a double delta this small goes back to wide.
constexpr std::int64_t kLeaveWideExponent = -800;
constexpr double kEnterWide = 0x1p-900;

// The highest level of `t` that may be taken from m at iteration n with |delta|^2 = d2, or -1.
// Radii shrink as levels rise (a chained map's radius is at most its first half's), so the
// levels that hold form a run from the lowest: found by bisection.
template <class Table, class Below>
int bestLevel(const Table& t, std::int32_t m, std::int64_t n, std::int64_t limit, std::int32_t last,
              Below below) {
    if (m < 1 || t.empty() || ((m - 1) & ((1 << t.low()) - 1)) != 0 || !below(t.widest()))
        return -1;
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

inline std::int16_t fold(std::int32_t raw) {
    return static_cast<std::int16_t>(raw == 0 ? 0 : (raw - 1) % 1000 + 1);
}

// The pixels in the vector lanes. While a pixel steps there, its delta and indices live in
// the lanes and the rest of its state beside them.
class LaneSlots {
public:
    static constexpr int kWidth = DeepLanes::kWidth;

    LaneSlots() {
        for (int k = 0; k < kWidth; ++k)
            idle(k);
    }
    int used() const { return used_; }
    int column(int k) const { return column_[k]; }
    DeepLanes& lanes() { return v_; }

    void add(const DoubleState& s, int column) {
        state_[used_] = s;
        column_[used_] = column;
        put(used_++);
    }
    // The whole state of lane k, to be worked on outside the lanes.
    DoubleState& take(int k) {
        DoubleState& s = state_[k];
        s.d = {v_.dr[k], v_.di[k]};
        s.m = static_cast<std::int32_t>(v_.m[k]);
        s.n = v_.n[k];
        return s;
    }
    // Lane k steps on from its state.
    void put(int k) {
        const DoubleState& s = state_[k];
        v_.dr[k] = s.d.re;
        v_.di[k] = s.d.im;
        v_.cr[k] = s.dc.re;
        v_.ci[k] = s.dc.im;
        v_.m[k] = s.m;
        v_.n[k] = s.n;
        v_.idle[k] = 0;
    }
    // Lane k is done (taken); the last busy lane moves into it.
    void remove(int k) {
        --used_;
        if (k != used_) {
            state_[k] = take(used_);
            column_[k] = column_[used_];
            put(k);
        }
        idle(used_);
    }

private:
    // An idle lane stays at delta 0 and Z_0 = 0.
    void idle(int k) {
        v_.dr[k] = v_.di[k] = v_.cr[k] = v_.ci[k] = 0.0;
        v_.m[k] = v_.n[k] = 0;
        v_.idle[k] = -1;
    }

    DeepLanes v_;
    std::array<DoubleState, kWidth> state_;
    std::array<int, kWidth> column_{};
    int used_ = 0;
};

} // namespace

DeepPlan::DeepPlan(std::shared_ptr<const ReferenceOrbit> orbit, int winx, int winy,
                   std::int32_t limit, const ExtFloat& w, std::array<ExtFloat, 2> offset)
    : orbit_(std::move(orbit)), winx_(winx), winy_(winy), limit_(limit),
      step_(pixelStep(w, winx, winy)), offset_(offset), wide_(w.exponent() < kWideBelowExponent) {}

bool DeepPlan::buildTables(const std::atomic<int>& status) {
    // The farthest pixel from the centre, a little over.
    const ExtFloat dcMax = step_ * ExtFloat(std::hypot(winx_ / 2, winy_ / 2) * (1 + 0x1p-20) + 1) +
                           abs(offset_[0]) + abs(offset_[1]);
    if (wide_)
        wideBla_ = WideBla::build(*orbit_, dcMax, status);
    else
        doubleBla_ = DoubleBla::build(*orbit_, dcMax.toDouble(), status);
    if (doubleBla_) {
        static_assert(sizeof(DoubleBla::Map) == DeepLaneBounds::kMapSize * sizeof(double));
        static_assert(offsetof(DoubleBla::Map, bound) == DeepLaneBounds::kBound * sizeof(double));
        for (int l = doubleBla_->low(); l <= doubleBla_->high(); ++l)
            mapLevels_.push_back(&doubleBla_->level(l).front().a.re);
        if (!doubleBla_->empty())
            for (const DoubleBla::Map& map : doubleBla_->level(doubleBla_->low()))
                lowReach_.push_back(map.bound);
        lowReach_.push_back(0.0);
    }
    if (orbit_->last() >= 1) near_ = kBlaEpsilon * std::sqrt(norm(orbit_->data()[1]));
    return wide_ ? wideBla_.has_value() : doubleBla_.has_value();
}

std::array<ExtFloat, 2> DeepPlan::delta(int column, int row) const {
    return {ExtFloat(static_cast<double>(column - winx_ / 2)) * step_ + offset_[0],
            ExtFloat(static_cast<double>(winy_ / 2 - row)) * step_ + offset_[1]};
}

DeepCount DeepPlan::count(int column, int row) const {
    if (limit_ <= 0) return {};
    const auto [dx, dy] = delta(column, row);
    if (!wide_) return doublePixel({dx.toDouble(), dy.toDouble()});
    return widePixel(normalised(dx.mantissa(), 0.0, dx.exponent()) +
                     normalised(0.0, dy.mantissa(), dy.exponent()));
}

// Inlined: these two are the loop of every pixel that takes maps.
[[gnu::always_inline]] inline DeepPlan::Settled DeepPlan::settle(DoubleState& s,
                                                                 DeepCount& out) const {
    const Cd* const ref = orbit_->data();
    if (s.n >= limit_) {
        out = {0, limit_};
        return Done;
    }
    const Cd z = ref[s.m] + s.d;
    const double z2 = norm(z);
    if (z2 > 4.0) {
        out = {static_cast<std::int32_t>(s.n + 1), s.n};
        return Done;
    }
    // Besides the rebase that keeps |delta| <= |z|, one at each close approach (|z|^2 below
    // eps |Z_1|): the next delta, z^2 + dc, is then small enough for the maps from m = 1, which
    // are aligned to the start, where a pixel that follows the reference through its close
    // approaches would meet them out of step.
    const bool close = s.m > 1 && z2 < near_;
    if (!close && !normLess(z, s.d) && s.m != orbit_->last()) return Go;
    s.d = z;
    s.m = 0;
    return close ? closeApproach(s, z) : Go;
}

[[gnu::always_inline]] inline bool DeepPlan::step(DoubleState& s, bool toLanes) const {
    const DoubleBla& t = *doubleBla_;
    const double dm = maxPart(s.d);
    const bool beyond = !(dm < t.widest());
    if (beyond && toLanes) return false;
    const int l =
        beyond ? -1
               : bestLevel(t, s.m, s.n, limit_, orbit_->last(), [dm](double r) { return dm < r; });
    if (l >= 0) {
        const DoubleBla::Map& map = t.at(l, s.m);
        s.d = map.a * s.d + map.b * s.dc;
        s.m += std::int32_t{1} << l;
        s.n += std::int64_t{1} << l;
    } else {
        s.d = deltaStep(orbit_->data()[s.m], s.d, s.dc);
        ++s.m;
        ++s.n;
    }
    return true;
}

bool DeepPlan::provenInside(DoubleState& s, DeepCount& out) const {
    if (s.period == 0) return false;
    ++s.trapTries;
    CycleSeed seed;
    seed.z = s.d; // z, just rebased
    seed.period = s.period;
    s.period = 0;
    if (!cycleInside(s.dc, seed)) return false;
    s.cycle = seed;
    out = {0, limit_};
    return true;
}

bool DeepPlan::advance(DoubleState& s, DeepCount& out, bool toLanes) const {
    for (;;) {
        if (provenInside(s, out)) return true;
        if (!step(s, toLanes)) return false;
        if (settle(s, out) == Done) return true;
    }
}

DeepLaneBounds DeepPlan::laneBounds() const {
    DeepLaneBounds b{};
    b.ref = orbit_->data();
    b.last = orbit_->last();
    b.limit = limit_;
    b.near = near_;
    b.levels = mapLevels_.data();
    b.low = doubleBla_->low();
    b.high = doubleBla_->high();
    b.reach = lowReach_.data();
    b.maps = static_cast<std::int64_t>(lowReach_.size()) - 1;
    return b;
}

std::int64_t DeepPlan::doubleRow(int row, int stride, std::int16_t* out,
                                 std::vector<CycleSeed>& cycles) const {
    const auto start = [&](int column) {
        DoubleState s;
        const auto [dx, dy] = delta(column, row);
        s.dc = {dx.toDouble(), dy.toDouble()};
        return s;
    };
    std::int64_t work = 0;
    // Inside pixels often lie by others of the same component: the cycle last proven in the
    // row, or else the one proven at the pixel above, is tried first, by Newton's method,
    // before the pixel's orbit is followed towards it.
    CycleSeed seed;
    const auto finish = [&](int column, DeepCount c, const DoubleState& s) {
        out[column] = fold(c.raw);
        work += c.work;
        cycles[column] = s.cycle;
        if (s.cycle.period != 0) seed = s.cycle;
    };
    const auto seeded = [&](const DoubleState& s, int column) {
        if (seed.period != 0 && cycleInside(s.dc, seed)) return true;
        const std::int64_t failed = seed.period;
        seed.period = 0;
        CycleSeed above = cycles[column];
        if (above.period == 0 || above.period == failed || !cycleInside(s.dc, above)) return false;
        seed = above;
        return true;
    };
    const DeepLaneBounds bounds = laneBounds();
    const double widest = doubleBla_->widest();
    LaneSlots slots;
    int next = 0;
    for (;;) {
        while (slots.used() < LaneSlots::kWidth && next < winx_) {
            DoubleState s = start(next);
            DeepCount c;
            if (seeded(s, next)) {
                s.cycle = seed;
                finish(next, {0, limit_}, s);
            } else if (advance(s, c, true)) {
                finish(next, c, s);
            } else {
                slots.add(s, next);
            }
            next += stride;
        }
        if (slots.used() == 0) return work;
        const unsigned look = stepDeepLanes(slots.lanes(), bounds);
        // Downwards, so that the lane moved into a finished one has had its look.
        for (int k = slots.used() - 1; k >= 0; --k) {
            if ((look >> k & 1) == 0) continue;
            DoubleState& s = slots.take(k);
            DeepCount c;
            const Settled settled = settle(s, c);
            const bool done = settled == Done ||
                              ((settled == Cycle || maxPart(s.d) < widest) && advance(s, c, true));
            if (done) {
                finish(slots.column(k), c, s);
                slots.remove(k);
            } else {
                slots.put(k); // rebased, or beyond every map again: on in the lane
            }
        }
    }
}

DeepCount DeepPlan::doublePixel(Cd dc) const {
    DoubleState s;
    s.dc = dc;
    DeepCount c;
    advance(s, c, false);
    return c;
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

namespace {

// The offset of `view`'s centre from `reference`'s, when the reference can serve: no wider
// than the view and within its picture.
std::optional<std::array<ExtFloat, 2>> offsetTo(const DeepView& reference, const DeepView& view,
                                                int winx, int winy) {
    if (view.w < reference.w) return std::nullopt;
    const long bits = centreBits(reference.w) + 32;
    const std::array<ExtFloat, 2> offset{extOf(view.x.withBits(bits) - reference.x.withBits(bits)),
                                         extOf(view.y.withBits(bits) - reference.y.withBits(bits))};
    const ExtFloat step = pixelStep(view.w, winx, winy);
    if (step * ExtFloat(winx / 2) < abs(offset[0]) || step * ExtFloat(winy / 2) < abs(offset[1]))
        return std::nullopt;
    return offset;
}

} // namespace

std::shared_ptr<const DeepPlan> prepareDeep(const DeepView& view, int winx, int winy,
                                            const std::atomic<int>& status,
                                            std::shared_ptr<const DeepPlan> previous,
                                            const DeepView* reference) {
    const std::optional<std::array<ExtFloat, 2>> offset =
        reference ? offsetTo(*reference, view, winx, winy) : std::nullopt;
    const DeepView& about = offset ? *reference : view;
    // The centre's bits place a pixel of a picture 65536 wide; 32 more keep the rounding of
    // each step of the reference below that of the pixels' deltas.
    const long bits = centreBits(about.w) + 32;
    const std::int32_t limit = std::max(view.it, 0);
    std::shared_ptr<const ReferenceOrbit> orbit;
    const ReferenceOrbit* from = previous ? &previous->orbit() : nullptr;
    const bool same = from && from->bits() == bits && from->cx() == about.x.withBits(bits) &&
                      from->cy() == about.y.withBits(bits);
    if (same && from->covers(limit))
        orbit = previous->sharedOrbit();
    else
        orbit =
            ReferenceOrbit::compute(about.x, about.y, bits, limit, status, same ? from : nullptr);
    previous.reset(); // the old tables go before the new ones are built
    if (!orbit) return nullptr;
    auto plan = std::make_shared<DeepPlan>(std::move(orbit), winx, winy, limit, view.w,
                                           offset.value_or(std::array<ExtFloat, 2>{}));
    if (!plan->buildTables(status)) return nullptr;
    return plan;
}

bool rendersDeep(const MANDAT& view) {
    return view.deep && (view.deep->w < ExtFloat(kDeepThreshold) || view.deep->it > kMaxIterations);
}

std::optional<KernelFrame> DeepRenders::frame(const MANDAT& view, int winx, int winy, int itLim,
                                              const std::atomic<int>& status,
                                              const DeepView* reference) {
    if (!rendersDeep(view)) {
        plan_.reset(); // back in doubles: its memory is not kept for a return
        return KernelFrame::of(view, winx, winy, itLim);
    }
    // The old plan's tables go before the new ones are built; its orbit may stay.
    std::shared_ptr<const DeepPlan> previous = std::move(plan_);
    plan_ = prepareDeep(*view.deep, winx, winy, status, std::move(previous), reference);
    if (!plan_) return std::nullopt;
    return deepFrame(plan_);
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

std::int64_t DeepPlan::row(int row, int stride, std::int16_t* out,
                           std::vector<CycleSeed>& cycles) const {
    if (!wide_ && limit_ > 0) {
        cycles.resize(static_cast<std::size_t>(winx_));
        return doubleRow(row, stride, out, cycles);
    }
    std::int64_t work = 0;
    for (int i = 0; i < winx_; i += stride) {
        const DeepCount c = count(i, row);
        out[i] = fold(c.raw);
        work += c.work;
    }
    return work;
}

DeepCount deepCount(const DeepPlan& plan, int column, int row) {
    return plan.count(column, row);
}

std::int64_t deepRows(const KernelFrame& frame, int r0, int rowCount, int stride,
                      std::int16_t* mandel) {
    if (!frame.deep) return referenceRows(frame, r0, rowCount, stride, mandel);
    const DeepPlan& plan = *frame.deep;
    // A band of a poster is a frame of fewer rows whose centre row moved up: its rows are the
    // plan's from `first` on.
    const int first = plan.winy() / 2 - frame.hy;
    std::int64_t work = 0;
    const int rows = std::min(rowCount, frame.winy - r0);
    std::vector<CycleSeed> cycles;
    for (int row = r0; row < r0 + rows; ++row)
        work += plan.row(first + row, stride,
                         mandel + static_cast<std::ptrdiff_t>(row) * plan.winx(), cycles);
    return work;
}

} // namespace velq
