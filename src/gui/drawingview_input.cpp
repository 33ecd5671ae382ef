// Mouse and keyboard on the picture: the zoom selection, the contextual menu, command keys.
#include "core/deep/deeparith.h"
#include "gui/drawingview.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

namespace velq {

PointF DrawingView::viewPoint(const QPointF& position) const {
    // View coordinates have their origin at the picture's bottom left, y growing upward, and
    // count the picture's device pixels.
    const QPointF at = devicePoint(position);
    return {static_cast<float>(at.x()), static_cast<float>(picture_.winy() - at.y())};
}

WidthBounds DrawingView::widthBounds() const {
    // Deep Zoom takes the width below the floor of doubles, as far as its numbers reach.
    return deepZoom_ ? WidthBounds{0.0, kMaxZoomWidth} : WidthBounds{kMinWidth, kMaxZoomWidth};
}

QPointF DrawingView::devicePoint(const QPointF& position) const {
    return (position - pictureOffset()) * picture_.ratio();
}

void DrawingView::mousePressEvent(QMouseEvent* event) {
    // The middle button, or the left one with Space held, pans; the left one alone selects.
    const bool pan = event->button() == Qt::MiddleButton ||
                     (event->button() == Qt::LeftButton && hand_.spaceHeld);
    if (pan && driver_.idle()) {
        hand_.panFrom = event->position();
        hand_.hold(true);
    } else if (event->button() == Qt::LeftButton) {
        mouseDown(event);
    }
}

void DrawingView::mouseMoveEvent(QMouseEvent* event) {
    if (hand_.panFrom) {
        const QPointF moved = (event->position() - *hand_.panFrom) * picture_.ratio();
        hand_.panFrom = event->position();
        gestureStep(panView(Mandat0_, moved.x(), moved.y(), picture_.winx(), picture_.winy()));
    } else if (event->buttons() & Qt::LeftButton) {
        mouseDragged(event);
    }
}

void DrawingView::mouseReleaseEvent(QMouseEvent* event) {
    if (hand_.panFrom) {
        if (event->buttons() & (Qt::LeftButton | Qt::MiddleButton)) return;
        hand_.panFrom.reset();
        hand_.hold(false);
    } else if (event->button() == Qt::LeftButton) {
        mouseUp(event);
    }
}

void DrawingView::wheelEvent(QWheelEvent* event) {
    event->accept();
    // A notch is 120; touchpads send parts of one, which zoom by the same continuous factor.
    const QPoint delta = event->angleDelta();
    const double notches = (delta.y() != 0 ? delta.y() : delta.x()) / 120.0;
    if (notches == 0) return;
    const double exponent =
        event->modifiers() & Qt::ShiftModifier ? kFineNotchExponent : kNotchExponent;
    const QPointF at = devicePoint(event->position());
    gestureStep(zoomAboutView(Mandat0_, at.x(), at.y(), picture_.winx(), picture_.winy(), notches,
                              exponent, widthBounds()));
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
    fields_.showCentre(
        selectionCentre(Mandat0_, selection_.p1(), picture_.winx(), picture_.winy()));
    repaint();
    if (osversion_ == 10.2) setFocus();
}

void DrawingView::mouseDragged(QMouseEvent* event) {
    if (!driver_.idle()) return;
    if (!selection_.drag(viewPoint(event->position()), picture_.winx(), picture_.winy())) return;
    // The square's half side d gives the width: at full precision for a deep view.
    const int d = static_cast<int>(selection_.r1().width / 2);
    fields_.showWidth(selectionWidth(Mandat0_, d, picture_.winx(), picture_.winy()));
    repaint();
}

void DrawingView::mouseUp(QMouseEvent*) {
    if (!driver_.idle()) return;
    // A click without a selection: the fields show the current view again.
    if (selection_.release()) fields_.show(Mandat0_);
    repaint();
}

void DrawingView::contextMenuEvent(QContextMenuEvent* event) {
    if (!driver_.idle()) return;
    updateActions();
    menus_.outlets().menu_->exec(event->globalPos());
}

void DrawingView::keyPressEvent(QKeyEvent* event) {
    if (osversion_ == 10.2)
        keyDown(event);
    else if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        hand_.spaceHeld = true;
    else
        handKey(event);
    event->accept(); // the keys are not passed on, whatever they were
}

void DrawingView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) hand_.spaceHeld = false;
    event->accept();
}

bool DrawingView::handKey(QKeyEvent* event) {
    // The arrows move the view by an eighth of the picture; + and - zoom by 2 about the centre.
    // Repeated keys are steps of one gesture.
    const int winx = picture_.winx(), winy = picture_.winy();
    switch (event->key()) {
    case Qt::Key_Left:
        gestureStep(panView(Mandat0_, winx / 8.0, 0, winx, winy));
        return true;
    case Qt::Key_Right:
        gestureStep(panView(Mandat0_, -winx / 8.0, 0, winx, winy));
        return true;
    case Qt::Key_Up:
        gestureStep(panView(Mandat0_, 0, winy / 8.0, winx, winy));
        return true;
    case Qt::Key_Down:
        gestureStep(panView(Mandat0_, 0, -winy / 8.0, winx, winy));
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus: {
        const double notches = event->key() == Qt::Key_Minus ? -4 : 4;
        gestureStep(zoomAboutView(Mandat0_, winx / 2.0, winy / 2.0, winx, winy, notches,
                                  kNotchExponent, widthBounds()));
        return true;
    }
    default:
        return false;
    }
}

void DrawingView::keyDown(QKeyEvent* event) {
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
