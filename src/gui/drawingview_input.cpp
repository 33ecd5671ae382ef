// Mouse and keyboard on the picture: the zoom selection, the contextual menu, command keys.
#include "gui/drawingview.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velq {

PointF DrawingView::viewPoint(const QPointF& position) const {
    // View coordinates have their origin at the picture's bottom left, y growing upward.
    return {static_cast<float>(position.x()), static_cast<float>(winy - position.y())};
}

void DrawingView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) mouseDown(event);
}

void DrawingView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) mouseDragged(event);
}

void DrawingView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) mouseUp(event);
}

void DrawingView::mouseDown(QMouseEvent* event) {
    // A press that reaches the picture during a render (the application was inactive) must
    // not start a gesture while the workers write the counts.
    if (status != RenderStatus::Idle) return;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::AltModifier) {
        mouse_on = (mods & Qt::ShiftModifier) ? 3 : 2;
        dragImage();
        return;
    }
    p1 = viewPoint(event->position());
    const double s = std::min(winx * 0.5, winy * 0.5);
    setDoubleValue(TextField_x, Mandat0.x + (p1.x - winx * 0.5) * Mandat0.w / s);
    setDoubleValue(TextField_y, Mandat0.y + (p1.y - winy * 0.5) * Mandat0.w / s);
    r1 = {};
    repaint();
    mouse_on = 1;
    if (osversion == 10.2) setFocus();
}

void DrawingView::mouseDragged(QMouseEvent* event) {
    if (mouse_on != 1 || status != RenderStatus::Idle) return;
    p2 = viewPoint(event->position());
    const int dx = static_cast<int>(p1.x - p2.x);
    const int dy = static_cast<int>(p1.y - p2.y);
    const int d = std::max(std::abs(dx), std::abs(dy)); // a square around the press point
    if (d < 3) return;
    const auto fd = static_cast<float>(d);
    r1 = {p1.x - fd, p1.y - fd, 2 * fd, 2 * fd};
    setDoubleValue(TextField_w, d / (std::min(winx, winy) * 0.5) * Mandat0.w);
    // The region the new view will fill: r1 stretched along the longer side.
    if (winx > winy) {
        const double ratio = static_cast<double>(winx) / winy;
        r2 = {static_cast<float>(p1.x - d * ratio), p1.y - fd, static_cast<float>(2 * d * ratio),
              2 * fd};
    } else {
        const double ratio = static_cast<double>(winy) / winx;
        r2 = {p1.x - fd, static_cast<float>(p1.y - d * ratio), 2 * fd,
              static_cast<float>(2 * d * ratio)};
    }
    repaint();
}

void DrawingView::mouseUp(QMouseEvent*) {
    if (status != RenderStatus::Idle) return;
    mouse_on = 0;
    if (r1.width < 2) {
        // A click without a selection: the fields show the current view again.
        setDoubleValue(TextField_x, Mandat0.x);
        setDoubleValue(TextField_y, Mandat0.y);
        setDoubleValue(TextField_w, Mandat0.w);
    }
    repaint();
}

void DrawingView::contextMenuEvent(QContextMenuEvent* event) {
    if (status != RenderStatus::Idle) return;
    updateActions();
    menu_->exec(event->globalPos());
}

void DrawingView::keyPressEvent(QKeyEvent* event) {
    keyDown(event);
    event->accept(); // the keys are not passed on, whatever they were
}

void DrawingView::keyDown(QKeyEvent* event) {
    if (osversion != 10.2) return;
    QMenu* control = menuHistmode->associatedObjects().isEmpty()
                         ? nullptr
                         : qobject_cast<QMenu*>(menuHistmode->associatedObjects().first());
    if (!control) return;
    // The characters ignoring every modifier but Shift.
    QString key = event->text();
    if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        const QChar letter(static_cast<char16_t>(event->key()));
        key =
            (event->modifiers() & Qt::ShiftModifier) ? QString(letter) : QString(letter.toLower());
    }
    QAction* item = nullptr;
    const QList<QAction*> items = control->actions();
    if (key == QLatin1String("i"))
        item = items.value(0);
    else if (key == QLatin1String("r"))
        item = items.value(1);
    else if (key == QLatin1String("b"))
        item = items.value(3);
    else if (key == QLatin1String("f"))
        item = items.value(4);
    else if (key == QLatin1String("z"))
        item = menuZoomIn->menu() ? menuZoomIn->menu()->actions().value(0) : nullptr;
    else if (key == QLatin1String("Z"))
        item = menuZoomOut->menu() ? menuZoomOut->menu()->actions().value(0) : nullptr;
    if (!item || !validateMenuItem(item)) return;
    menuMandel(item);
}

} // namespace velq
