// The zoom selection's geometry, in view coordinates (origin at the picture's bottom left,
// y growing upward), as the window shows it and as Run applies it.
#pragma once

#include "core/view/mandat.h"

#include <optional>

namespace velq {

// A rectangle and a point in view coordinates, as 32-bit floats.
struct RectF {
    float x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const RectF&, const RectF&) = default;
};
struct PointF {
    float x = 0, y = 0;
};

// The point of the plane under view point `p` of a winx x winy picture of `v`.
struct PlanePoint {
    double x = 0, y = 0;
};
PlanePoint planePoint(const MANDAT& v, PointF p, int winx, int winy);

// A selection: the square `r1` around the press point that reaches the pointer along the larger
// axis distance d, and the region `r2` the new view will fill (r1 stretched along the picture's
// longer side). The new view's width follows from d (selectionWidth).
struct ZoomSquare {
    RectF r1, r2;
};
// Nothing while the pointer is less than 3 points from the press point on both axes; the
// picture has `ratio` units (device pixels) a point.
std::optional<ZoomSquare> zoomSquare(PointF press, PointF pointer, int winx, int winy,
                                     int ratio = 1);

} // namespace velq
