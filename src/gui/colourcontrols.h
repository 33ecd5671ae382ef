// The colour controls: the pattern and overlay buttons, the three channel toggles, the rotation
// slider with its number, and the colour map that the colour bar shows.
#pragma once

#include "core/colour/colormap.h"

#include <QImage>
#include <span>

class QAbstractButton;
class QLabel;
class QPushButton;
class QSlider;

namespace velq {

class ColourBarView;
class Picture;

class ColourControls {
public:
    struct Outlets {
        QPushButton* PushButtonCa = nullptr;
        QPushButton* PushButtonCb = nullptr;
        QPushButton* PushButtonCR = nullptr;
        QPushButton* PushButtonCG = nullptr;
        QPushButton* PushButtonCB = nullptr;
        QSlider* Slider = nullptr;
        QLabel* SliderNum = nullptr;
        ColourBarView* SliderImage = nullptr;
    };

    // Takes the outlets and creates the colour map's storage, the colour bar's one row.
    void connect(const Outlets& outlets);
    const Outlets& outlets() const { return outlets_; }

    // The word `requested`, or with -1 the word the buttons compose: shown on the buttons and
    // built into the map. Returns the word used.
    int make_cmap(int requested);
    // The rotation `requested`, or with -1 the slider's, brought into 0..1000 and shown;
    // recolours the picture. Returns the rotation used.
    int append_cmap(int requested, Picture& picture);
    // A cycling button steps to its next choice (a tag of 0 wraps round to the first).
    static void cycle(QAbstractButton* button);
    // Undoes what a click did while the counts could not be recoloured.
    void showColourWord(int cs);
    void showRotation(int cp);
    // Redraws the buttons, the slider and the colour bar at once.
    void repaint();
    void drawcbar();

    std::span<Rgba, kCmapEntries> cmap();
    const QImage& cbarRep() const { return cbarRep_; }

private:
    Outlets outlets_;
    QImage cbarRep_; // 2010 x 1: its pixels are the colour map
};

} // namespace velq
