// velq-render: renders a view headless, exactly as the window would show it.
#include "cli/options.h"
#include "display/colormap.h"
#include "engine/kernel.h"
#include "engine/renderworkers.h"

#include <QImage>
#include <QString>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

using namespace velq;

bool writeCounts(const std::string& path, const std::vector<std::int16_t>& mandel) {
    std::vector<char> bytes;
    bytes.reserve(mandel.size() * 2);
    for (std::int16_t v : mandel) {
        const auto u = static_cast<std::uint16_t>(v);
        bytes.push_back(static_cast<char>(u & 0xFF)); // little-endian on every host
        bytes.push_back(static_cast<char>(u >> 8));
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool writePng(const std::string& path, std::vector<Rgba>& pixels, int width, int height) {
    const QImage image(reinterpret_cast<const uchar*>(pixels.data()), width, height, width * 4,
                       QImage::Format_RGBA8888);
    return image.save(QString::fromStdString(path), "PNG");
}

int run(const RenderOptions& options) {
    MANDAT view = options.view;
    view.w = floorWidth(view.w);
    view.cp = clampRotation(view.cp);
    const int winx = options.width, winy = options.height;

    std::vector<std::int16_t> mandel(static_cast<std::size_t>(winx) * winy);
    std::atomic<int> status{RenderStatus::Rendering};
    RenderWorkers workers(status);
    const auto t0 = std::chrono::steady_clock::now();
    const int work =
        workers.run(KernelFrame::of(view, winx, winy, iterationLimitInForce(view)), mandel.data());
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - t0;

    std::array<Rgba, kCmapEntries> cmap{};
    buildColourMap(view.cs, cmap);
    std::vector<Rgba> pixels(mandel.size());
    recolour(mandel, pixels, cmap, view.cp);

    if (!options.counts.empty() && !writeCounts(options.counts, mandel)) {
        std::fprintf(stderr, "velq-render: --counts: cannot write '%s'\n", options.counts.c_str());
        return 1;
    }
    if (!options.out.empty() && !writePng(options.out, pixels, winx, winy)) {
        std::fprintf(stderr, "velq-render: --out: cannot write '%s'\n", options.out.c_str());
        return 1;
    }
    std::printf("work %d seconds %.3f\n", work, seconds.count());
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::fprintf(stderr, "%s\n", velq::kUsage.data());
        return 2;
    }
    const velq::ParsedArguments parsed = velq::parseArguments(args);
    if (!parsed.options) {
        std::fprintf(stderr, "velq-render: %s\n", parsed.error.c_str());
        return 2;
    }
    return run(*parsed.options);
}
