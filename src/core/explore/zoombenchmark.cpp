// Replaying wheel notches through the gesture pipeline, as the window runs it.
#include "core/explore/zoombenchmark.h"

#include "core/colour/colormap.h"
#include "core/explore/gesturepipeline.h"
#include "core/explore/navigation.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <thread>

namespace velq {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// What the window holds: the counts and pixels on screen, the view they show, the preview.
struct Screen {
    Screen(const ZoomBenchmarkSetup& s)
        : winx(s.winx), winy(s.winy), counts(static_cast<std::size_t>(winx) * winy),
          pixels(counts.size()), preview(counts.size()), shown(s.start), view(s.start) {
        buildColourMap(s.start.cs, cmap);
    }
    // A finished render swapped in and coloured; true for the exact one.
    bool take(GesturePipeline& pipeline, std::chrono::milliseconds wait) {
        const auto done = pipeline.collect(counts, wait);
        if (!done) return false;
        recolour(counts, pixels, cmap, view.cp);
        shown = done->view;
        return done->exact;
    }
    // One notch about the pointer, with its preview.
    void notch(GesturePipeline& pipeline, double px, double py) {
        view = zoomAbout(view, px, py, winx, winy, 1.0);
        pipeline.render(view, winx, winy);
        resamplePreview(pixels, preview, winx, winy, previewOf(shown, view, winx, winy));
    }
    int winx, winy;
    std::vector<std::int16_t> counts;
    std::vector<Rgba> pixels, preview;
    std::array<Rgba, kCmapEntries> cmap{};
    MANDAT shown, view;
};

} // namespace

double percentile(std::vector<double> samples, double q) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

ZoomLatencies runZoomBenchmark(RowKernel kernel, const ZoomBenchmarkSetup& setup) {
    // The pointer rests on the point: zooming about it keeps it at the same pixel.
    const double s = 2 * setup.start.w / std::min(setup.winx, setup.winy);
    const double px = setup.winx / 2 + (setup.pointerX - setup.start.x) / s;
    const double py = setup.winy / 2 - (setup.pointerY - setup.start.y) / s;
    ZoomLatencies out;
    GesturePipeline pipeline(kernel);
    {
        Screen screen(setup);
        pipeline.render(setup.start, setup.winx, setup.winy);
        while (!screen.take(pipeline, std::chrono::milliseconds(100))) {
        }
        const auto t0 = Clock::now();
        const auto period = std::chrono::duration<double>(1.0 / setup.hertz);
        for (int k = 0; k < setup.notches; ++k) {
            const auto due = t0 + std::chrono::duration_cast<Clock::duration>(period * k);
            while (Clock::now() < due) { // the pictures that finish meanwhile are shown
                if (!pipeline.inFlight()) {
                    std::this_thread::sleep_until(due);
                    break;
                }
                screen.take(pipeline, std::chrono::milliseconds(1));
            }
            const auto sent = Clock::now();
            screen.notch(pipeline, px, py);
            out.first.push_back(msSince(sent));
        }
        pipeline.stop();
    }
    Screen screen(setup);
    pipeline.render(setup.start, setup.winx, setup.winy);
    while (!screen.take(pipeline, std::chrono::milliseconds(100))) {
    }
    for (int k = 0; k < setup.notches; ++k) {
        const auto sent = Clock::now();
        screen.notch(pipeline, px, py);
        while (!screen.take(pipeline, std::chrono::milliseconds(1))) {
        }
        out.exact.push_back(msSince(sent));
    }
    return out;
}

} // namespace velq
