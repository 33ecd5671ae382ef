// Bilinear approximation of the delta orbit: where |delta| is small enough, l steps of
// delta_{m+1} = 2 Z_m delta_m + delta_m^2 + dc are one linear map delta -> A delta + B dc.
//
// One step from m has A = 2 Z_m, B = 1 and drops delta^2. It is taken only where
// |delta| <= eps |Z_m|, so that the dropped square is at most eps/2 of the term 2 Z_m delta
// that is kept: below the rounding of a double step for eps = 2^-53. Two maps x then y chain
// to A = A_y A_x, B = A_y B_x + B_y, valid where x is, and where x's result
// |A_x delta + B_x dc| <= |A_x| |delta| + |B_x| |dc| stays below y's radius:
//     r = min(r_x, (r_y - |B_x| dcMax) / |A_x|),
// with dcMax the largest |dc| of the picture. So every step inside a chained map is one
// whose own condition holds, and the error of a skip is that of its steps done one by one.
//
// Skipping also skips the escape tests of the steps inside. Inside a map |delta_k| <= r_k <=
// eps |Z_k|, so z_k = Z_k + delta_k stays within 2 wherever |Z_k| <= 2 - 2^-30: a step with a
// larger Z gets radius 0 and is always done one by one.
//
// The maps are kept in levels: level l holds the maps of 2^l steps from m = 1 + i 2^l (the step
// from Z_0 = 0 is never linear), from four steps up. The lowest level kept is chosen so that the
// tables stay within kMaxBytes; steps below it are done one by one.
#pragma once

#include "core/deep/complexdelta.h"
#include "core/deep/extfloat.h"
#include "core/deep/referenceorbit.h"
#include "core/render/renderworkers.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace velq {

inline constexpr double kBlaEpsilon = 0x1p-53;

// What the table needs of its number type: the double one and the wide one.
struct DoubleNumbers {
    using C = Cd;
    using S = double;
    static C twice(const ReferenceOrbit& o, std::int32_t m) {
        const Cd z = o.data()[m];
        return {z.re + z.re, z.im + z.im};
    }
    static C one() { return {1.0, 0.0}; }
    static S abs(C a) { return std::hypot(a.re, a.im); }
    static bool finite(C a) { return std::isfinite(a.re) && std::isfinite(a.im); }
    static bool positive(S a) { return a > 0.0; } // false for NaN
    static S of(double v) { return v; }
    // Pixels compare max(|re|, |im|) of their delta, which is at least |delta| / sqrt 2.
    static S bound(S r) { return r * (0.70710678118654752 * (1 - 0x1p-40)); }
};

struct WideNumbers {
    using C = Cw;
    using S = ExtFloat;
    static C twice(const ReferenceOrbit& o, std::int32_t m) {
        Cw z = o.wideAt(m);
        if (!z.isZero()) ++z.e;
        return z;
    }
    static C one() { return {1.0, 0.0, 0}; }
    static S abs(C a) { return a.isZero() ? S{} : ExtFloat::of(std::hypot(a.re, a.im), a.e); }
    static bool finite(C a) { return std::isfinite(a.re) && std::isfinite(a.im); }
    static bool positive(S a) { return S{} < a && a.isFinite(); }
    static S of(double v) { return v; }
    // Pixels compare |delta|^2.
    static S bound(S r) { return r * r; }
};

