// The three coordinate fields: the view's centre x and y and its half-width w.
#pragma once

#include "core/view/mandat.h"

class QLineEdit;

namespace velq {

class CoordinateFields {
public:
    struct Outlets {
        QLineEdit* TextField_x = nullptr;
        QLineEdit* TextField_y = nullptr;
        QLineEdit* TextField_w = nullptr;
    };

    void connect(const Outlets& outlets) { outlets_ = outlets; }
    const Outlets& outlets() const { return outlets_; }

    // Values are shown with 17 significant digits, which give back the double.
    void showX(double x);
    void showY(double y);
    void showW(double w);
    void show(double x, double y, double w);
    // The typed centre and width; a field that does not hold a number keeps `current`'s value.
    // The limit and the colours are `current`'s.
    MANDAT typed(const MANDAT& current) const;
    void repaint();

private:
    Outlets outlets_;
};

} // namespace velq
