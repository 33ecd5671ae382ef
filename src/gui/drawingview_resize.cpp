// The picture size follows the window: new buffers, the zoom box, full screen and the end of a
// live resize. Sizes of the window are in points; the picture has `ratio` device pixels a point.
#include "gui/drawingview.h"

#include <QResizeEvent>
#include <QScreen>
#include <cmath>

namespace velq {

int DrawingView::pixelRatio() const {
    // Whole ratios only (the application rounds the scale factor): sizes stay multiples of 16.
    return std::max(1, static_cast<int>(std::lround(devicePixelRatioF())));
}

void DrawingView::resizeMandel(QPoint origin, QSize size, int draw) {
    const int ratio = pixelRatio();
    resizePicture(
        origin, QSize(pictureSide(size.width()) * ratio, pictureSide(size.height()) * ratio), draw);
}

void DrawingView::resizePicture(QPoint origin, QSize device, int draw) {
    // The workers write into these buffers: never replace them while a render runs.
    if (driver_.rendering()) return;
    stopGesture();
    if (picture_.allocate(device.width(), device.height(), pixelRatio())) {
        savePanel_.showCurrentSize(picture_.winx(), picture_.winy());
        if (draw == 1) runMandel(Mandat0_, 0);
    }
    // A picture that cannot be had keeps the old one, and the window around it.
    if (!sizing_.fullScreen())
        sizing_.fitWindowToPicture(origin, picture_.points().width(), picture_.points().height());
}

bool DrawingView::windowShouldZoom(const QRect& proposed) {
    if (driver_.rendering() || sizing_.fullScreen()) return false;
    // A second zoom returns to the size and place from before the first.
    if (const auto before = sizing_.unzoomed()) {
        sizing_.setUnzoomed(std::nullopt);
        resizeMandel(before->origin, before->points, 1);
        repaint();
        return false;
    }
    const WindowSizing::Unzoomed before{window()->pos(), picture_.points()};
    const PictureSize size =
        zoomPicture({static_cast<double>(proposed.x()), static_cast<double>(proposed.y()),
                     static_cast<double>(proposed.width()), static_cast<double>(proposed.height())},
                    sizing_.windowMargins());
    resizeMandel(proposed.topLeft(), QSize(size.width, size.height), 1);
    sizing_.setUnzoomed(before);
    repaint();
    return false;
}

bool DrawingView::fullScreen(bool on) {
    if (driver_.rendering() || on == sizing_.fullScreen()) return sizing_.fullScreen();
    if (on) {
        // The largest picture that fits the screen with the controls, centred on black.
        sizing_.setUnzoomed(WindowSizing::Unzoomed{window()->pos(), picture_.points()});
        const Margins m = sizing_.windowMargins();
        const QSize screen = window()->screen()->geometry().size();
        sizing_.setFullScreen(true);
        window()->showFullScreen();
        resizeMandel({}, screen - QSize(m.width, m.height), 1);
    } else {
        const auto before = sizing_.unzoomed();
        sizing_.setFullScreen(false);
        sizing_.setUnzoomed(std::nullopt);
        window()->showNormal();
        if (before) resizeMandel(before->origin, before->points, 1);
    }
    repaint();
    return on;
}

QPoint DrawingView::pictureOffset() const {
    if (!sizing_.fullScreen()) return {};
    const QSize points = picture_.points();
    return {std::max(0, (width() - points.width()) / 2),
            std::max(0, (height() - points.height()) / 2)};
}

void DrawingView::windowDidShow() {
    if (picture_.winx() == 0) return;
    sizing_.setLimits();
    // A scaled screen may have shrunk the window as it was first shown.
    if (!sizing_.fullScreen())
        sizing_.fitWindowToPicture(window()->pos(), picture_.points().width(),
                                   picture_.points().height());
}

bool DrawingView::inLiveResize() const {
    return sizing_.inLiveResize();
}

void DrawingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Our own sizing gives the view the picture's size; anything else is the user dragging.
    if (picture_.winx() > 0 && !sizing_.fullScreen() && event->size() != picture_.points())
        sizing_.resized();
}

void DrawingView::viewDidEndLiveResize() {
    // Sizing waits for the render to end, and for the window manager to let the window go.
    if (driver_.rendering() || WindowSizing::buttonsHeld()) {
        sizing_.resized();
        return;
    }
    if (sizing_.fullScreen()) return;
    sizing_.setUnzoomed(std::nullopt); // the user has chosen a size of their own
    const QSize points(pictureSide(width()), pictureSide(height()));
    if (points == picture_.points()) {
        sizing_.fitWindowToPicture(window()->pos(), points.width(), points.height());
        repaint();
        return;
    }
    resizeMandel(window()->pos(), points, 0);
    driver_.markResizePending();
    updateActions();
    // The render starts from the event loop once the resize has returned to it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (driver_.status() == RenderStatus::ResizePending) pushButton();
        },
        Qt::QueuedConnection);
}

} // namespace velq
