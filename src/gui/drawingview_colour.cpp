// The colour commands: rebuilding the map, recolouring, and the colour controls.
#include "gui/drawingview.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace velq {

std::span<Rgba> DrawingView::pixelArr() {
    return {reinterpret_cast<Rgba*>(imageRep.bits()),
            static_cast<std::size_t>(imageRep.width()) *
                static_cast<std::size_t>(imageRep.height())};
}

std::span<Rgba, kCmapEntries> DrawingView::cmap() {
    return std::span<Rgba, kCmapEntries>(reinterpret_cast<Rgba*>(cbarRep.bits()), kCmapEntries);
}

int DrawingView::make_cmap(int requested) {
    int cs = requested;
    if (requested == -1) {
        cs = composeColourWord({PushButtonCR->isChecked(), PushButtonCG->isChecked(),
                                PushButtonCB->isChecked(), PushButtonCa->property("tag").toInt(),
                                PushButtonCb->property("tag").toInt()});
    }
    showColourWord(cs);
    buildColourMap(cs, cmap());
    return cs;
}

void DrawingView::showColourWord(int cs) {
    const ColourButtons shown = buttonsForWord(cs);
    PushButtonCB->setChecked(shown.blueOn);
    PushButtonCG->setChecked(shown.greenOn);
    PushButtonCR->setChecked(shown.redOn);
    PushButtonCa->setProperty("tag", shown.patternTag);
    PushButtonCa->setText(QString::fromLatin1(patternTitle(shown.patternTag)));
    PushButtonCb->setProperty("tag", shown.overlayTag);
    PushButtonCb->setText(QString::fromLatin1(overlayTitle(shown.overlayTag)));
}

int DrawingView::append_cmap(int requested) {
    // A rotation from a file or a preset is brought into the map before it can index it.
    const int cp = requested == -1 ? clampRotation(Slider->value()) : clampRotation(requested);
    if (requested != -1) {
        const QSignalBlocker quiet(Slider);
        Slider->setValue(cp);
    }
    SliderNum->setNum(cp);
    recolour(mandel, pixelArr(), cmap(), cp);
    return cp;
}

void DrawingView::pushButtonC(QAbstractButton* sender) {
    if (status != RenderStatus::Idle) {
        // Counts are still being written: undo what the click did to the buttons.
        showColourWord(Mandat0.cs);
        return;
    }
    sender->setProperty("tag", sender->property("tag").toInt() >> 1);
    Mandat0.cs = make_cmap(-1);
    Mandat0.cp = append_cmap(-1);
    repaint();
}

void DrawingView::sliderMove() {
    if (status != RenderStatus::Idle) {
        const QSignalBlocker quiet(Slider);
        Slider->setValue(Mandat0.cp);
        return;
    }
    Mandat0.cp = append_cmap(-1);
    repaint();
}

} // namespace velq
