// The picture size follows the window: buffers, the zoom box and the end of a live resize.
#include "gui/drawingview.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QResizeEvent>
#include <new>

namespace velq {
namespace {

bool renderRunning(int status) {
    return status == RenderStatus::Rendering || status < 0;
}

} // namespace

bool DrawingView::allocateBuffers(int width, int height) {
    // Allocate everything before replacing anything, so a failure keeps the old picture.
    try {
        std::vector<std::int16_t> counts(static_cast<std::size_t>(width) *
                                         static_cast<std::size_t>(height));
        QImage pixels(width, height, QImage::Format_RGBA8888);
        if (pixels.isNull()) return false;
        pixels.fill(0);
        mandel = std::move(counts);
        imageRep = std::move(pixels);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void DrawingView::resizeMandel(QPoint origin, QSize picture, int draw) {
    // The workers write into these buffers: never replace them while a render runs.
    if (renderRunning(status)) return;
    const int width = pictureSide(picture.width());
    const int height = pictureSide(picture.height());
    if (!allocateBuffers(width, height)) {
        fitWindowToPicture(origin); // the old picture stays, and the window around it
        return;
    }
    winx = width;
    winy = height;
    if (savepanelCurrent)
        savepanelCurrent->setText(QStringLiteral("PNG ( %1 x %2 )").arg(winx).arg(winy));
    if (draw == 1) runMandel(Mandat0, 0);
    fitWindowToPicture(origin);
}

Margins DrawingView::windowMargins() const {
    // What the window's layout puts around the view; settled first, even before the first show.
    std::vector<QWidget*> chain;
    for (QWidget* w = parentWidget(); w; w = w->isWindow() ? nullptr : w->parentWidget())
        chain.push_back(w);
    for (auto w = chain.rbegin(); w != chain.rend(); ++w)
        if (QLayout* layout = (*w)->layout()) layout->activate();
    const QWidget* window = this->window();
    return {window->width() - width(), window->height() - height()};
}

void DrawingView::fitWindowToPicture(QPoint origin) {
    QWidget* window = this->window();
    if (window == this) return;
    const Margins m = windowMargins();
    window->move(origin);
    window->resize(winx + m.width, winy + m.height);
}

bool DrawingView::windowShouldZoom(const QRect& proposed) {
    if (renderRunning(status)) return false;
    const Margins m = windowMargins();
    const PictureSize size =
        zoomPicture({static_cast<double>(proposed.x()), static_cast<double>(proposed.y()),
                     static_cast<double>(proposed.width()), static_cast<double>(proposed.height())},
                    m);
    resizeMandel(proposed.topLeft(), QSize(size.width, size.height), 1);
    repaint();
    return false;
}

bool DrawingView::inLiveResize() const {
    return liveResizeTimer_.isActive();
}

void DrawingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Our own sizing gives the view the picture's size; anything else is the user dragging.
    if (winx > 0 && event->size() != QSize(winx, winy)) liveResizeTimer_.start();
}

void DrawingView::viewDidEndLiveResize() {
    if (renderRunning(status)) {
        liveResizeTimer_.start(); // sizing waits for the render to end
        return;
    }
    const int width = pictureSide(this->width());
    const int height = pictureSide(this->height());
    if (width == winx && height == winy) {
        fitWindowToPicture(window()->pos());
        repaint();
        return;
    }
    resizeMandel(window()->pos(), QSize(width, height), 0);
    status = RenderStatus::ResizePending;
    updateActions();
    // The render starts from the event loop once the resize has returned to it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (status == RenderStatus::ResizePending) pushButton();
        },
        Qt::QueuedConnection);
}

} // namespace velq
