// Painting of the colour bar: entries 0 to 1000 of the map, unrotated, with a dark rim.
#include "gui/colourbarview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace velq {

void ColourBarView::paintEvent(QPaintEvent*) {
    if (!bar_) return;
    QPainter painter(this);
    const QRectF target(0, 0, width(), height());
    painter.drawImage(target, *bar_, QRectF(0, 0, 1001, 1));
    // Left, top and right edges; the bottom edge stays open.
    QPainterPath rim;
    rim.moveTo(0, height());
    rim.lineTo(0, 0);
    rim.lineTo(width(), 0);
    rim.lineTo(width(), height());
    painter.setPen(QPen(QColor::fromRgbF(0.1f, 0.1f, 0.1f, 0.6f), 3));
    painter.drawPath(rim);
}

void ColourBarView::mousePressEvent(QMouseEvent* event) {
    pressedAt_ = event->position().toPoint();
}

void ColourBarView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !startDrag_) return;
    if ((event->position().toPoint() - pressedAt_).manhattanLength() <
        QApplication::startDragDistance())
        return;
    startDrag_(event->modifiers() & Qt::ShiftModifier);
}

} // namespace velq
