// The zoom selection of the mouse: the press point, the square dragged around it and the
// region the new view will fill, and what the mouse is doing.
#pragma once

#include "core/view/selection.h"

namespace velq {

// What a press started: nothing, a zoom selection, or a drag out at full or half size.
namespace MouseOn {
inline constexpr int None = 0;
inline constexpr int Selecting = 1;
inline constexpr int DragFull = 2;
inline constexpr int DragHalf = 3;
} // namespace MouseOn

class ZoomSelection {
public:
    PointF p1() const { return p1_; }
    PointF p2() const { return p2_; }
    RectF r1() const { return r1_; }
    RectF r2() const { return r2_; }
    int mouse_on() const { return mouse_on_; }
    // Shown while the square is wider than 2 units.
    bool shown() const { return r1_.width > 2; }

    // A press at `p` starts a new selection: any old square goes.
    void press(PointF p);
    void setMouseOn(int what) { mouse_on_ = what; }
    // The pointer moved to `p` during a selection: whether a square is drawn, which it is not
    // while too small to count. `ratio`: device pixels a point.
    bool drag(PointF p, int winx, int winy, int ratio = 1);
    // The button went up: true when no square was drawn (a plain click).
    bool release();
    // A render starts: any selection ends.
    void clear() { r1_ = r2_ = {}; }

private:
    PointF p1_, p2_;
    RectF r1_, r2_;
    int mouse_on_ = MouseOn::None;
};

} // namespace velq
