// Direct navigation by hand: the wheel, a pan drag and the keys move the view in gesture
// steps. Each step shows the picture on screen moved or scaled at once, then the renders of
// the gesture pipeline replace it, coarse first. A gesture ends after 300 ms of quiet. Deep
// views are too slow to follow the hand: they are rendered once it rests.
#pragma once

#include "core/explore/gesturepipeline.h"
#include "core/explore/navigation.h"

#include <QImage>
#include <QPointF>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace velq {

class Picture;

class HandNavigation {
public:
    // `collect` is called while a render is in flight, often enough to show it at once;
    // `rest` when a gesture ends with the hand let go.
    HandNavigation(QObject* owner, std::function<void()> collect, std::function<void()> rest);
    void setKernel(RowKernel kernel);

    // A step of the hand: true when it begins a new gesture.
    bool step();
    // While the hand holds a pan drag, quiet does not end the gesture.
    void hold(bool held);

    // The picture on screen (showing `shown`) moved or scaled to `target`, shown until the
    // next render of the pipeline is collected.
    void showPreview(const Picture& picture, const MANDAT& shown, const MANDAT& target);
    const QImage* preview() const { return preview_.isNull() ? nullptr : &preview_; }

    // The pipeline's renders of `target`, coarse then exact, in the background; none for a
    // view rendered deep.
    void render(const MANDAT& target, int winx, int winy);
    bool rendering() const { return pipeline_ && pipeline_->inFlight(); }
    // A finished render swapped into `counts`; the preview goes.
    std::optional<GesturePipeline::Finished> collect(std::vector<std::int16_t>& counts);
    // Stops and joins the render in flight; the gesture ends.
    void stop();

    // Where a pan drag last was, in points; nothing when none is held.
    std::optional<QPointF> panFrom;
    bool spaceHeld = false;

private:
    std::unique_ptr<GesturePipeline> pipeline_;
    QTimer poll_;
    QTimer quiet_;
    bool held_ = false;
    QImage preview_;
};

} // namespace velq
