// The render proper: the workers, the filtered event loop and the render controls.
#include "gui/renderdriver.h"

#include "gui/localization.h"
#include "gui/picture.h"
#include "gui/rendereventfilter.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>
#include <future>
#include <limits>

namespace velq {

void RenderDriver::connect(const Outlets& outlets, RowKernel kernel) {
    outlets_ = outlets;
    kernel_ = kernel;
    // The progress row keeps its height while the indicators are hidden.
    for (QWidget* indicator : {static_cast<QWidget*>(outlets_.progressIndicator),
                               static_cast<QWidget*>(outlets_.progressBar)}) {
        QSizePolicy policy = indicator->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        indicator->setSizePolicy(policy);
        indicator->hide();
    }
}

void RenderDriver::begin(int rows) {
    status_ = RenderStatus::Rendering;
    outlets_.PushButton->setText(localized("Abort"));
    outlets_.PushButton->setDown(true);
    outlets_.PushButton->repaint();
    outlets_.progressIndicator->setVisible(true);
    outlets_.progressBar->setMaximum(rows);
}

void RenderDriver::beginSeries(int frames) {
    begin(frames);
    series_ = true;
    seriesAborted_ = false;
    showFramesDone(0);
}

void RenderDriver::showFramesDone(int done) {
    outlets_.progressBar->setValue(done);
    outlets_.progressBar->setVisible(true);
}

void RenderDriver::end() {
    series_ = false;
    outlets_.progressIndicator->setVisible(false);
    outlets_.progressBar->setVisible(false);
    outlets_.progressBar->setValue(0);
    outlets_.PushButton->setText(localized("Run"));
    outlets_.PushButton->setDown(false);
    outlets_.PushButton->repaint();
    status_ = RenderStatus::Idle;
}

void RenderDriver::showReading(qint64 got, qint64 total) {
    const bool known = total > 0 && total <= std::numeric_limits<int>::max();
    outlets_.progressBar->setMaximum(known ? static_cast<int>(total) : 0);
    outlets_.progressBar->setValue(known ? static_cast<int>(got) : 0);
    outlets_.progressBar->setVisible(true);
}

void RenderDriver::showBusy(bool busy) {
    outlets_.progressBar->setMaximum(busy ? 0 : 100);
    outlets_.progressBar->setVisible(busy);
}

int RenderDriver::mandel_calc(const MANDAT& view, Picture& picture, const DeepView* reference) {
    it_lim_ = iterationLimitInForce(view);
    const std::optional<KernelFrame> frame = frameOf(view, picture, reference);
    if (!frame) {
        status_ = RenderStatus::AbortStop; // aborted before a row: the picture stays as it was
        return -1;
    }
    workers_.start(*frame, picture.mandel().data(), DeepRenders::kernel(*frame, kernel_));
    // Events are looked at once even when the render is quicker than a poll, so that a run of
    // quick renders (a benchmark) can still be aborted.
    keepAlive([this] { return workers_.waitFor(std::chrono::milliseconds(10)); }, true);
    return workers_.finish();
}

std::optional<KernelFrame> RenderDriver::frameOf(const MANDAT& view, const Picture& picture,
                                                 const DeepView* reference) {
    std::atomic<int> planStatus{RenderStatus::Rendering};
    if (!rendersDeep(view))
        return deep_.frame(view, picture.winx(), picture.winy(), it_lim_, planStatus);
    // The plan's thread stops at the next step it checks once any Abort is pressed; the bar
    // is busy meanwhile, as no row is taken yet.
    auto planned = std::async(std::launch::async, [&] {
        return deep_.frame(view, picture.winx(), picture.winy(), it_lim_, planStatus, reference);
    });
    if (!series_) showBusy(true);
    keepAlive(
        [&] {
            if (status_ < 0) planStatus = RenderStatus::AbortStop;
            return planned.wait_for(std::chrono::milliseconds(10)) == std::future_status::ready;
        },
        false);
    if (!series_) {
        showBusy(false);
        outlets_.progressBar->setMaximum(picture.winy());
    }
    std::optional<KernelFrame> frame = planned.get();
    if (status_ < 0) return std::nullopt;
    return frame;
}

template <typename Done> void RenderDriver::keepAlive(Done done, bool rows) {
    // Keeps the window alive and the Abort button live; other input is gone for good.
    const RenderEventFilter filter(outlets_.PushButton, [this] { pressAbort(); });
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (rows) showProgress();
    } while (!done());
}

void RenderDriver::showProgress() {
    // Only long renders show the bar: more than 524288 * 256 iterations so far.
    if (series_ || workers_.workSoFar() <= 524288) return;
    outlets_.progressBar->setVisible(true);
    outlets_.progressBar->setValue(workers_.rowsClaimed());
}

void RenderDriver::pressAbort() {
    if (series_) {
        seriesAborted_ = true;
        return;
    }
    if (status_ == RenderStatus::Rendering)
        status_ = status_cancel_ == 0 ? RenderStatus::AbortCoarse : RenderStatus::AbortStop;
}

void RenderDriver::stopForClose() {
    seriesAborted_ = true;
    if (status_ == RenderStatus::Rendering || status_ == RenderStatus::AbortCoarse)
        status_ = RenderStatus::AbortStop;
}

} // namespace velq
