// Movies: the frames of a zoom through key views, as frame files that a stopped or shared job
// takes up again, or piped into ffmpeg as one video.
#include "cli/batch.h"
#include "cli/ffmpeg.h"
#include "cli/render.h"
#include "core/files/filebytes.h"
#include "core/files/paramline.h"
#include "core/movie/frameplan.h"
#include "pngio/pngfile.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <thread>

namespace velq::batch {
namespace {

struct Tally {
    int rendered = 0, kept = 0;
    std::chrono::duration<double> seconds{0};
};

// The folder of the frames, made when missing (by the umask, as files are).
bool frameFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
        complain("--out: '" + path + "' is not a folder");
        return false;
    }
    complain("--out: cannot make the folder '" + path + "': " + std::strerror(errno));
    return false;
}

// Whether the frame file is already there, whole, of this size and with this frame's view.
bool alreadyThere(const std::string& file, const MANDAT& v, int width, int height) {
    std::vector<char> data;
    if (readWholeFile(file, FileKinds::RegularOnly, data)) return false;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()),
                                              data.size());
    return holdsFrame(bytes, width, height, parameterLine(v, static_cast<double>(width) / height));
}

// Encodes and writes frame files on threads of their own while the workers render the next
// frames: encoding a PNG file and syncing it to disk take about as long as rendering a frame.
class FrameWriter {
public:
    static constexpr std::size_t kThreads = 2;

    FrameWriter(int width, int height) : width_(width), height_(height) {
        for (std::size_t i = 0; i < kThreads; ++i)
            threads_.emplace_back([this] { run(); });
    }
    ~FrameWriter() { close(); }
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Hands a frame over, waiting while every thread has one waiting. False once a write has
    // failed (its message is out).
    bool put(std::string file, MANDAT v, std::vector<Rgba> pixels) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return waiting_.size() < kThreads || failed_; });
        if (failed_) return false;
        waiting_.push_back({std::move(file), std::move(v), std::move(pixels)});
        changed_.notify_all();
        return true;
    }
    // Waits until every frame handed over is written; false when one could not be.
    bool close() {
        {
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        changed_.notify_all();
        for (std::thread& t : threads_)
            if (t.joinable()) t.join();
        return !failed_;
    }

private:
    struct Frame {
        std::string file;
        MANDAT v;
        std::vector<Rgba> pixels;
    };
    void run() {
        const double aspect = static_cast<double>(width_) / height_;
        for (;;) {
            Frame frame;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return !waiting_.empty() || closing_ || failed_; });
                if (waiting_.empty() || failed_) return;
                frame = std::move(waiting_.front());
                waiting_.pop_front();
            }
            changed_.notify_all();
            const bool written =
                writeOut("--out", frame.file,
                         encodePngWithChunk(frame.pixels, width_, height_, frame.v, aspect));
            if (!written) {
                std::lock_guard lock(mutex_);
                failed_ = true;
                changed_.notify_all();
                return;
            }
        }
    }

    const int width_, height_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Frame> waiting_; // guarded by mutex_, as are the flags
    bool closing_ = false, failed_ = false;
    std::vector<std::thread> threads_; // last: started once the rest is there
};

int frameFiles(const RenderOptions& options, const MoviePlan& plan, int first, int last,
               Tally& tally) {
    if (!frameFolder(options.out)) return 1;
    const int w = options.width, h = options.height;
    Renderer renderer(options.kernel, w, h);
    FrameWriter writer(w, h);
    ProgressLine progress = batch::progress("frames", last - first + 1, options);
    for (int n = first; n <= last; ++n) {
        const MANDAT v = asRendered(plan.frame(n));
        std::string file = options.out + "/" + frameFileName(n);
        if (alreadyThere(file, v, w, h)) {
            ++tally.kept;
        } else {
            const auto t0 = std::chrono::steady_clock::now();
            renderer.render(v);
            tally.seconds += std::chrono::steady_clock::now() - t0;
            if (!writer.put(std::move(file), v, renderer.pixels())) return 1;
            ++tally.rendered;
            progress.clear();
            std::printf("%s\n", viewLine(v).c_str());
        }
        progress.update(n - first + 1);
    }
    return writer.close() ? 0 : 1;
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
        renderer.render(v);
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
