// Filtering of user input while the workers render.
#include "gui/rendereventfilter.h"

#include <QApplication>
#include <QWidget>

namespace velq {
namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::NativeGesture:
        return true;
    default:
        return false;
    }
}

bool isPress(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
}

} // namespace

bool letThroughDuringRender(QEvent::Type type, bool onRunButton, bool appActive, bool pressPassed) {
    if (!isUserInput(type)) return true; // paint, expose, resize, timers: the window stays alive
    if (isPress(type)) return onRunButton || !appActive;
    if (type == QEvent::MouseButtonRelease)
        return onRunButton || pressPassed; // a passed press gets its release
    return false;
}

RenderEventFilter::RenderEventFilter(QWidget* runButton) : runButton_(runButton) {
    qApp->installEventFilter(this);
}

RenderEventFilter::~RenderEventFilter() {
    qApp->removeEventFilter(this);
}

bool RenderEventFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // Mouse events reach the window first and then its widgets; decide at the widget.
    if (!watched->isWidgetType() &&
        (isPress(type) || type == QEvent::MouseButtonRelease || type == QEvent::MouseMove))
        return false;
    const bool onRunButton = watched == runButton_.data();
    const bool pass = letThroughDuringRender(
        type, onRunButton, QGuiApplication::applicationState() == Qt::ApplicationActive,
        pressPassed_);
    if (isPress(type)) pressPassed_ = pass;
    return !pass;
}

} // namespace velq
