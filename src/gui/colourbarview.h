// The colour bar beside the slider: one period of the colour map.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace velq {

class ColourBarView : public QWidget {
    Q_OBJECT

public:
    explicit ColourBarView(QWidget* parent = nullptr) : QWidget(parent) {}
    // The 2010 x 1 colour-map image; it stays owned by the caller and must outlive the view.
    void setBar(const QImage* bar) { bar_ = bar; }
    // Called when the user drags from the bar: the picture goes out from here too, where the
    // window manager takes Alt and a drag for itself. `half`: Shift was held.
    void setDragStarter(std::function<void(bool half)> start) { startDrag_ = std::move(start); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const QImage* bar_ = nullptr;
    std::function<void(bool)> startDrag_;
    QPoint pressedAt_;
};

} // namespace velq
