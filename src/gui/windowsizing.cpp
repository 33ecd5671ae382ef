// The window's size following its picture.
#include "gui/windowsizing.h"

#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <vector>

namespace velq {

WindowSizing::WindowSizing(QWidget* view, std::function<void()> ended) : view_(view) {
    liveResizeTimer_.setSingleShot(true);
    liveResizeTimer_.setInterval(150);
    QObject::connect(&liveResizeTimer_, &QTimer::timeout, view, std::move(ended));
}

Margins WindowSizing::windowMargins() const {
    std::vector<QWidget*> chain;
    for (QWidget* w = view_->parentWidget(); w; w = w->isWindow() ? nullptr : w->parentWidget())
        chain.push_back(w);
    for (auto w = chain.rbegin(); w != chain.rend(); ++w)
        if (QLayout* layout = (*w)->layout()) layout->activate();
    const QWidget* window = view_->window();
    return {window->width() - view_->width(), window->height() - view_->height()};
}

void WindowSizing::setLimits() {
    QWidget* window = view_->window();
    const Margins m = windowMargins();
    const QRect visible = window->screen()->availableGeometry();
    window->setMaximumSize(kMaxPictureWidth + m.width, maxWindowHeight(visible.height(), m));
    window->setSizeIncrement(kSizeStep, kSizeStep);
    window->setBaseSize(m.width, m.height);
}

void WindowSizing::fitWindowToPicture(QPoint origin, int winx, int winy) {
    QWidget* window = view_->window();
    if (window == view_) return;
    const Margins m = windowMargins();
    window->move(origin);
    window->resize(winx + m.width, winy + m.height);
}

} // namespace velq
