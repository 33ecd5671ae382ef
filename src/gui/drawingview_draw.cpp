// Drawing the picture: plain, with the zoom selection, or as the live-resize preview.
#include "gui/drawingview.h"

#include <QPainter>
#include <algorithm>

namespace velq {
namespace {

// A rectangle of view coordinates (device pixels, y up from the picture's bottom) in points
// from the picture's top left.
QRectF toWidget(const RectF& r, int winy, int ratio) {
    return QRectF(r.x / ratio, (winy - r.y - r.height) / ratio, r.width / ratio, r.height / ratio);
}

} // namespace

void DrawingView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // While an export renders into buffers of its own, the window keeps showing its picture.
    // During a gesture, the picture moved or scaled until the first render of the new view.
    const QImage& shown = shownImage_       ? *shownImage_
                          : hand_.preview() ? *hand_.preview()
                                            : picture_.imageRep();
    if (inLiveResize()) {
        drawLiveResize(painter, shown);
    } else {
        painter.translate(pictureOffset());
        if (selection_.shown())
            drawSelection(painter, shown);
        else
            painter.drawImage(0, 0, shown);
    }
    drawcbar();
}

void DrawingView::drawLiveResize(QPainter& painter, const QImage& picture) {
    const QRect rect = this->rect();
    painter.fillRect(rect, Qt::black);
    // In device pixels, as the picture is rendered.
    const int ratio = picture_.ratio();
    const int wI = rect.width() * ratio, hI = rect.height() * ratio;
    const int winx = picture.width(), winy = picture.height();
    // The old picture, scaled so its shorter side spans the new shorter side, centred.
    const float s = static_cast<float>(std::min(winx, winy)) / static_cast<float>(std::min(wI, hI));
    const QRectF source((winx - wI * s) * 0.5f, (winy - hI * s) * 0.5f, wI * s, hI * s);
    painter.setOpacity(0.6);
    painter.drawImage(QRectF(rect), picture, source);
    painter.setOpacity(1.0);
    painter.setPen(Qt::white);
    painter.drawText(rect, Qt::AlignCenter, QStringLiteral("%1 x %2").arg(wI).arg(hI));
}

void DrawingView::drawSelection(QPainter& painter, const QImage& picture) {
    const int ratio = picture_.ratio();
    const QRectF whole(0, 0, picture.width(), picture.height());
    painter.fillRect(QRectF(-pictureOffset(), size()), Qt::black);
    painter.setOpacity(0.6);
    painter.drawImage(QRectF(0, 0, whole.width() / ratio, whole.height() / ratio), picture, whole);
    painter.setOpacity(1.0);
    const QRectF region = toWidget(selection_.r2(), picture.height(), ratio);
    painter.drawImage(region, picture, QRectF(region.topLeft() * ratio, region.size() * ratio));
    painter.setPen(QColor::fromRgbF(1, 1, 1, 0.6f));
    painter.drawRect(region);
    // A cross of 5 units each way through the selection's centre, whatever its size.
    const QPointF c = region.center();
    painter.setPen(Qt::white);
    painter.drawLine(QPointF(c.x(), c.y() - 5), QPointF(c.x(), c.y() + 5));
    painter.drawLine(QPointF(c.x() - 5, c.y()), QPointF(c.x() + 5, c.y()));
}

} // namespace velq
