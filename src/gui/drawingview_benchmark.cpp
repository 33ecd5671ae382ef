// The benchmark: a fixed zoom sequence at 320 x 240, timed, with its result in an alert.
#include "core/benchmark/benchmark.h"
#include "core/benchmark/benchmarksequences.h"
#include "gui/drawingview.h"
#include "gui/localization.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>

namespace velq {

void DrawingView::benchmark(int tag) {
    const auto sequence = benchmarkSequence(tag);
    if (!sequence || status != RenderStatus::Idle) return;
    resizeMandel(window()->pos(), QSize(kBenchmarkWidth, kBenchmarkHeight), 0);
    status = RenderStatus::Rendering;
    updateActions();
    setRenderControls(true);
    for (QWidget* colour : {PushButtonCR, PushButtonCG, PushButtonCB, PushButtonCa, PushButtonCb})
        colour->repaint();
    const auto t0 = std::chrono::steady_clock::now();
    const int result =
        benchmark_sub(sequence->start, sequence->frames, sequence->factor, sequence->tag);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - t0;
    status = RenderStatus::Idle;
    setRenderControls(false);
    TextField_w->repaint();
    updateActions();
    Mandat0.it = setIterations(1024);
    if (result == -1) return; // aborted: no result to report
    alert(localized("ResultOfBenchmark"),
          localized("Took_seconds").arg(seconds.count(), 0, 'f', 3));
}

int DrawingView::benchmark_sub(MANDAT v, int num, float mag, int bench) {
    Mandat0 = v;
    setDoubleValue(TextField_x, v.x);
    TextField_x->repaint();
    setDoubleValue(TextField_y, v.y);
    TextField_y->repaint();
    make_cmap(Mandat0.cs);
    int r = 0;
    for (int frame = 0; frame < num; ++frame) {
        r = mandel_calc();
        append_cmap(Mandat0.cp);
        setDoubleValue(TextField_w, Mandat0.w);
        TextField_w->repaint();
        repaint();
        if (r == -1) return -1;
        Mandat0 = nextBenchmarkFrame(Mandat0, mag, bench, r, winx, winy);
    }
    return r;
}

} // namespace velq
