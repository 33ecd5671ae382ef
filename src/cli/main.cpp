// velq-render: renders views and benchmarks headless, exactly as the window would show them.
#include "cli/batch.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/render.h"
#include "core/benchmark/benchmarksequences.h"
#include "core/deep/deepbenchmark.h"
#include "core/explore/zoombenchmark.h"
#include "core/files/export.h"
#include "core/files/filebytes.h"
#include "core/files/openpath.h"
#include "core/files/paramline.h"
#include "core/gallery/gallery.h"
#include "pngio/pngfile.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace velq;

using batch::complain;

// The PNG of the last picture: the picture itself, or the cut and reduced off-screen render.
std::vector<std::uint8_t> encodePicture(const RenderOptions& options, const Renderer& renderer,
                                        const MANDAT& v) {
    // The chunk's aspect is that of the picture rendered, not of the one written.
    const double aspect = static_cast<double>(renderer.winx()) / renderer.winy();
    if (!options.exportPlan)
        return encodePngWithChunk(renderer.pixels(), renderer.winx(), renderer.winy(), v, aspect);
    const ExportPlan& plan = *options.exportPlan;
    return encodePngWithChunk(cutAndReduce(renderer.pixels(), plan), plan.outW, plan.outH, v,
                              aspect);
}

int writeOutputs(const RenderOptions& options, const Renderer& renderer, const MANDAT& v) {
    if (!options.counts.empty()) {
        const std::string counts = littleEndianCounts(renderer.mandel());
        const auto bytes =
            std::span(reinterpret_cast<const std::uint8_t*>(counts.data()), counts.size());
        if (!batch::writeOut("--counts", options.counts, bytes)) return 1;
    }
    if (!options.out.empty())
        return batch::writeOut("--out", options.out, encodePicture(options, renderer, v)) ? 0 : 1;
    return 0;
}

int renderViews(const RenderOptions& options) {
    const int winx = options.exportPlan ? options.exportPlan->renderW : options.width;
    const int winy = options.exportPlan ? options.exportPlan->renderH : options.height;
    Renderer renderer(options.kernel, winx, winy);
    // The view and work lines may not go into a file written to standard output.
    std::FILE* const lines = options.out == "-" || options.counts == "-" ? stderr : stdout;
    std::optional<MANDAT> last;
    std::int32_t work = 0;
    std::chrono::duration<double> seconds{0};
    // A single view shows its rows as they are taken, a file's views how many are done.
    const auto show = [&](const MANDAT& requested, ProgressLine& progress, bool byRows) {
        const MANDAT v = asRendered(requested);
        const auto t0 = std::chrono::steady_clock::now();
        work = byRows ? renderer.render(v, [&](int rows) { progress.update(rows); })
                      : renderer.render(v);
        seconds += std::chrono::steady_clock::now() - t0;
        progress.clear();
        std::fprintf(lines, "%s\n", viewLine(v).c_str());
        std::fflush(lines);
        last = v;
    };
    const auto showOne = [&](const MANDAT& v) {
        ProgressLine progress = batch::progress("rows", winy, options);
        show(v, progress, true);
    };

    switch (options.source) {
    case ViewSource::View:
        showOne(options.view);
        break;
    case ViewSource::Gallery:
        showOne(*galleryPreset(options.galleryTag));
        break;
    case ViewSource::Mdl:
    case ViewSource::Png: {
        std::vector<char> data;
        const std::error_code why = readWholeFile(options.file, FileKinds::Streams, data);
        const FileKind kind =
            options.source == ViewSource::Png ? FileKind::Png : FileKind::Parameters;
        const std::span<const char> bytes(data);
        const std::optional<std::size_t> start =
            why ? std::nullopt : parameterTextStart(bytes, kind);
        if (!start) {
            complain("cannot open " + options.file + (why ? ": " + why.message() : ""));
            return 1;
        }
        ParameterReader reader(bytes, *start);
        // Counted first, for the progress line: reading the lines is quick next to rendering.
        // Without --deep a deep view is rendered by its seven fields, and that is said.
        std::int64_t total = 0;
        bool deeper = false;
        for (ParameterReader counter = reader; const auto line = counter.next();) {
            ++total;
            deeper = deeper || (!options.deep && viewOf(*line, true).deep);
        }
        if (deeper)
            complain(options.file + " holds a view deeper than its seven fields: --deep renders "
                                    "it at full depth");
        if (total == 1) {
            showOne(viewOf(*reader.next(), options.deep));
            break;
        }
        ProgressLine progress = batch::progress("views", total, options);
        std::int64_t done = 0;
        while (const std::optional<ParsedLine> line = reader.next()) {
            show(viewOf(*line, options.deep), progress, false);
            progress.update(++done);
        }
        break;
    }
    case ViewSource::None:
        break;
    }
    if (!last) {
        complain(options.file + ": no view to render");
        return 1;
    }
    const int status = writeOutputs(options, renderer, *last);
    // The last render's result and the time spent rendering and colouring every view.
    if (status == 0) std::fprintf(lines, "work %d seconds %.3f\n", work, seconds.count());
    return status;
}

