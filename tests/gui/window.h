// The window offscreen for the widget tests: alerts recorded instead of shown, file panels
// answered in place of the user, and the picture a view must give.
#pragma once

#include "app/translations.h"
#include "core/colour/colormap.h"
#include "core/deep/deeprender.h"
#include "core/render/renderworkers.h"
#include "gui/drawingview.h"
#include "gui/mainwindow.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QtTest>
#include <array>
#include <functional>
#include <memory>

namespace velq::testing {

struct Window {
    QStringList alerts; // "title: message"
    std::unique_ptr<MainWindow> main;
    DrawingView* view = nullptr;
    QString answer;        // the file the next panel chooses; empty: the panel is cancelled
    QStringList questions; // "title: message [confirm]"
    bool confirm = true;   // the answer to every question
    // Fills in the window's next dialog of its own and accepts it; null: the dialog is cancelled.
    std::function<void(QDialog&)> fillDialog;
    // Looks at the next file panels while they are open.
    std::function<void()> inPanel;

    explicit Window(Seams seams = {}) {
        seams.alert = [this](const QString& t, const QString& m) { alerts << t + ": " + m; };
        seams.ask = [this](const QString& t, const QString& m, const QString& yes) {
            questions << t + ": " + m + " [" + yes + "]";
            return confirm;
        };
        seams.runFileDialog = [this](QFileDialog& panel) {
            if (inPanel) inPanel();
            panel.selectFile(answer);
            return !answer.isEmpty();
        };
        seams.runDialog = [this](QDialog& dialog) {
            if (fillDialog) fillDialog(dialog);
            return fillDialog != nullptr;
        };
        main = std::make_unique<MainWindow>(std::move(seams));
        view = main->view();
    }
    bool start() { return main->start(); }
    Ui_MainWindow& ui() { return main->ui(); }
};

// What every widget test holds: a started window, made afresh by open().
class WindowTest : public QObject {
protected:
    std::unique_ptr<Window> w;
    DrawingView* view = nullptr;
    void open(Seams seams = {}) {
        w = std::make_unique<Window>(std::move(seams));
        view = w->view;
        QVERIFY(w->start());
    }
};

// The pixels the window must show for a view at winx x winy.
inline std::vector<Rgba> expectedPixels(const MANDAT& v, int winx, int winy) {
    std::vector<std::int16_t> counts(static_cast<std::size_t>(winx) * winy);
    std::atomic<int> status{RenderStatus::Rendering};
    DeepRenders renders;
    const KernelFrame frame = *renders.frame(v, winx, winy, iterationLimitInForce(v), status);
    RenderWorkers(status).run(frame, counts.data(), DeepRenders::kernel(frame, referenceRows));
    std::array<Rgba, kCmapEntries> cmap{};
    buildColourMap(v.cs, cmap);
    std::vector<Rgba> pixels(counts.size());
    recolour(counts, pixels, cmap, v.cp);
    return pixels;
}

inline bool shows(const DrawingView* view, const MANDAT& v) {
    const Picture& p = view->picture();
    return std::ranges::equal(expectedPixels(v, p.winx(), p.winy()), p.pixelArr());
}

// One notch of the wheel (120 a notch) at `at` on the picture.
inline void wheel(QWidget* view, QPointF at, int delta) {
    QWheelEvent notch(at, view->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &notch);
}

// Calls `f` from the next render's event loop, as a press on Abort would arrive.
template <typename F> void duringTheNextRender(QObject* context, F f) {
    QMetaObject::invokeMethod(context, f, Qt::QueuedConnection);
}

} // namespace velq::testing
