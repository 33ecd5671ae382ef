// Gesture bookkeeping, the preview on screen and the polling of the gesture pipeline.
#include "gui/handnavigation.h"

#include "core/deep/deeparith.h"
#include "core/deep/deeprender.h"
#include "gui/picture.h"

namespace velq {

HandNavigation::HandNavigation(QObject* owner, std::function<void()> collect,
                               std::function<void()> rest) {
    poll_.setInterval(2); // a finished render is shown within a couple of milliseconds
    QObject::connect(&poll_, &QTimer::timeout, owner, std::move(collect));
    quiet_.setSingleShot(true);
    quiet_.setInterval(300);
    QObject::connect(&quiet_, &QTimer::timeout, owner, [this, rest = std::move(rest)] {
        if (!held_) rest();
    });
}

void HandNavigation::setKernel(RowKernel kernel) {
    pipeline_ = std::make_unique<GesturePipeline>(kernel);
}

bool HandNavigation::step() {
    const bool begins = !quiet_.isActive() && !held_;
    quiet_.start();
    return begins;
}

void HandNavigation::hold(bool held) {
    held_ = held;
    quiet_.start();
}

void HandNavigation::showPreview(const Picture& picture, const MANDAT& shown,
                                 const MANDAT& target) {
    const int winx = picture.winx(), winy = picture.winy();
    if (preview_.size() != QSize(winx, winy)) {
        preview_ = QImage(winx, winy, QImage::Format_RGBA8888);
        preview_.setDevicePixelRatio(picture.ratio());
    }
    resamplePreview(picture.pixelArr(),
                    std::span(reinterpret_cast<Rgba*>(preview_.bits()), picture.pixelArr().size()),
                    winx, winy, previewOfView(shown, target, winx, winy));
}

void HandNavigation::render(const MANDAT& target, int winx, int winy) {
    if (rendersDeep(target)) { // a render of an earlier step would only replace the preview
        pipeline_->stop();
        poll_.stop();
        return;
    }
    pipeline_->render(target, winx, winy);
    poll_.start();
}

std::optional<GesturePipeline::Finished>
HandNavigation::collect(std::vector<std::int16_t>& counts) {
    const auto done = pipeline_->collect(counts);
    if (done) preview_ = QImage();
    if (!pipeline_->inFlight()) poll_.stop();
    return done;
}

void HandNavigation::stop() {
    if (pipeline_) pipeline_->stop();
    poll_.stop();
    quiet_.stop();
    held_ = false;
    panFrom.reset();
    preview_ = QImage();
}

} // namespace velq
