// The render driver: runs a render on the workers while the window stays alive, and owns the
// render state together with the Run/Abort button and the indicators that show it.
#pragma once

#include "core/deep/deeprender.h"
#include "core/render/kernel.h"
#include "core/render/renderworkers.h"
#include "core/view/mandat.h"

#include <QtGlobal>
#include <atomic>

class QProgressBar;
class QPushButton;

namespace velq {

class Picture;

class RenderDriver {
public:
    struct Outlets {
        QPushButton* PushButton = nullptr;
        QProgressBar* progressIndicator = nullptr;
        QProgressBar* progressBar = nullptr;
    };

    void connect(const Outlets& outlets, RowKernel kernel);
    const Outlets& outlets() const { return outlets_; }

    // 0 idle, 1 rendering, 2 re-render pending after a live resize, -1 abort with a coarse
    // finish, -2 abort with stop (RenderStatus).
    int status() const { return status_.load(); }
    bool idle() const { return status() == RenderStatus::Idle; }
    // A render runs: its workers may be writing the counts.
    bool rendering() const { return status() == RenderStatus::Rendering || status() < 0; }
    // What Abort does: 0 finishes coarsely, anything else stops outright.
    int statusCancel() const { return status_cancel_; }
    void setStatusCancel(int value) { status_cancel_ = value; }
    // The iteration limit in force for the last render.
    int itLim() const { return it_lim_; }

    // status 1 and the controls in their rendering state (the bar scaled to `rows`); end()
    // returns both to idle.
    void begin(int rows);
    void end();
    // A series of renders, a movie's frames: the bar counts them, and Abort ends the series
    // once the frame being rendered is done rather than spoiling it. end() closes it.
    void beginSeries(int frames);
    void showFramesDone(int done);
    bool seriesAborted() const { return seriesAborted_; }
    // The progress of a reading: `got` of `total` bytes, busy while the total is unknown.
    void showReading(qint64 got, qint64 total);
    // Shows the indicator busy while a finished render is written out.
    void showBusy(bool busy);
    // A live resize has ended: Run renders the current view again in place.
    void markResizePending() { status_ = RenderStatus::ResizePending; }

    // Renders `view` into the picture's counts and pumps a filtered event loop until the
    // workers are done; returns the work counter, or -1 after an abort. A deep view's orbit is
    // `reference`'s when that lies in the picture (a movie's frames, see prepareDeep).
    int mandel_calc(const MANDAT& view, Picture& picture, const DeepView* reference = nullptr);
    // Abort pressed while rendering: -1 or -2 by statusCancel.
    void pressAbort();
    // The window closes during a render: stop at the next claim.
    void stopForClose();

private:
    // The frame of `view`'s render; a deep view's plan is made on a thread of its own while
    // the window stays alive, and an Abort meanwhile gives nothing.
    std::optional<KernelFrame> frameOf(const MANDAT& view, const Picture& picture,
                                       const DeepView* reference);
    // Pumps the render's filtered event loop until `done` says so, the bar showing the rows
    // taken when `rows`.
    template <typename Done> void keepAlive(Done done, bool rows);
    void showProgress();

    std::atomic<int> status_{RenderStatus::Idle};
    int status_cancel_ = 0;
    int it_lim_ = 0;
    bool series_ = false;
    bool seriesAborted_ = false;
    RowKernel kernel_ = referenceRows;
    Outlets outlets_;
    DeepRenders deep_;
    RenderWorkers workers_{status_};
};

} // namespace velq
