// The picture size follows the window: new buffers, the zoom box and the end of a live resize.
#include "gui/drawingview.h"

#include <QResizeEvent>

namespace velq {

void DrawingView::resizeMandel(QPoint origin, QSize size, int draw) {
    // The workers write into these buffers: never replace them while a render runs.
    if (driver_.rendering()) return;
    if (!picture_.allocate(pictureSide(size.width()), pictureSide(size.height()))) {
        // The old picture stays, and the window around it.
        sizing_.fitWindowToPicture(origin, picture_.winx(), picture_.winy());
        return;
    }
    savePanel_.showCurrentSize(picture_.winx(), picture_.winy());
    if (draw == 1) runMandel(Mandat0_, 0);
    sizing_.fitWindowToPicture(origin, picture_.winx(), picture_.winy());
}

bool DrawingView::windowShouldZoom(const QRect& proposed) {
    if (driver_.rendering()) return false;
    // A second zoom returns to the size and place from before the first.
    if (const auto before = sizing_.unzoomed()) {
        sizing_.setUnzoomed(std::nullopt);
        resizeMandel(before->origin, QSize(before->winx, before->winy), 1);
        repaint();
        return false;
    }
    const WindowSizing::Unzoomed before{window()->pos(), picture_.winx(), picture_.winy()};
    const PictureSize size =
        zoomPicture({static_cast<double>(proposed.x()), static_cast<double>(proposed.y()),
                     static_cast<double>(proposed.width()), static_cast<double>(proposed.height())},
                    sizing_.windowMargins());
    resizeMandel(proposed.topLeft(), QSize(size.width, size.height), 1);
    sizing_.setUnzoomed(before);
    repaint();
    return false;
}

void DrawingView::windowDidShow() {
    if (picture_.winx() > 0) sizing_.setLimits();
}

bool DrawingView::inLiveResize() const {
    return sizing_.inLiveResize();
}

void DrawingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Our own sizing gives the view the picture's size; anything else is the user dragging.
    if (picture_.winx() > 0 && event->size() != QSize(picture_.winx(), picture_.winy()))
        sizing_.resized();
}

void DrawingView::viewDidEndLiveResize() {
    // Sizing waits for the render to end, and for the window manager to let the window go.
    if (driver_.rendering() || WindowSizing::buttonsHeld()) {
        sizing_.resized();
        return;
    }
    sizing_.setUnzoomed(std::nullopt); // the user has chosen a size of their own
    const int width = pictureSide(this->width());
    const int height = pictureSide(this->height());
    if (width == picture_.winx() && height == picture_.winy()) {
        sizing_.fitWindowToPicture(window()->pos(), width, height);
        repaint();
        return;
    }
    resizeMandel(window()->pos(), QSize(width, height), 0);
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
