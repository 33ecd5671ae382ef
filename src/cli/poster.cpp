// One band of a poster: the band's rows of the whole picture's render, cut and reduced as the
// whole picture is, written without a chunk so that joined bands make one plain picture.
#include "cli/batch.h"
#include "cli/render.h"
#include "core/colour/colormap.h"
#include "core/deep/deeprender.h"
#include "core/files/export.h"
#include "core/files/paramline.h"
#include "core/files/pngchunk.h"
#include "core/movie/bands.h"
#include "core/render/renderworkers.h"
#include "pngio/pngfile.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>

namespace velq::batch {
namespace {

// The band's written rows: its render on the eight workers, coloured, cut and reduced. The
// render's buffers go before the picture is encoded.
std::vector<Rgba> bandPixels(const RenderOptions& options, const MANDAT& v, const Band& band) {
    const ExportPlan& poster = *options.exportPlan;
    std::atomic<int> status{RenderStatus::Rendering};
    DeepRenders renders; // a deep view's plan is the whole picture's
    const KernelFrame frame = bandFrame(
        *renders.frame(v, poster.renderW, poster.renderH, iterationLimitInForce(v), status), band);
    std::vector<std::int16_t> counts(static_cast<std::size_t>(frame.winx) * frame.winy);
    RenderWorkers workers(status);
    ProgressLine rows = progress("rows", frame.winy, options);
    workers.start(frame, counts.data(), DeepRenders::kernel(frame, options.kernel),
                  RenderWorkers::kThreads);
    while (!workers.waitFor(std::chrono::milliseconds(100)))
        rows.update(std::min(workers.rowsClaimed(), frame.winy));
    workers.finish();
    rows.clear();
    std::array<Rgba, kCmapEntries> cmap{};
    buildColourMap(v.cs, cmap);
    std::vector<Rgba> render(counts.size());
    recolour(counts, render, cmap, v.cp);
    counts = {};
    return cutAndReduce(render, band.cut);
}

} // namespace

int renderBand(const RenderOptions& options) {
    const std::optional<std::vector<MANDAT>> found = views(options);
    if (!found) return 1;
    const MANDAT v = asRendered(found->back());
    const Band band = bandOf(*options.exportPlan, options.band, options.bands);
    std::vector<std::uint8_t> png;
    {
        const std::vector<Rgba> pixels = bandPixels(options, v, band);
        png = encodePngWithChunk(pixels, band.cut.outW, band.rows, v, 1.0);
    }
    // Bands carry no view: the joined poster gets its chunk from --stamp. The encoder put it
    // right after IHDR, a chunk of 12 bytes of framing around its data.
    if (png.size() > kIhdrEnd + 4) {
        const std::size_t length = std::size_t{png[kIhdrEnd]} << 24 |
                                   std::size_t{png[kIhdrEnd + 1]} << 16 |
                                   std::size_t{png[kIhdrEnd + 2]} << 8 | png[kIhdrEnd + 3];
        png.erase(png.begin() + kIhdrEnd,
                  png.begin() + static_cast<std::ptrdiff_t>(kIhdrEnd + 12 + length));
    }
    // The lines may not go into a band written to standard output.
    std::FILE* const lines = options.out == "-" ? stderr : stdout;
    if (!writeOut("--out", options.out, png)) return 1;
    std::fprintf(lines, "%s\nband %d of %d rows %d to %d of %d\n", viewLine(v).c_str(),
                 options.band, options.bands, band.firstRow, band.firstRow + band.rows - 1,
                 options.exportPlan->outH);
    return 0;
}

} // namespace velq::batch
