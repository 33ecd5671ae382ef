// The zoom selection following the mouse.
#include "gui/zoomselection.h"

namespace velq {

void ZoomSelection::press(PointF p) {
    p1_ = p;
    r1_ = {};
    mouse_on_ = MouseOn::Selecting;
}

std::optional<double> ZoomSelection::drag(PointF p, int winx, int winy, double w, int ratio) {
    if (mouse_on_ != MouseOn::Selecting) return std::nullopt;
    p2_ = p;
    const std::optional<ZoomSquare> square = zoomSquare(p1_, p2_, winx, winy, w, ratio);
    if (!square) return std::nullopt;
    r1_ = square->r1;
    r2_ = square->r2;
    return square->w;
}

bool ZoomSelection::release() {
    mouse_on_ = MouseOn::None;
    return r1_.width < 2;
}

} // namespace velq
