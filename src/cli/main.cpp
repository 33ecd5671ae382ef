// velq-render: renders views and benchmarks headless, exactly as the window would show them.
#include "cli/options.h"
#include "cli/render.h"
#include "core/benchmark/benchmarksequences.h"
#include "core/files/export.h"
#include "core/files/filebytes.h"
#include "core/files/openpath.h"
#include "core/files/paramline.h"
#include "core/gallery/gallery.h"
#include "pngio/pngfile.h"

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace velq;

void complain(const std::string& message) {
    std::fprintf(stderr, "velq-render: %s\n", message.c_str());
}

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
        if (writeFileAtomically(
                options.counts,
                std::span(reinterpret_cast<const std::uint8_t*>(counts.data()), counts.size()))) {
            complain("--counts: cannot write '" + options.counts + "'");
            return 1;
        }
    }
    if (!options.out.empty()) {
        const std::vector<std::uint8_t> png = encodePicture(options, renderer, v);
        const std::error_code why = png.empty() ? std::make_error_code(std::errc::not_enough_memory)
                                                : writeFileAtomically(options.out, png);
        if (why) {
            complain("--out: cannot write '" + options.out + "': " + why.message());
            return 1;
        }
    }
    return 0;
}

int renderViews(const RenderOptions& options) {
    const int winx = options.exportPlan ? options.exportPlan->renderW : options.width;
    const int winy = options.exportPlan ? options.exportPlan->renderH : options.height;
    Renderer renderer(options.kernel, winx, winy);
    std::optional<MANDAT> last;
    std::int32_t work = 0;
    std::chrono::duration<double> seconds{0};
    const auto show = [&](const MANDAT& requested) {
        const MANDAT v = asRendered(requested);
        const auto t0 = std::chrono::steady_clock::now();
        work = renderer.render(v);
        seconds += std::chrono::steady_clock::now() - t0;
        std::printf("%s\n", viewLine(v).c_str());
        std::fflush(stdout);
        last = v;
    };

    switch (options.source) {
    case ViewSource::View:
        show(options.view);
        break;
    case ViewSource::Gallery:
        show(*galleryPreset(options.galleryTag));
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
        while (const std::optional<ParsedLine> line = reader.next())
            show(viewOf(*line));
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
    if (status == 0) std::printf("work %d seconds %.3f\n", work, seconds.count());
    return status;
}

int benchmark(const RenderOptions& options) {
    const BenchmarkSequence sequence = *benchmarkSequence(options.bench);
    const BenchmarkRun run = runBenchmark(sequence, options.frames, options.kernel);
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
    if (!parsed.options) {
        complain(parsed.error);
        return 2;
    }
    try {
        return parsed.options->bench != 0 ? benchmark(*parsed.options)
                                          : renderViews(*parsed.options);
    } catch (const std::bad_alloc&) {
        complain("not enough memory for a picture of that size");
        return 1;
    }
}
