// Building the colour map from the buttons, recolouring, and showing a word on the buttons.
#include "gui/colourcontrols.h"

#include "gui/colourbarview.h"
#include "gui/picture.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

namespace velq {

void ColourControls::connect(const Outlets& outlets) {
    outlets_ = outlets;
    cbarRep_ = QImage(kCmapEntries, 1, QImage::Format_RGBA8888);
    cbarRep_.fill(0);
    outlets_.SliderImage->setBar(&cbarRep_);
}

std::span<Rgba, kCmapEntries> ColourControls::cmap() {
    return std::span<Rgba, kCmapEntries>(reinterpret_cast<Rgba*>(cbarRep_.bits()), kCmapEntries);
}

int ColourControls::make_cmap(int requested) {
    const Outlets& o = outlets_;
    const int cs = requested != -1
                       ? requested
                       : composeColourWord(
                             {o.PushButtonCR->isChecked(), o.PushButtonCG->isChecked(),
                              o.PushButtonCB->isChecked(), o.PushButtonCa->property("tag").toInt(),
                              o.PushButtonCb->property("tag").toInt()});
    showColourWord(cs);
    buildColourMap(cs, cmap());
    return cs;
}

void ColourControls::showColourWord(int cs) {
    const ColourButtons shown = buttonsForWord(cs);
    const Outlets& o = outlets_;
    o.PushButtonCB->setChecked(shown.blueOn);
    o.PushButtonCG->setChecked(shown.greenOn);
    o.PushButtonCR->setChecked(shown.redOn);
    o.PushButtonCa->setProperty("tag", shown.patternTag);
    o.PushButtonCa->setText(QString::fromLatin1(patternTitle(shown.patternTag)));
    o.PushButtonCb->setProperty("tag", shown.overlayTag);
    o.PushButtonCb->setText(QString::fromLatin1(overlayTitle(shown.overlayTag)));
}

void ColourControls::cycle(QAbstractButton* button) {
    button->setProperty("tag", button->property("tag").toInt() >> 1);
}

int ColourControls::append_cmap(int requested, Picture& picture) {
    // A rotation from a file or a preset is brought into the map before it can index it.
    const int cp = clampRotation(requested == -1 ? outlets_.Slider->value() : requested);
    if (requested != -1) showRotation(cp);
    outlets_.SliderNum->setNum(cp);
    recolour(picture.mandel(), picture.pixelArr(), cmap(), cp);
    return cp;
}

void ColourControls::showRotation(int cp) {
    const QSignalBlocker quiet(outlets_.Slider);
    outlets_.Slider->setValue(cp);
}

void ColourControls::repaint() {
    const Outlets& o = outlets_;
    for (QWidget* control :
         std::initializer_list<QWidget*>{o.PushButtonCR, o.PushButtonCG, o.PushButtonCB,
                                         o.PushButtonCa, o.PushButtonCb, o.Slider, o.SliderNum})
        control->repaint();
}

void ColourControls::drawcbar() {
    if (outlets_.SliderImage) outlets_.SliderImage->update();
}

} // namespace velq
