// Numbers in the coordinate fields, written and read independently of the locale.
#include "gui/coordinatefields.h"

#include "core/deep/deeparith.h"

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

void CoordinateFields::show(const MANDAT& v) {
    showCentre(v);
    showWidth(v);
}

void CoordinateFields::showCentre(const MANDAT& v) {
    if (!v.deep) {
        showX(v.x);
        showY(v.y);
        return;
    }
    for (const auto& [field, c] : {std::pair{outlets_.TextField_x, &v.deep->x},
                                   std::pair{outlets_.TextField_y, &v.deep->y}}) {
        field->setText(QString::fromStdString(centreText(*c, v.deep->w)));
        field->setCursorPosition(0);
    }
}

void CoordinateFields::showWidth(const MANDAT& v) {
    if (!v.deep) {
        showW(v.w);
        return;
    }
    outlets_.TextField_w->setText(QString::fromStdString(v.deep->w.text()));
    outlets_.TextField_w->setCursorPosition(0);
}

MANDAT CoordinateFields::typed(const MANDAT& current, bool deep) const {
    const auto text = [](const QLineEdit* field) { return field->text().trimmed().toStdString(); };
    const std::optional<ExtFloat> w = ExtFloat::parse(text(outlets_.TextField_w));
    if (deep && w && ExtFloat(0.0) < *w && fitsDouble(*w)) {
        // Each field that holds no number keeps the current view's value; so does one beyond
        // the doubles, which the view's own fields could not hold.
        const long bits = centreBits(*w);
        const DeepView now = current.deep ? *current.deep
                                          : DeepView{Real(current.x, bits), Real(current.y, bits),
                                                     ExtFloat(current.w), current.it};
        const auto number = [&](const QLineEdit* field) {
            std::optional<Real> r = Real::parse(text(field), bits);
            return r && fitsDouble(*r) ? r : std::nullopt;
        };
        const std::optional<Real> x = number(outlets_.TextField_x);
        const std::optional<Real> y = number(outlets_.TextField_y);
        MANDAT v = current;
        v.deep = std::make_shared<const DeepView>(
            DeepView{x ? *x : now.x.withBits(bits), y ? *y : now.y.withBits(bits), *w, now.it});
        v.x = v.deep->x.toDouble();
        v.y = v.deep->y.toDouble();
        v.w = w->toDouble();
        return withDepth(std::move(v));
    }
    return typedDoubles(current);
}

MANDAT CoordinateFields::typedDoubles(const MANDAT& current) const {
    MANDAT v = current;
    v.deep = nullptr;
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
