// Test helpers that make what a render's event loop sees deterministic on a busy machine.
#pragma once

#include "core/render/kernel.h"
#include "gui/drawingview.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <thread>

namespace velq::testing {

// Workers wait until the render's event loop has delivered what was posted before the release.
inline std::atomic<bool> released{true};

inline std::int64_t heldRows(const KernelFrame& f, int r0, int rows, int stride,
                             std::int16_t* mandel) {
    while (!released)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return referenceRows(f, r0, rows, stride, mandel);
}

// The next render of `view` computes nothing until the events posted so far are delivered.
inline void holdTheNextRender(DrawingView* view) {
    released = false;
    view->setKernel(heldRows);
    QMetaObject::invokeMethod(
        view, [] { released = true; }, Qt::QueuedConnection);
}

// A press and its release on the middle of `target`, through the event queue.
inline void postClick(QWidget* target) {
    const QPointF at = QRectF(target->rect()).center();
    const QPointF global = target->mapToGlobal(at);
    QCoreApplication::postEvent(target,
                                new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(target,
                                new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

} // namespace velq::testing
