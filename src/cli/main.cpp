// velq-render: renders views and benchmarks headless, exactly as the window would show them.
#include "cli/options.h"
#include "cli/render.h"
#include "engine/benchmarksequences.h"
#include "io/export.h"
#include "io/openpath.h"
#include "io/paramline.h"
#include "io/pngfile.h"
#include "ui/gallery.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
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

// Parameter files and our PNG files are small: a larger input, or an endless one such as a
// device, is refused instead of being read until memory runs out. Pipes are read to their end.
constexpr qint64 kMaxInputBytes = 256LL * 1024 * 1024;

std::optional<QByteArray> readWholeFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray data;
    while (data.size() <= kMaxInputBytes) {
        const QByteArray chunk = file.read(1024 * 1024);
        if (chunk.isEmpty()) break;
        data += chunk;
    }
    if (data.size() > kMaxInputBytes) {
        complain(path + ": larger than 256 MB");
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return data;
}

// The PNG of the last picture: the picture itself, or the cut and reduced off-screen render.
QByteArray encodePicture(const RenderOptions& options, const Renderer& renderer, const MANDAT& v) {
    const auto encode = [&v](const std::vector<Rgba>& pixels, int width, int height,
                             double aspect) {
        const QImage image(reinterpret_cast<const uchar*>(pixels.data()), width, height,
                           static_cast<qsizetype>(width) * 4, QImage::Format_RGBA8888);
        return encodePngWithChunk(image, v, aspect);
    };
    // The chunk's aspect is that of the picture rendered, not of the one written.
    const double aspect = static_cast<double>(renderer.winx()) / renderer.winy();
    if (!options.exportPlan)
        return encode(renderer.pixels(), renderer.winx(), renderer.winy(), aspect);
    const ExportPlan& plan = *options.exportPlan;
    return encode(cutAndReduce(renderer.pixels(), plan), plan.outW, plan.outH, aspect);
}

int writeOutputs(const RenderOptions& options, const Renderer& renderer, const MANDAT& v) {
    if (!options.counts.empty()) {
        const std::string counts = littleEndianCounts(renderer.mandel());
        const QByteArray bytes(counts.data(), static_cast<qsizetype>(counts.size()));
        if (!writeFileAtomically(QString::fromStdString(options.counts), bytes)) {
            complain("--counts: cannot write '" + options.counts + "'");
            return 1;
        }
    }
    if (!options.out.empty()) {
        const QByteArray png = encodePicture(options, renderer, v);
        if (png.isEmpty() || !writeFileAtomically(QString::fromStdString(options.out), png)) {
            complain("--out: cannot write '" + options.out + "'");
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
        const std::optional<QByteArray> data = readWholeFile(options.file);
        const FileKind kind =
            options.source == ViewSource::Png ? FileKind::Png : FileKind::Parameters;
        const std::span<const char> bytes =
            data ? std::span<const char>(data->constData(), static_cast<std::size_t>(data->size()))
                 : std::span<const char>();
        const std::optional<std::size_t> start =
            data ? parameterTextStart(bytes, kind) : std::nullopt;
        if (!start) {
            complain("cannot open " + options.file);
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
