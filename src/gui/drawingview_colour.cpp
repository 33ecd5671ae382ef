// The colour commands: rebuilding the map, recolouring, and the colour controls' actions.
#include "gui/drawingview.h"

namespace velq {

int DrawingView::make_cmap(int requested) {
    return colours_.make_cmap(requested);
}

int DrawingView::append_cmap(int requested) {
    return colours_.append_cmap(requested, picture_);
}

void DrawingView::pushButtonC(QAbstractButton* sender) {
    if (!driver_.idle() || !settleGesture()) {
        // Counts are still being written: undo what the click did to the buttons.
        colours_.showColourWord(Mandat0_.cs);
        return;
    }
    ColourControls::cycle(sender);
    Mandat0_.cs = make_cmap(-1);
    Mandat0_.cp = append_cmap(-1);
    repaint();
}

void DrawingView::sliderMove() {
    if (!driver_.idle() || !settleGesture()) {
        colours_.showRotation(Mandat0_.cp);
        return;
    }
    Mandat0_.cp = append_cmap(-1);
    repaint();
}

void DrawingView::drawcbar() {
    colours_.drawcbar();
}

} // namespace velq
