// The window around the picture: its margins, its limits and size steps, fitting it to the
// picture, the live resize the user drags, and the zoom that can be undone.
#pragma once

#include "core/sizing/sizing.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <functional>
#include <optional>

class QWidget;

namespace velq {

class WindowSizing {
public:
    // `view`: the picture's widget; `ended`: called when a live resize is over.
    WindowSizing(QWidget* view, std::function<void()> ended);

    // What the window's layout puts around the view; settled first, even before the first show.
    Margins windowMargins() const;
    // The window's maximum size and its 16-pixel steps. Set again each time the window shows:
    // hints set before the first show do not all reach the window manager.
    void setLimits();
    // Sizes the window around a picture of winx x winy, moved to `origin` only when that is
    // not where it is, and never with its title bar off the screen.
    void fitWindowToPicture(QPoint origin, int winx, int winy);

    // While the user drags the window's size; a short quiet spell with no button held ends it.
    bool inLiveResize() const { return liveResizeTimer_.isActive(); }
    // A resize that did not come from our own sizing (re)starts the live resize.
    void resized() { liveResizeTimer_.start(); }
    // Whether a mouse button is down anywhere on the screen: the window manager may still be
    // resizing the window.
    static bool buttonsHeld();

    // The zoom box: where the window was before it was zoomed, while it still is zoomed.
    struct Unzoomed {
        QPoint origin;
        QSize points; // the picture's size
    };
    const std::optional<Unzoomed>& unzoomed() const { return unzoomed_; }
    void setUnzoomed(std::optional<Unzoomed> before) { unzoomed_ = before; }

    // In full screen the window is the screen's; the picture is centred in it.
    bool fullScreen() const { return fullScreen_; }
    void setFullScreen(bool on) { fullScreen_ = on; }

private:
    QWidget* view_;
    QTimer liveResizeTimer_;
    std::optional<Unzoomed> unzoomed_; // also where full screen returns to
    bool fullScreen_ = false;
};

} // namespace velq
