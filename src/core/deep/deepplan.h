// What the renders of one deep view at one size share: the reference orbit, the pixel step
// and the tables of the bilinear approximation, read-only once made.
#pragma once

#include "core/deep/bla.h"
#include "core/deep/deeplanes.h"
#include "core/deep/deeprender.h"
#include "core/deep/referenceorbit.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace velq {

// Views narrower than this keep their deltas with a wide exponent until they grow: the pixel
// step is then below 2^-975 (1e-293 or so), where a double's delta would lose its digits.
inline constexpr std::int64_t kWideBelowExponent = -960;

// A point of an attracting cycle of some pixel (the one near 0, with the reference at its
// start), for Newton's method at a neighbour: the pixel's dc, the point's derivative by c
// (0 where unknown), the cycle's period and multiplier's size, and how far its map stays
// nearly linear about the point.
struct CycleSeed {
    Cd z, c, slope;
    double lambda = 1, reach = 0;
    std::int64_t period = 0;
};

// A pixel on its way in a plan of doubles.
struct DoubleState {
    Cd d, dc;
    std::int32_t m = 0; // the reference's index
    std::int64_t n = 0; // the pixel's
    // The last close approaches to 0 (rebases to a tiny z), the newest first: where and when.
    // A pixel near an attracting cycle that passes near 0 `lag` times a period, as in a bulb
    // of a minibrot, comes back near the approach `lag` before. Kept as parts, so that the
    // distances to all of them are found in a few vector operations.
    static constexpr unsigned kLags = 8;
    std::array<double, kLags> nearRe{}, nearIm{};
    std::array<std::int64_t, kLags> nearN{-1, -1, -1, -1, -1, -1, -1, -1};
    // How far the newest lay from the one `lag` before it (squared).
    std::array<double, kLags> nearGap{HUGE_VAL, HUGE_VAL, HUGE_VAL, HUGE_VAL,
                                      HUGE_VAL, HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double triedGap = HUGE_VAL; // the gap when a proof was last tried
    std::int64_t period = 0;    // of a cycle that z seems to be near: to be tried
    CycleSeed cycle;            // the cycle proven attracting, once done
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

    // What the vector lanes need of a plan of doubles with its tables built.
    DeepLaneBounds laneBounds() const;

    // Builds the tables; false when `status` stopped it.
    bool buildTables(const std::atomic<int>& status);

    // The raw count of pixel (column, row): n + 1 for an escape at z_n, 0 for none.
    DeepCount count(int column, int row) const;
    // Pixel (column, row)'s c less the reference's, re and im.
    std::array<ExtFloat, 2> delta(int column, int row) const;
    // Every stride-th pixel of a row, folded into `out` (the row's first count); the work.
    // `cycles` holds, column by column, the attracting cycles proven in the row before (of a
    // group of rows rendered in turn), and then this row's.
    std::int64_t row(int row, int stride, std::int16_t* out, std::vector<CycleSeed>& cycles) const;

    // Whether the pixel at dc from the orbit's centre is inside, by an attracting cycle of the
    // seed's period (or a divisor): first a disc about the point the seed predicts, then
    // Newton's method from the seed's point and a disc about the point found. The seed then
    // moves to this pixel's cycle. Where it says yes, the orbit never escapes.
    bool cycleInside(Cd dc, CycleSeed& seed) const;

private:
    // Steps a pixel until it is done (true, its count in `out`) or, with `toLanes`, until its
    // delta is beyond every map (false): pixels that step one by one go to the vector lanes,
    // which also take the maps that hold for them now and then.
    bool advance(DoubleState& s, DeepCount& out, bool toLanes) const;
    // Whether a pixel just back at what looks like a cycle is proven inside (its count in
    // `out`); the cycle is forgotten otherwise.
    bool provenInside(DoubleState& s, DeepCount& out) const;
    // What follows a step: the limit, the escape, the rebase. Done, Go on, or Cycle (a rebase
    // that looks like a return to an attracting cycle: worth a proof).
    enum Settled { Go, Done, Cycle };
    Settled settle(DoubleState& s, DeepCount& out) const;
    // The bookkeeping of a rebase at a close approach to 0, at z.
    Settled closeApproach(DoubleState& s, Cd z) const;
    static constexpr int kTrapTries = 8;
    static constexpr std::int64_t kMaxTrapPeriod = std::int64_t{1} << 20;
    // How near (squared, against |z|^2) a return must come to be tried as a cycle.
    static constexpr double kReturnNear = 0x1p-18;
    // The orbit of a point z0 over one period (the reference at its start): where it ends, its
    // derivatives by z0 and by c, and how far the period's map stays nearly linear about z0
    // (the least |z_j| / |dz_j/dz0| on the way). With a radius r, also whether the disc of r
    // about z0 maps into itself, every rounding bounded: such a disc holds an attracting
    // cycle, which draws in the orbit of 0 (Fatou), so the pixel's orbit stays bounded.
    // Nothing where the orbit escapes or does not end at a rebase.
    struct Walk {
        Cd z, dz, dc;
        double reach;
        bool trapped;
        std::int64_t back = 0; // the first step at which z came back to z0, if any
    };
    std::optional<Walk> walk(Cd dc, Cd z0, std::int64_t period, double r = 0) const;
    // Whether the disc about z0 that the seed's multiplier and reach allow traps the orbit;
    // the seed then moves to this pixel.
    bool provenAbout(Cd dc, Cd z0, CycleSeed& seed) const;
    static constexpr int kNewtonSteps = 8;
    // One step of the pixel, or the longest map that holds for its delta; false, with
    // `toLanes`, where its delta is beyond every map (nothing is done then).
    bool step(DoubleState& s, bool toLanes) const;
    std::int64_t doubleRow(int row, int stride, std::int16_t* out,
                           std::vector<CycleSeed>& cycles) const;
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
    // For the lanes: the double maps level by level, and the lowest level's bounds.
    std::vector<const double*> mapLevels_;
    std::vector<double> lowReach_;
    std::optional<WideBla> wideBla_;
};

} // namespace velq
