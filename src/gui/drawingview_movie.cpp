// File › Export Movie…: a zoom from an earlier view to the current one, rendered frame by frame
// through the render driver into frame files or one video.
#include "core/movie/frameplan.h"
#include "core/movie/videoencoder.h"
#include "gui/drawingview.h"
#include "gui/localization.h"
#include "pngio/framefiles.h"

#include <QFile>
#include <array>
#include <memory>
#include <optional>
#include <utility>

namespace velq {
namespace {

// Where the frames go: a folder of frame files (frames already there are kept), or ffmpeg.
class MovieSink {
public:
    MovieSink(const MovieRequest& request, const FrameWriter::WriteFile& write)
        : path_(QFile::encodeName(request.output).toStdString()), size_(request.size) {
        if (request.video()) {
            video_ = std::make_unique<VideoEncoder>();
            const std::string why = video_->start(path_, size_.width(), size_.height(), "30");
            if (!why.empty()) failure_ = localized("Movie_Failed").arg(QString::fromStdString(why));
        } else if (const std::error_code why = makeFrameFolder(path_)) {
            failure_ = localized("Not_Saved").arg(request.output, reasonText(why));
        } else {
            frames_ = std::make_unique<FrameWriter>(size_.width(), size_.height(), write);
        }
    }

    // Empty while all is well; otherwise what went wrong, for the alert.
    const QString& failure() const { return failure_; }
    // Whether frame `n` is in its file already, from a movie that was stopped.
    bool done(int n, const MANDAT& v) const {
        return frames_ && holdsFrameFile(file(n), v, size_.width(), size_.height());
    }
    bool put(int n, const MANDAT& v, std::vector<Rgba> pixels) {
        if (video_) return video_->write(pixels) || fail(video_->finish());
        return frames_->put(file(n), v, std::move(pixels)) || failedFrame();
    }
    // Writes what is not written yet: the remaining frame files, or the video of every frame
    // sent, also after an abort.
    bool finish() {
        if (!failure_.isEmpty()) return false;
        if (video_) return fail(video_->finish());
        return frames_->close() || failedFrame();
    }

private:
    std::string file(int n) const { return path_ + "/" + frameFileName(n); }
    bool fail(const std::string& why) {
        if (!why.empty()) failure_ = localized("Movie_Failed").arg(QString::fromStdString(why));
        return why.empty();
    }
    bool failedFrame() {
        failure_ = localized("Not_Saved")
                       .arg(QFile::decodeName(frames_->failedPath().c_str()),
                            reasonText(frames_->failure()));
        return false;
    }

    std::string path_;
    QSize size_;
    std::unique_ptr<VideoEncoder> video_;
    std::unique_ptr<FrameWriter> frames_;
    QString failure_;
};

} // namespace

void DrawingView::exportMovie() {
    if (!settleGesture()) return;
    const std::optional<MANDAT> oldest = history_.ring().oldest();
    const std::optional<MovieRequest> request = movieDialog_.ask(
        window(), {picture_.winx(), picture_.winy()}, oldest.has_value(), seams_.runDialog);
    if (!request) return;
    const MANDAT keys[] = {request->fromOldest && oldest ? *oldest : kStartView, Mandat0_};
    std::string why;
    const std::optional<MoviePlan> plan = MoviePlan::make(keys, request->frames, deepZoom_, &why);
    if (!plan) {
        alert(localized("Cant_Export_Movie"), QString::fromStdString(why));
        return;
    }
    renderMovie(*plan, *request);
}

bool DrawingView::renderMovie(const MoviePlan& plan, const MovieRequest& request) {
    Picture frame;
    if (!frame.allocate(request.size.width(), request.size.height())) {
        alert(localized("Cant_Export_Movie"),
              localized("Export_No_Memory").arg(request.size.width()).arg(request.size.height()));
        return false;
    }
    MovieSink sink(request, seams_.writeFile);
    if (!sink.failure().isEmpty()) {
        alert(localized("Cant_Export_Movie"), sink.failure());
        return false;
    }
    driver_.beginSeries(plan.frames());
    updateActions();
    std::array<Rgba, kCmapEntries> cmap{};
    std::optional<int> mapFor; // the colour word the map holds
    for (int n = 1; n <= plan.frames() && sink.failure().isEmpty(); ++n) {
        const MANDAT v = plan.frame(n);
        if (!sink.done(n, v)) {
            // Only closing the window stops a frame; Abort waits for it.
            if (driver_.mandel_calc(v, frame, plan.reference(n).get()) < 0) break;
            if (std::exchange(mapFor, v.cs) != v.cs) buildColourMap(v.cs, cmap);
            recolour(frame.mandel(), frame.pixelArr(), cmap, v.cp);
            const std::span<const Rgba> pixels = frame.pixelArr();
            if (!sink.put(n, v, {pixels.begin(), pixels.end()})) break;
        }
        driver_.showFramesDone(n);
        if (driver_.seriesAborted()) break;
    }
    const bool written = sink.finish();
    driver_.end();
    updateActions();
    if (!written) alert(localized("Cant_Export_Movie"), sink.failure());
    return written;
}

} // namespace velq
