// The window around the picture: its margins, its limits, fitting it to the picture, and the
// live resize the user drags.
#pragma once

#include "core/sizing/sizing.h"

#include <QPoint>
#include <QTimer>
#include <functional>

class QWidget;

namespace velq {

class WindowSizing {
public:
    // `view`: the picture's widget; `ended`: called when a live resize is over.
    WindowSizing(QWidget* view, std::function<void()> ended);

    // What the window's layout puts around the view; settled first, even before the first show.
    Margins windowMargins() const;
    // The window's maximum size and its 16-pixel steps.
    void setLimits();
    // Moves the window to `origin` and sizes it around a picture of winx x winy.
    void fitWindowToPicture(QPoint origin, int winx, int winy);

    // While the user drags the window's size; a short quiet spell ends it.
    bool inLiveResize() const { return liveResizeTimer_.isActive(); }
    // A resize that did not come from our own sizing (re)starts the live resize.
    void resized() { liveResizeTimer_.start(); }

private:
    QWidget* view_;
    QTimer liveResizeTimer_;
};

} // namespace velq
