// The benchmark: a fixed zoom sequence at 320 x 240, timed, with its result in an alert.
#include "core/benchmark/benchmark.h"
#include "core/benchmark/benchmarksequences.h"
#include "gui/drawingview.h"
#include "gui/localization.h"

#include <QLocale>
#include <chrono>

namespace velq {

void DrawingView::benchmark(int tag) {
    const auto sequence = benchmarkSequence(tag);
    if (!sequence || !driver_.idle()) return;
    stopGesture();
    // Device pixels, so that timings compare across screens.
    resizePicture(window()->pos(), QSize(kBenchmarkWidth, kBenchmarkHeight), 0);
    driver_.begin(picture_.winy());
    updateActions();
    colours_.repaint();
    const auto t0 = seams_.now();
    const int result =
        benchmark_sub(sequence->start, sequence->frames, sequence->factor, sequence->tag);
    const std::chrono::duration<double> seconds = seams_.now() - t0;
    driver_.end();
    fields_.repaint();
    updateActions();
    Mandat0_.it = setIterations(1024);
    if (result == -1) return; // aborted: no result to report
    alert(localized("ResultOfBenchmark"),
          localized("Took_seconds").arg(QLocale().toString(seconds.count(), 'f', 3)));
}

int DrawingView::benchmark_sub(MANDAT v, int num, float mag, int bench) {
    Mandat0_ = v;
    fields_.showX(v.x);
    fields_.showY(v.y);
    fields_.repaint();
    make_cmap(Mandat0_.cs);
    int r = 0;
    for (int frame = 0; frame < num; ++frame) {
        r = mandel_calc();
        append_cmap(Mandat0_.cp);
        fields_.showW(Mandat0_.w);
        fields_.repaint();
        repaint();
        if (r == -1) return -1;
        Mandat0_ = nextBenchmarkFrame(Mandat0_, mag, bench, r, picture_.winx(), picture_.winy());
    }
    return r;
}

} // namespace velq