template <class Numbers> class BlaTable {
public:
    using C = typename Numbers::C;
    using S = typename Numbers::S;
    struct Map {
        C a, b;
        S bound; // what a pixel's delta is compared with (Numbers::bound); 0: never taken
    };

    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;
    // Maps start at four steps: a map of two costs about what its two steps cost, in the
    // lanes less, and their level would take half the tables.
    static constexpr int kLowestLevel = 2;

    // The tables of `orbit` for pixels with |dc| <= dcMax. Nothing when `status` becomes
    // RenderStatus::AbortStop meanwhile.
    static std::optional<BlaTable> build(const ReferenceOrbit& orbit, S dcMax,
                                         const std::atomic<int>& status) {
        BlaTable t;
        const std::int64_t steps = orbit.last() - 1; // the maps of steps 1 .. N-1
        int top = 0;
        while ((std::int64_t{2} << top) <= steps)
            ++top;
        int low = kLowestLevel;
        while (low <= top && bytesFrom(low, steps) > kMaxBytes)
            ++low;
        t.low_ = low;
        t.dcMax_ = dcMax;
        if (low > top) return t;

        // The lowest level kept, one step at a time; then each level from pairs of the one below.
        std::vector<S> radius, next;
        std::vector<Map> level(static_cast<std::size_t>(steps >> low));
        radius.resize(level.size());
        for (std::size_t i = 0; i < level.size(); ++i) {
            if ((i & 4095) == 0 && aborted(status)) return std::nullopt;
            const std::int32_t m0 = static_cast<std::int32_t>(1 + (std::int64_t(i) << low));
            S r{};
            Map acc = single(orbit, m0, r);
            for (std::int32_t k = 1; k < (std::int32_t{1} << low); ++k) {
                S ry{};
                const Map y = single(orbit, m0 + k, ry);
                acc = chain(acc, r, y, ry, dcMax, r);
            }
            acc.bound = Numbers::bound(r);
            if (t.widest_ < acc.bound) t.widest_ = acc.bound;
            level[i] = acc;
            radius[i] = r;
        }
        t.levels_.push_back(std::move(level));
        for (int l = low + 1; l <= top; ++l) {
            const std::vector<Map>& below = t.levels_.back();
            std::vector<Map> up(static_cast<std::size_t>(steps >> l));
            next.resize(up.size());
            for (std::size_t i = 0; i < up.size(); ++i) {
                if ((i & 4095) == 0 && aborted(status)) return std::nullopt;
                S r{};
                up[i] = chain(below[2 * i], radius[2 * i], below[2 * i + 1], radius[2 * i + 1],
                              dcMax, r);
                up[i].bound = Numbers::bound(r);
                next[i] = r;
            }
            radius.swap(next);
            t.levels_.push_back(std::move(up));
        }
        return t;
    }

    bool empty() const { return levels_.empty(); }
    // The largest bound of the lowest level: a delta above it takes no map anywhere (no map's
    // radius exceeds that of its first half).
    const S& widest() const { return widest_; }
    // The largest |dc| the maps hold for.
    const S& dcMax() const { return dcMax_; }
    int low() const { return low_; }
    // The maps of level l, from m = 1 on.
    const std::vector<Map>& level(int l) const {
        return levels_[static_cast<std::size_t>(l - low_)];
    }
    int high() const { return low_ + static_cast<int>(levels_.size()) - 1; }
    // The map of 2^l steps from m (m - 1 a multiple of 2^l, m + 2^l <= N).
    const Map& at(int l, std::int32_t m) const {
        return levels_[static_cast<std::size_t>(l - low_)][static_cast<std::size_t>((m - 1) >> l)];
    }
    // Whether level l has a map from m.
    bool has(int l, std::int32_t m) const {
        return ((m - 1) >> l) < static_cast<std::int32_t>(levels_[l - low_].size());
    }
    std::size_t bytes() const {
        std::size_t n = 0;
        for (const auto& level : levels_)
            n += level.size() * sizeof(Map);
        return n;
    }

private:
    static bool aborted(const std::atomic<int>& status) {
        return status.load(std::memory_order_relaxed) == RenderStatus::AbortStop;
    }

    static std::size_t bytesFrom(int low, std::int64_t steps) {
        std::size_t n = 0;
        for (int l = low; (std::int64_t{1} << l) <= steps; ++l)
            n += static_cast<std::size_t>(steps >> l);
        return n * sizeof(Map);
    }

    static Map single(const ReferenceOrbit& orbit, std::int32_t m, S& r) {
        const Map step{Numbers::twice(orbit, m), Numbers::one(), S{}};
        const double z2 = norm(orbit.data()[m]);
        // |Z| = |2 Z| / 2; no skip over a step whose Z is near the escape circle.
        r = z2 < 4.0 - 0x1p-30 ? Numbers::abs(step.a) * Numbers::of(kBlaEpsilon / 2) : S{};
        return step;
    }

    static Map chain(const Map& x, S rx, const Map& y, S ry, S dcMax, S& r) {
        Map xy{y.a * x.a, y.a * x.b + y.b, S{}};
        r = S{};
        if (!Numbers::finite(xy.a) || !Numbers::finite(xy.b) || !Numbers::positive(rx)) return xy;
        const S room = ry - Numbers::abs(x.b) * dcMax;
        if (!Numbers::positive(room)) return xy;
        const S through = room / Numbers::abs(x.a);
        r = Numbers::positive(through) && through < rx ? through : rx;
        return xy;
    }

    int low_ = kLowestLevel;
    S widest_{}, dcMax_{};
    std::vector<std::vector<Map>> levels_; // levels_[l - low_]
};

using DoubleBla = BlaTable<DoubleNumbers>;
using WideBla = BlaTable<WideNumbers>;

} // namespace velq
