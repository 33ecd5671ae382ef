// Rendering deep views: perturbation around one reference orbit at arbitrary precision, with
// the per-pixel deltas in double or wide-exponent arithmetic, iterations skipped where the
// orbit is nearly linear, and glitches avoided by rebasing to the reference's start.
//
// The renders run on the render workers as any other, through deepRows and a KernelFrame whose
// `deep` points at a DeepPlan. Counts are stored folded into 1..1000 as the plain loop stores
// them, and the work counted is the plain loop's, iterations skipped included.
#pragma once

#include "core/deep/deepview.h"
#include "core/render/kernel.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

namespace velq {

// Below this width, with Deep Zoom on, views are rendered by the deep renderer; above it by the
// double kernel (every gallery place, the deepest at 6.8e-14, stays with the double kernel).
inline constexpr double kDeepThreshold = 5e-15;

// What the renders of one deep view at one size need: the reference orbit and the tables of
// the approximation. Read-only once made, so the workers share it.
class DeepPlan;

// Makes the plan of `view` at winx x winy on the calling thread (not a window's main thread:
// it may take long). The orbit of `previous` is reused when its centre is the same and its
// orbit is long enough (Redraw, a resize, an export, a raised limit). Nothing when `status`
// becomes RenderStatus::AbortStop meanwhile.
// With `reference`, a view no wider than this one whose centre lies in its picture, the orbit
// is the reference's centre's, and the pixels start from their offsets to it: the frames of a
// movie's segment share the orbit of the key they zoom towards.
std::shared_ptr<const DeepPlan> prepareDeep(const DeepView& view, int winx, int winy,
                                            const std::atomic<int>& status,
                                            std::shared_ptr<const DeepPlan> previous = {},
                                            const DeepView* reference = nullptr);

// The frame of a render of the plan: hand it to RenderWorkers::start with deepRows.
KernelFrame deepFrame(const std::shared_ptr<const DeepPlan>& plan);

// The RowKernel of deep renders; a frame without a plan renders with the plain loop.
std::int64_t deepRows(const KernelFrame& frame, int r0, int rowCount, int stride,
                      std::int16_t* mandel);

// One pixel of a deep render before the fold: the raw count (n + 1 for the first |z_n|^2 > 4
// with n < the limit, else 0) and the plain loop's iterations for it (n, or the limit).
struct DeepCount {
    std::int32_t raw = 0;
    std::int64_t work = 0;
    friend bool operator==(const DeepCount&, const DeepCount&) = default;
};
DeepCount deepCount(const DeepPlan& plan, int column, int row);

// Whether `view` is rendered by the deep renderer: it carries a deep part narrower than
// kDeepThreshold, or a limit beyond the double kernel's.
bool rendersDeep(const MANDAT& view);

// The renders of one picture, window or file: each view's frame, and for a view rendered deep
// its plan, held until the next render so that a Redraw, a resize or a raised limit reuses
// its orbit.
class DeepRenders {
public:
    // The frame of a render of `view` at winx x winy with `itLim`; a deep view's plan is made
    // on the calling thread, and nothing comes when `status` stopped that.
    std::optional<KernelFrame> frame(const MANDAT& view, int winx, int winy, int itLim,
                                     const std::atomic<int>& status,
                                     const DeepView* reference = nullptr);
    // The kernel of `frame`: deepRows for a deep one, else `doubles`.
    static RowKernel kernel(const KernelFrame& frame, RowKernel doubles) {
        return frame.deep ? deepRows : doubles;
    }

private:
    std::shared_ptr<const DeepPlan> plan_;
};

} // namespace velq