// The feel of the wheel: "zoom notches N first p50 A p95 B exact p50 C p95 D", milliseconds.
int zoomBenchmark(const RenderOptions& options) {
    ZoomBenchmarkSetup setup;
    if (options.frames > 0) setup.notches = std::min(setup.notches, options.frames);
    const ZoomLatencies run = runZoomBenchmark(options.kernel, setup);
    std::printf("zoom notches %zu first p50 %.1f p95 %.1f exact p50 %.1f p95 %.1f\n",
                run.first.size(), percentile(run.first, 0.5), percentile(run.first, 0.95),
                percentile(run.exact, 0.5), percentile(run.exact, 0.95));
    return 0;
}

// One line per deep view: "deep NAME WxH limit L w W seconds S prepare P iterations N rate R".
int deepBenchmark() {
    for (const DeepBenchView& v : deepBenchViews()) {
        const DeepBenchRun run = runDeepBench(v);
        std::printf("deep %s %dx%d limit %d w %s seconds %.3f prepare %.3f iterations %.4g rate "
                    "%.4g/s\n",
                    v.name, v.winx, v.winy, v.limit, v.w, run.seconds, run.prepareSeconds,
                    static_cast<double>(run.iterations),
                    static_cast<double>(run.iterations) / run.seconds);
        std::fflush(stdout);
    }
    return 0;
}

int benchmark(const RenderOptions& options) {
    if (options.bench == kZoomBench) return zoomBenchmark(options);
    if (options.bench == kDeepBench) return deepBenchmark();
    const BenchmarkSequence sequence = *benchmarkSequence(options.bench);
    ProgressLine progress =
        batch::progress("frames", benchmarkFrames(sequence, options.frames), options);
    const BenchmarkRun run = runBenchmark(sequence, options.frames, options.kernel,
                                          [&](int frames) { progress.update(frames); });
    progress.clear();
    std::printf("sequence %d frames %d seconds %.3f work %" PRId64 "\n", sequence.tag, run.frames,
                run.seconds, run.work);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fprintf(stderr, "%s\n", velq::kUsage.data());
        return 2;
    }
    const velq::ParsedArguments parsed = velq::parseArguments(args);
    int status = 0;
    if (parsed.answer == velq::Answer::Usage) {
        std::printf("%s\n", velq::kUsage.data());
    } else if (parsed.answer == velq::Answer::Version) {
        std::printf("velq-render %s\n", VELQ_VERSION);
    } else if (!parsed.options) {
        complain(parsed.error);
        return 2;
    } else {
        try {
            status = parsed.options->bench != 0    ? benchmark(*parsed.options)
                     : isBatchJob(*parsed.options) ? runBatchJob(*parsed.options)
                                                   : renderViews(*parsed.options);
        } catch (const std::bad_alloc&) {
            complain("not enough memory for a picture of that size");
            return 1;
        }
    }
    // Lines that never arrived (a full disk, a closed descriptor) fail the run like any other
    // write.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        complain("cannot write to standard output");
        return 1;
    }
    return status;
}
