// Coarse then exact renders in the background, superseded by the next step.
#include "core/explore/gesturepipeline.h"

namespace velq {

GesturePipeline::GesturePipeline(RowKernel kernel, int threads)
    : kernel_(kernel), threads_(threads) {}

GesturePipeline::~GesturePipeline() {
    halt();
}

void GesturePipeline::halt() {
    if (stage_ == Stage::Idle) return;
    status_ = RenderStatus::AbortStop; // the workers take no further rows
    while (!workers_.waitFor(std::chrono::milliseconds(100))) {
    }
    workers_.finish();
    stage_ = Stage::Idle;
}

void GesturePipeline::stop() {
    halt();
}

void GesturePipeline::render(const MANDAT& view, int winx, int winy) {
    halt();
    view_ = view;
    winx_ = winx;
    winy_ = winy;
    buffer_.resize(static_cast<std::size_t>(winx) * static_cast<std::size_t>(winy));
    launch(Stage::Coarse);
}

void GesturePipeline::launch(Stage stage) {
    // Coarse: the workers start as after an Abort, one pixel in sixteen, then the block fill.
    status_ = stage == Stage::Coarse ? RenderStatus::AbortCoarse : RenderStatus::Rendering;
    workers_.start(KernelFrame::of(view_, winx_, winy_, iterationLimitInForce(view_)),
                   buffer_.data(), kernel_, threads_);
    stage_ = stage;
}

std::optional<GesturePipeline::Finished> GesturePipeline::collect(std::vector<std::int16_t>& counts,
                                                                  std::chrono::milliseconds wait) {
    if (stage_ == Stage::Idle || !workers_.waitFor(wait)) return std::nullopt;
    workers_.finish();
    if (counts.size() != buffer_.size()) { // the picture changed size: this render is of no use
        stage_ = Stage::Idle;
        return std::nullopt;
    }
    counts.swap(buffer_);
    const Finished done{view_, stage_ == Stage::Exact};
    if (done.exact) {
        stage_ = Stage::Idle;
    } else {
        buffer_.resize(counts.size());
        launch(Stage::Exact);
    }
    return done;
}

} // namespace velq
