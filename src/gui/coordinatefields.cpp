// Numbers in the coordinate fields, written and read independently of the locale.
#include "gui/coordinatefields.h"

#include <QLineEdit>
#include <QLocale>

namespace velq {
namespace {

void setDoubleValue(QLineEdit* field, double value) {
    field->setText(QString::number(value, 'g', 17));
    field->setCursorPosition(0);
}

double doubleValue(const QLineEdit* field, double fallback) {
    bool ok = false;
    const double value = QLocale::c().toDouble(field->text().trimmed(), &ok);
    return ok ? value : fallback;
}

} // namespace

void CoordinateFields::showX(double x) {
    setDoubleValue(outlets_.TextField_x, x);
}

void CoordinateFields::showY(double y) {
    setDoubleValue(outlets_.TextField_y, y);
}

void CoordinateFields::showW(double w) {
    setDoubleValue(outlets_.TextField_w, w);
}

void CoordinateFields::show(double x, double y, double w) {
    showX(x);
    showY(y);
    showW(w);
}

MANDAT CoordinateFields::typed(const MANDAT& current) const {
    MANDAT v = current;
    v.x = doubleValue(outlets_.TextField_x, current.x);
    v.y = doubleValue(outlets_.TextField_y, current.y);
    v.w = doubleValue(outlets_.TextField_w, current.w);
    return v;
}

void CoordinateFields::repaint() {
    for (QLineEdit* field : {outlets_.TextField_x, outlets_.TextField_y, outlets_.TextField_w})
        field->repaint();
}

} // namespace velq
