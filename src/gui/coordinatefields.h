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
    // A view, deep or not: a deep centre with as many digits as its depth needs, its width in
    // exponent form.
    void show(const MANDAT& v);
    void showCentre(const MANDAT& v);
    void showWidth(const MANDAT& v);
    // The typed centre and width; a field that does not hold a number keeps `current`'s value.
    // The limit and the colours are `current`'s. With `deep`, the typed digits are kept, a
    // width may be of any exponent below the largest double, and a number beyond the doubles
    // counts as none.
    MANDAT typed(const MANDAT& current, bool deep = false) const;
    void repaint();

private:
    MANDAT typedDoubles(const MANDAT& current) const;

    Outlets outlets_;
};

} // namespace velq
