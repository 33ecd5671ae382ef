// Mouse and keyboard on the picture: the zoom selection, the contextual menu, command keys.
#include "gui/drawingview.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace velq {

PointF DrawingView::viewPoint(const QPointF& position) const {
    // View coordinates have their origin at the picture's bottom left, y growing upward, and
    // count the picture's device pixels.
    const QPointF at = (position - pictureOffset()) * picture_.ratio();
    return {static_cast<float>(at.x()), static_cast<float>(picture_.winy() - at.y())};
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
    if (!driver_.idle()) return;
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::AltModifier) {
        selection_.setMouseOn((mods & Qt::ShiftModifier) ? MouseOn::DragHalf : MouseOn::DragFull);
        dragImage();
        return;
    }
    selection_.press(viewPoint(event->position()));
    const PlanePoint centre =
        planePoint(Mandat0_, selection_.p1(), picture_.winx(), picture_.winy());
    fields_.showX(centre.x);
    fields_.showY(centre.y);
    repaint();
    if (osversion_ == 10.2) setFocus();
}

void DrawingView::mouseDragged(QMouseEvent* event) {
    if (!driver_.idle()) return;
    const std::optional<double> w =
        selection_.drag(viewPoint(event->position()), picture_.winx(), picture_.winy(), Mandat0_.w);
    if (!w) return;
    fields_.showW(*w);
    repaint();
}

void DrawingView::mouseUp(QMouseEvent*) {
    if (!driver_.idle()) return;
    // A click without a selection: the fields show the current view again.
    if (selection_.release()) fields_.show(Mandat0_.x, Mandat0_.y, Mandat0_.w);
    repaint();
}

void DrawingView::contextMenuEvent(QContextMenuEvent* event) {
    if (!driver_.idle()) return;
    updateActions();
    menus_.outlets().menu_->exec(event->globalPos());
}

void DrawingView::keyPressEvent(QKeyEvent* event) {
    keyDown(event);
    event->accept(); // the keys are not passed on, whatever they were
}

void DrawingView::keyDown(QKeyEvent* event) {
    if (osversion_ != 10.2) return;
    const CommandMenus::Outlets& menus = menus_.outlets();
    QMenu* control = menus.menuHistmode->associatedObjects().isEmpty()
                         ? nullptr
                         : qobject_cast<QMenu*>(menus.menuHistmode->associatedObjects().first());
    if (!control) return;
    // The characters ignoring every modifier but Shift.
    QString key = event->text();
    if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        const QChar letter(static_cast<char16_t>(event->key()));
        key =
            (event->modifiers() & Qt::ShiftModifier) ? QString(letter) : QString(letter.toLower());
    }
    const auto firstOf = [](const QAction* sub) {
        return sub->menu() ? sub->menu()->actions().value(0) : nullptr;
    };
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
        item = firstOf(menus.menuZoomIn);
    else if (key == QLatin1String("Z"))
        item = firstOf(menus.menuZoomOut);
    if (!item || !validateMenuItem(item)) return;
    menuMandel(item);
}

} // namespace velq
