// What the renders of one deep view at one size share: the reference orbit, the pixel step
// and the tables of the bilinear approximation, read-only once made.
#pragma once

#include "core/deep/bla.h"
#include "core/deep/deeprender.h"
#include "core/deep/referenceorbit.h"

#include <memory>
#include <optional>

namespace velq {

// Views narrower than this keep their deltas with a wide exponent until they grow: the pixel
// step is then below 2^-975 (1e-293 or so), where a double's delta would lose its digits.
inline constexpr std::int64_t kWideBelowExponent = -960;

class DeepPlan {
public:
    DeepPlan(std::shared_ptr<const ReferenceOrbit> orbit, int winx, int winy, std::int32_t limit,
             const ExtFloat& w);

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

private:
    DeepCount doublePixel(Cd dc) const;
    DeepCount widePixel(Cw dc) const;

    std::shared_ptr<const ReferenceOrbit> orbit_;
    int winx_, winy_;
    std::int32_t limit_;
    ExtFloat step_; // the pixel step, (w + w) / min(winx, winy)
    bool wide_;
    std::optional<DoubleBla> doubleBla_;
    std::optional<WideBla> wideBla_;
};

} // namespace velq
