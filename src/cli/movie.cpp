// Movies: the frames of a zoom through key views, as frame files that a stopped or shared job
// takes up again, or piped into ffmpeg as one video.
#include "cli/batch.h"
#include "cli/render.h"
#include "core/movie/frameplan.h"
#include "core/movie/videoencoder.h"
#include "pngio/framefiles.h"

#include <chrono>
#include <cstdio>
#include <optional>

namespace velq::batch {
namespace {

struct Tally {
    int rendered = 0, kept = 0;
    std::chrono::duration<double> seconds{0};
};

int frameFiles(const RenderOptions& options, const MoviePlan& plan, int first, int last,
               Tally& tally) {
    if (const std::error_code why = makeFrameFolder(options.out)) {
        complain("--out: cannot use the folder '" + options.out + "': " + why.message());
        return 1;
    }
    const int w = options.width, h = options.height;
    Renderer renderer(options.kernel, w, h);
    FrameWriter writer(w, h);
    const auto failed = [&] {
        complain("--out: cannot write '" + writer.failedPath() +
                 "': " + writer.failure().message());
        return 1;
    };
    ProgressLine progress = batch::progress("frames", last - first + 1, options);
    for (int n = first; n <= last; ++n) {
        const MANDAT v = asRendered(plan.frame(n));
        std::string file = options.out + "/" + frameFileName(n);
        if (holdsFrameFile(file, v, w, h)) {
            ++tally.kept;
        } else {
            const auto t0 = std::chrono::steady_clock::now();
            renderer.render(v, {}, plan.reference(n).get());
            tally.seconds += std::chrono::steady_clock::now() - t0;
            if (!writer.put(std::move(file), v, renderer.pixels())) return failed();
            ++tally.rendered;
            progress.clear();
            std::printf("%s\n", viewLine(v).c_str());
        }
        progress.update(n - first + 1);
    }
    return writer.close() ? 0 : failed();
}

int video(const RenderOptions& options, const MoviePlan& plan, Tally& tally) {
    VideoEncoder encoder;
    if (const std::string why =
            encoder.start(options.video, options.width, options.height, options.fps);
        !why.empty()) {
        complain("--video: " + why);
        return 1;
    }
    Renderer renderer(options.kernel, options.width, options.height);
    ProgressLine progress = batch::progress("frames", plan.frames(), options);
    for (int n = 1; n <= plan.frames(); ++n) {
        const MANDAT v = asRendered(plan.frame(n));
        const auto t0 = std::chrono::steady_clock::now();
        renderer.render(v, {}, plan.reference(n).get());
        tally.seconds += std::chrono::steady_clock::now() - t0;
        progress.clear();
        std::printf("%s\n", viewLine(v).c_str());
        if (!encoder.write(renderer.pixels())) break; // finish() says why
        ++tally.rendered;
        progress.update(n);
    }
    if (const std::string why = encoder.finish(); !why.empty()) {
        complain("--video: " + why);
        return 1;
    }
    return 0;
}

} // namespace

int renderMovie(const RenderOptions& options) {
    const std::optional<std::vector<MANDAT>> keys = views(options);
    if (!keys) return 1;
    std::string why;
    const std::optional<MoviePlan> plan = MoviePlan::make(*keys, options.movie, options.deep, &why);
    if (!plan) {
        complain(options.file + ": " + why);
        return 1;
    }
    const int first = options.firstFrame != 0 ? options.firstFrame : 1;
    const int last = options.lastFrame != 0 ? options.lastFrame : plan->frames();
    Tally tally;
    const int status = options.video.empty() ? frameFiles(options, *plan, first, last, tally)
                                             : video(options, *plan, tally);
    if (status == 0)
        std::printf("frames %d to %d rendered %d kept %d seconds %.3f\n", first, last,
                    tally.rendered, tally.kept, tally.seconds.count());
    return status;
}

} // namespace velq::batch
