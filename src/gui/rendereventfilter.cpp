// Filtering of user input while the workers render.
#include "gui/rendereventfilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
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

RenderInput duringRender(QEvent::Type type, int key, bool onRunButton, bool atRunButton,
                         bool appActive, bool pressPassed) {
    using enum RenderInput;
    if (!isUserInput(type)) return Pass; // paint, expose, resize, close: the window stays alive
    if (type == QEvent::KeyPress && key == Qt::Key_Escape) return Abort;
    if (isPress(type)) {
        if (onRunButton) return Pass;
        if (atRunButton) return Abort;
        return appActive ? Swallow : Pass;
    }
    if (type == QEvent::MouseButtonRelease)
        return onRunButton || pressPassed ? Pass : Swallow; // a passed press gets its release
    return Swallow;
}

RenderEventFilter::RenderEventFilter(QWidget* runButton, std::function<void()> abort)
    : runButton_(runButton), abort_(std::move(abort)) {
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
    bool atRunButton = false;
    if (isPress(type) && runButton_ && runButton_->isVisible()) {
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        // A press inside a popup over the button is the popup's.
        const QWidget* window = static_cast<QWidget*>(watched)->window();
        atRunButton = runButton_->rect().contains(runButton_->mapFromGlobal(at)) &&
                      (window == runButton_->window() || !window->geometry().contains(at));
    }
    const int key = type == QEvent::KeyPress ? static_cast<QKeyEvent*>(event)->key() : 0;
    const RenderInput decision =
        duringRender(type, key, watched == runButton_.data(), atRunButton,
                     QGuiApplication::applicationState() == Qt::ApplicationActive, pressPassed_);
    if (isPress(type)) pressPassed_ = decision == RenderInput::Pass;
    if (decision == RenderInput::Abort && abort_) abort_();
    return decision != RenderInput::Pass;
}

} // namespace velq
