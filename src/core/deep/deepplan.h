// What the renders of one deep view at one size share: the reference orbit, the pixel step
// and the tables of the bilinear approximation, read-only once made.
#pragma once

#include "core/deep/bla.h"
#include "core/deep/deeprender.h"
#include "core/deep/referenceorbit.h"

#include <array>
#include <memory>
#include <optional>

namespace velq {

// Views narrower than this keep their deltas with a wide exponent until they grow: the pixel
// step is then below 2^-975 (1e-293 or so), where a double's delta would lose its digits.
inline constexpr std::int64_t kWideBelowExponent = -960;

// A pixel on its way in a plan of doubles.
struct DoubleState {
    Cd d, dc;
    std::int32_t m = 0; // the reference's index
    std::int64_t n = 0; // the pixel's
    // The last close approaches to 0 (rebases to a tiny z), in a ring: where and when, and
    // how far each one lay from the one `lag` before it (squared). A pixel settling on a cycle
    // that passes near 0 `lag` times, as in a bulb of a minibrot, comes back ever nearer the
    // approach `lag` before.
    static constexpr unsigned kLags = 4;
    std::array<Cd, kLags> nearZ{};
    std::array<std::int64_t, kLags> nearN{-1, -1, -1, -1};
    std::array<double, kLags> nearGap{HUGE_VAL, HUGE_VAL, HUGE_VAL, HUGE_VAL};
    unsigned newest = 0;        // the ring's newest approach
    double trapGap = HUGE_VAL;  // the gap of the cycle to be tried
    double triedGap = HUGE_VAL; // the gap when a proof was last tried
    std::int64_t period = 0;    // of a cycle that looks settled: to be tried
    int trapTries = 0;
};

class DeepPlan {
public:
    // `offset` is the picture's centre less the orbit's: zero unless the orbit is another
    // view's that lies in this picture (a movie's key, for the frames zooming towards it).
    DeepPlan(std::shared_ptr<const ReferenceOrbit> orbit, int winx, int winy, std::int32_t limit,
             const ExtFloat& w, std::array<ExtFloat, 2> offset = {});

    const ReferenceOrbit& orbit() const { return *orbit_; }
    const std::shared_ptr<const ReferenceOrbit>& sharedOrbit() const { return orbit_; }
    int winx() const { return winx_; }
    int winy() const { return winy_; }
    std::int32_t limit() const { return limit_; }
    const ExtFloat& step() const { return step_; }
    bool wide() const { return wide_; }
    // The tables: the double ones for ordinary plans, the wide ones for wide plans.
    const std::optional<DoubleBla>& doubleBla() const { return doubleBla_; }
    const std::optional<WideBla>& wideBla() const { return wideBla_; }
    std::size_t bytes() const;

    // Builds the tables; false when `status` stopped it.
    bool buildTables(const std::atomic<int>& status);

    // The raw count of pixel (column, row): n + 1 for an escape at z_n, 0 for none.
    DeepCount count(int column, int row) const;
    // Every stride-th pixel of a row, folded into `out` (the row's first count); the work.
    std::int64_t row(int row, int stride, std::int16_t* out) const;

private:
    // Pixels whose delta is beyond every map step one by one, several at a time: their chains
    // of dependent operations overlap. Each does exactly the steps it would do alone.
    static constexpr int kLanes = 4;

    // Steps a pixel until it is done (true, its count in `out`) or, with `toLanes`, until its
    // delta is beyond every map (false).
    bool advance(DoubleState& s, DeepCount& out, bool toLanes) const;
    // What follows a step: the limit, the escape, the rebase. Done, Go on, or Cycle (a rebase
    // that looks like a return to an attracting cycle: worth a proof).
    enum Settled { Go, Done, Cycle };
    Settled settle(DoubleState& s, DeepCount& out) const;
    // The bookkeeping of a rebase at a close approach to 0, at z.
    Settled closeApproach(DoubleState& s, Cd z) const;
    static constexpr int kTrapTries = 8;
    static constexpr std::int64_t kMaxTrapPeriod = std::int64_t{1} << 20;
    // Whether the disc of radius r about the pixel's z (just rebased) maps into itself after
    // `period` steps, every rounding bounded: then the orbit never escapes.
    bool trapped(const DoubleState& s, std::int64_t period) const;
    // Steps full lanes until some are done (bit k, the count in out[k]) or back within a
    // map's reach (bit k + kLanes).
    int stepLanes(std::array<DoubleState, kLanes>& lane, std::array<DeepCount, kLanes>& out) const;
    std::int64_t doubleRow(int row, int stride, std::int16_t* out) const;
    DeepCount doublePixel(Cd dc) const;
    DeepCount widePixel(Cw dc) const;

    std::shared_ptr<const ReferenceOrbit> orbit_;
    int winx_, winy_;
    std::int32_t limit_;
    ExtFloat step_; // the pixel step, (w + w) / min(winx, winy)
    std::array<ExtFloat, 2> offset_;
    bool wide_;
    double near_ = 0;
    std::optional<DoubleBla> doubleBla_;
    std::optional<WideBla> wideBla_;
};

} // namespace velq
