// The window's size following its picture.
#include "gui/windowsizing.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <vector>
#include <xcb/xcb.h>

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
    if (QWindow* handle = window->windowHandle()) {
        // The widget passes equal values on only once; the shown window needs them again.
        handle->setBaseSize(QSize(m.width, m.height));
        handle->setSizeIncrement(QSize(kSizeStep, kSizeStep));
    }
}

void WindowSizing::fitWindowToPicture(QPoint origin, int winx, int winy) {
    QWidget* window = view_->window();
    if (window == view_) return;
    const Margins m = windowMargins();
    if (origin != window->pos()) {
        const QRect available = window->screen()->availableGeometry();
        window->move(std::max(origin.x(), available.left()), std::max(origin.y(), available.top()));
    }
    window->resize(winx + m.width, winy + m.height);
}

bool WindowSizing::buttonsHeld() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return QGuiApplication::mouseButtons() != Qt::NoButton;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen->root), nullptr);
    if (!reply) return false;
    const bool held =
        (reply->mask & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3)) != 0;
    std::free(reply);
    return held;
}

} // namespace velq
