// The render command, the render proper with its filtered event loop, and Run/Abort.
#include "gui/drawingview.h"
#include "gui/localization.h"
#include "gui/rendereventfilter.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <chrono>

namespace velq {

int DrawingView::runMandel(MANDAT v, int backup) {
    recordHistory(backup);
    status = RenderStatus::Rendering;
    updateActions();
    setRenderControls(true);
    if (Mandat0.cs != v.cs) Mandat0.cs = make_cmap(v.cs);
    const double w = floorWidth(v.w);
    setDoubleValue(TextField_x, v.x);
    setDoubleValue(TextField_y, v.y);
    setDoubleValue(TextField_w, w);
    Mandat0.x = v.x;
    Mandat0.y = v.y;
    Mandat0.w = w;
    Mandat0.it = v.it;
    r1 = {};
    const int result = mandel_calc();
    // After a stopped render the picture keeps its colours and counts of both renders.
    if (status != RenderStatus::AbortStop) Mandat0.cp = append_cmap(v.cp);
    setRenderControls(false);
    status = RenderStatus::Idle;
    updateActions();
    ColorBar->update();
    return result;
}

int DrawingView::mandel_calc() {
    it_lim = iterationLimitInForce(Mandat0);
    workers_.start(KernelFrame::of(Mandat0, winx, winy, it_lim), mandel.data(), kernel_);
    {
        // Keeps the window alive and the Abort button live; other input is gone for good.
        // Events are looked at once even when the render is quicker than a poll, so that a
        // run of quick renders (a benchmark) can still be aborted.
        const RenderEventFilter filter(PushButton);
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            updateProgress(workers_);
        } while (!workers_.waitFor(std::chrono::milliseconds(10)));
    }
    return workers_.finish();
}

void DrawingView::updateProgress(const RenderWorkers& workers) {
    // Only long renders show the bar: more than 524288 * 256 iterations so far.
    if (workers.workSoFar() <= 524288) return;
    progressBar->setVisible(true);
    progressBar->setValue(workers.rowsClaimed());
}

void DrawingView::setRenderControls(bool rendering) {
    PushButton->setText(localized(rendering ? "Abort" : "Run"));
    PushButton->setDown(rendering);
    progressIndicator->setVisible(rendering);
    if (rendering) {
        progressBar->setMaximum(winy);
    } else {
        progressBar->setVisible(false);
        progressBar->setValue(0);
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{TextField_x, TextField_y, TextField_w, Slider, SliderNum})
        control->repaint();
    PushButton->repaint();
}

void DrawingView::pushButton() {
    switch (status.load()) {
    case RenderStatus::Rendering:
        status = status_cancel == 0 ? RenderStatus::AbortCoarse : RenderStatus::AbortStop;
        return;
    case RenderStatus::Idle: {
        const MANDAT v{doubleValue(TextField_x, Mandat0.x),
                       doubleValue(TextField_y, Mandat0.y),
                       doubleValue(TextField_w, Mandat0.w),
                       Mandat0.it,
                       Mandat0.cs,
                       Mandat0.cp};
        runMandel(v, 2);
        repaint();
        return;
    }
    case RenderStatus::ResizePending:
        runMandel(Mandat0, 0);
        repaint();
        return;
    default:
        return;
    }
}

void DrawingView::stopRenderForClose() {
    if (status == RenderStatus::Rendering || status == RenderStatus::AbortCoarse)
        status = RenderStatus::AbortStop;
}

} // namespace velq
