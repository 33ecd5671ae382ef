// The render command and Run/Abort.
#include "gui/drawingview.h"
#include "gui/localization.h"

#include <QPushButton>

namespace velq {

int DrawingView::runMandel(MANDAT v, int backup) {
    if (const std::error_code why = history_.record(Mandat0_, backup, picture_.aspect()))
        alert(localized("Cant_Save"),
              localized("Log_Not_Written").arg(ViewHistory::logPath(), reasonText(why)));
    driver_.begin(picture_.winy());
    updateActions();
    fields_.repaint();
    colours_.repaint();
    if (Mandat0_.cs != v.cs) Mandat0_.cs = make_cmap(v.cs);
    const double w = floorWidth(v.w);
    fields_.show(v.x, v.y, w);
    Mandat0_.x = v.x;
    Mandat0_.y = v.y;
    Mandat0_.w = w;
    Mandat0_.it = v.it;
    selection_.clear();
    const int result = mandel_calc();
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
        runMandel(fields_.typed(Mandat0_), 2);
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
    driver_.stopForClose();
}

} // namespace velq
