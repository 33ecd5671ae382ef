// Selection geometry: where a press points in the plane and the square a drag draws.
#include "core/view/selection.h"

#include <algorithm>
#include <cstdlib>

namespace velq {

PlanePoint planePoint(const MANDAT& v, PointF p, int winx, int winy) {
    const double s = std::min(winx * 0.5, winy * 0.5);
    return {v.x + (p.x - winx * 0.5) * v.w / s, v.y + (p.y - winy * 0.5) * v.w / s};
}

std::optional<ZoomSquare> zoomSquare(PointF press, PointF pointer, int winx, int winy, int ratio) {
    const int dx = static_cast<int>(press.x - pointer.x);
    const int dy = static_cast<int>(press.y - pointer.y);
    const int d = std::max(std::abs(dx), std::abs(dy));
    if (d < 3 * ratio) return std::nullopt;
    const auto fd = static_cast<float>(d);
    ZoomSquare square;
    square.r1 = {press.x - fd, press.y - fd, 2 * fd, 2 * fd};
    if (winx > winy) {
        const double ratio = static_cast<double>(winx) / winy;
        square.r2 = {static_cast<float>(press.x - d * ratio), press.y - fd,
                     static_cast<float>(2 * d * ratio), 2 * fd};
    } else {
        const double ratio = static_cast<double>(winy) / winx;
        square.r2 = {press.x - fd, static_cast<float>(press.y - d * ratio), 2 * fd,
                     static_cast<float>(2 * d * ratio)};
    }
    return square;
}

} // namespace velq
