// The colour bar beside the slider: one period of the colour map.
#pragma once

#include <QImage>
#include <QWidget>

namespace velq {

class ColourBarView : public QWidget {
    Q_OBJECT

public:
    explicit ColourBarView(QWidget* parent = nullptr) : QWidget(parent) {}
    // The 2010 x 1 colour-map image; it stays owned by the caller and must outlive the view.
    void setBar(const QImage* bar) { bar_ = bar; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* bar_ = nullptr;
};

} // namespace velq
