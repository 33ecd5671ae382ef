// The render command and Run/Abort.
#include "core/deep/deeparith.h"
#include "core/deep/deeprender.h"
#include "gui/drawingview.h"
#include "gui/localization.h"

#include <QPushButton>

namespace velq {

MANDAT DrawingView::depthOf(MANDAT v) {
    if (deepZoom_) return withDepth(std::move(v));
    if (!v.deep) return v;
    // Deep Zoom was turned off: the six fields are the view, its limit one of the menus'.
    v = withoutDepth(std::move(v));
    v.it = setIterations(v.it);
    return v;
}

void DrawingView::recordHistory(int backup) {
    if (const std::error_code why = history_.record(Mandat0_, backup, picture_.aspect()))
        alert(localized("Cant_Save"),
              localized("Log_Not_Written").arg(ViewHistory::logPath(), reasonText(why)));
}

int DrawingView::runMandel(MANDAT v, int backup) {
    stopGesture();
    recordHistory(backup);
    driver_.begin(picture_.winy());
    updateActions();
    fields_.repaint();
    colours_.repaint();
    if (Mandat0_.cs != v.cs) Mandat0_.cs = make_cmap(v.cs);
    v = depthOf(std::move(v));
    // A deep view's width goes below the floor of doubles.
    v.w = v.deep ? v.w : floorWidth(v.w);
    fields_.show(v);
    Mandat0_.x = v.x;
    Mandat0_.y = v.y;
    Mandat0_.w = v.w;
    Mandat0_.it = v.it;
    Mandat0_.deep = v.deep;
    selection_.clear();
    const int result = mandel_calc();
    shownView_ = Mandat0_;
    gestureDirty_ = false;
    // After a stopped render the picture keeps its colours and counts of both renders.
    if (driver_.status() != RenderStatus::AbortStop) Mandat0_.cp = append_cmap(v.cp);
    fields_.repaint();
    colours_.repaint();
    driver_.end();
    updateActions();
    drawcbar();
    return result;
}

int DrawingView::mandel_calc() {
    return driver_.mandel_calc(Mandat0_, picture_);
}

void DrawingView::pushButton() {
    switch (driver_.status()) {
    case RenderStatus::Rendering:
        driver_.pressAbort();
        return;
    case RenderStatus::Idle:
        runMandel(fields_.typed(Mandat0_, deepZoom_), 2);
        repaint();
        return;
    case RenderStatus::ResizePending:
        runMandel(Mandat0_, 0);
        repaint();
        return;
    default:
        return;
    }
}

void DrawingView::stopRenderForClose() {
    stopGesture();
    driver_.stopForClose();
}

} // namespace velq

namespace velq {

void DrawingView::gestureStep(MANDAT target) {
    if (!driver_.idle() || picture_.winx() == 0) return;
    if (deepZoom_) target = withDepth(std::move(target));
    // A gesture counts as one Run from the view before it to the last one.
    if (hand_.step()) {
        recordHistory(Backup::NewView);
        selection_.clear();
    }
    hand_.showPreview(picture_, shownView_, target);
    Mandat0_.x = target.x;
    Mandat0_.y = target.y;
    Mandat0_.w = target.w;
    Mandat0_.deep = target.deep;
    fields_.show(target);
    gestureDirty_ = true;
    hand_.render(Mandat0_, picture_.winx(), picture_.winy());
    updateActions();
    repaint();
}

void DrawingView::collectGesture() {
    const auto done = hand_.collect(picture_.mandelStorage());
    if (!done) return;
    shownView_ = done->view;
    append_cmap(Mandat0_.cp);
    if (done->exact && done->view == Mandat0_) gestureDirty_ = false;
    repaint();
}

void DrawingView::restGesture() {
    // Deep views get their picture once the hand rests; the others have had theirs already.
    if (gestureDirty_ && rendersDeep(Mandat0_) && driver_.idle()) settleGesture();
}

void DrawingView::stopGesture() {
    hand_.stop();
}

bool DrawingView::settleGesture() {
    stopGesture();
    if (!gestureDirty_) return true;
    // The exact picture of the view the hand left, as a render in place.
    driver_.begin(picture_.winy());
    updateActions();
    const int result = mandel_calc();
    shownView_ = Mandat0_;
    if (driver_.status() != RenderStatus::AbortStop) append_cmap(Mandat0_.cp);
    driver_.end();
    updateActions();
    repaint();
    gestureDirty_ = result < 0;
    return result >= 0;
}

} // namespace velq
