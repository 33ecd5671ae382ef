// Moving views that may be deep: the zooms, pans and selections of the window at the full
// precision of a deep view's centre and width. Views without a deep part move exactly as
// their doubles do (core/explore/navigation.h, core/view/selection.h).
#pragma once

#include "core/deep/deepview.h"
#include "core/explore/navigation.h"
#include "core/view/mandat.h"
#include "core/view/selection.h"

#include <optional>
#include <string>
#include <string_view>

namespace velq {

// Below this width, with Deep Zoom on, a view keeps its centre at full precision: doubles
// would soon place it only to the nearest few pixels.
inline constexpr double kDeepCarry = 1e-9;

// The view as Deep Zoom keeps it: with a deep part when its width is below kDeepCarry or its
// deep limit above 32768 (made from the doubles when it has none yet), without one otherwise;
// the six fields are the deep part rounded.
MANDAT withDepth(MANDAT v);
// The view as it is without Deep Zoom: its six fields.
MANDAT withoutDepth(MANDAT v);

// `v` with the iteration limit `limit`: the six fields hold it mapped to 256..32768; a limit
// above that, or any limit of a deep view, is also the deep part's.
MANDAT withLimit(MANDAT v, std::int32_t limit);

// The width divided by `factor` (the zoom commands, + and -).
MANDAT zoomedBy(const MANDAT& v, double factor);
// The hand's zoom about a pixel and its pan, as navigation.h's, for deep views too.
MANDAT zoomAboutView(const MANDAT& v, double px, double py, int winx, int winy, double notches,
                     double exponent, WidthBounds bounds);
MANDAT panView(const MANDAT& v, double dx, double dy, int winx, int winy);
// navigation.h's previewOf, for deep views too.
PreviewTransform previewOfView(const MANDAT& shown, const MANDAT& target, int winx, int winy);
// The centre a press at view point `p` stands for, and the width a selection square gives:
// `v` with those, for deep views at full precision.
MANDAT selectionCentre(const MANDAT& v, PointF p, int winx, int winy);
MANDAT selectionWidth(const MANDAT& v, int d, int winx, int winy);

// A view typed as text: the centre to any number of digits, the width of any exponent, the
// limit rounded up to a power of two up to 2^24. Nothing, with the reason, when a text is no
// number, the width not positive, or a value beyond the doubles' range (the view's own
// fields could not hold it).
std::optional<MANDAT> parseDeepView(std::string_view x, std::string_view y, std::string_view w,
                                    std::int64_t it, int cs, int cp, std::string* why = nullptr);

// The centre as the fields show it: as many decimals as width `w` needs to place a pixel, and
// some more, trailing zeros left out.
std::string centreText(const Real& c, const ExtFloat& w);

} // namespace velq
