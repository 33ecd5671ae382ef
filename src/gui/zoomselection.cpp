// The zoom selection following the mouse.
#include "gui/zoomselection.h"

namespace velq {

void ZoomSelection::press(PointF p) {
    p1_ = p;
    r1_ = {};
    mouse_on_ = MouseOn::Selecting;
}

bool ZoomSelection::drag(PointF p, int winx, int winy, int ratio) {
    if (mouse_on_ != MouseOn::Selecting) return false;
    p2_ = p;
    const std::optional<ZoomSquare> square = zoomSquare(p1_, p2_, winx, winy, ratio);
    if (!square) return false;
    r1_ = square->r1;
    r2_ = square->r2;
    return true;
}

bool ZoomSelection::release() {
    mouse_on_ = MouseOn::None;
    return r1_.width < 2;
}

} // namespace velq
