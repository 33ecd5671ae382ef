// Zooms, pans and selections of deep views at full precision.
#include "core/deep/deeparith.h"

#include "core/view/iterationlimit.h"

#include <algorithm>
#include <cmath>

namespace velq {
namespace {

// The six fields rounded from the deep part.
MANDAT rounded(MANDAT v, DeepView deep) {
    v.x = deep.x.toDouble();
    v.y = deep.y.toDouble();
    v.w = deep.w.toDouble();
    v.it = allowedLimit(deep.it);
    v.deep = std::make_shared<const DeepView>(std::move(deep));
    return v;
}

// The deep part of a view, made from its doubles when it has none.
DeepView deepPart(const MANDAT& v) {
    if (v.deep) return *v.deep;
    const ExtFloat w(v.w);
    return {Real(v.x, centreBits(w)), Real(v.y, centreBits(w)), w, v.it};
}

// The centre at the precision the new width needs.
DeepView rebit(DeepView d) {
    const long bits = centreBits(d.w);
    if (d.x.bits() != bits) d.x = d.x.withBits(bits);
    if (d.y.bits() != bits) d.y = d.y.withBits(bits);
    return d;
}

} // namespace

MANDAT withDepth(MANDAT v) {
    const bool deep = (v.deep ? v.deep->w.toDouble() : v.w) < kDeepCarry ||
                      (v.deep && v.deep->it > kMaxIterations);
    if (!deep) return withoutDepth(std::move(v));
    DeepView d = deepPart(v);
    if (d.w < kDeepMinWidth) d.w = kDeepMinWidth;
    return rounded(v, rebit(std::move(d)));
}

MANDAT withoutDepth(MANDAT v) {
    v.deep = nullptr;
    return v;
}

MANDAT withLimit(MANDAT v, std::int32_t limit) {
    if (!v.deep && limit <= kMaxIterations) {
        v.it = limit;
        return v;
    }
    DeepView d = deepPart(v);
    d.it = limit;
    return rounded(v, rebit(std::move(d)));
}

MANDAT zoomedBy(const MANDAT& v, double factor) {
    if (!v.deep) {
        MANDAT z = v;
        z.w = v.w / factor;
        return z;
    }
    DeepView d = *v.deep;
    d.w = d.w / ExtFloat(factor);
    return withDepth(rounded(v, rebit(std::move(d))));
}

MANDAT zoomAboutView(const MANDAT& v, double px, double py, int winx, int winy, double notches,
                     double exponent, WidthBounds bounds) {
    if (!v.deep) return zoomAbout(v, px, py, winx, winy, notches, exponent, bounds);
    DeepView d = *v.deep;
    ExtFloat w = d.w * ExtFloat(std::exp2(-notches * exponent));
    if (w < ExtFloat(bounds.min)) w = ExtFloat(bounds.min);
    if (ExtFloat(bounds.max) < w) w = ExtFloat(bounds.max);
    const ExtFloat ds = pixelStep(d.w, winx, winy) - pixelStep(w, winx, winy);
    d.w = w;
    d = rebit(std::move(d));
    d.x += ExtFloat(px - winx / 2.0) * ds;
    d.y += -(ExtFloat(py - winy / 2.0) * ds);
    return withDepth(rounded(v, std::move(d)));
}

MANDAT panView(const MANDAT& v, double dx, double dy, int winx, int winy) {
    if (!v.deep) return panBy(v, dx, dy, winx, winy);
    DeepView d = *v.deep;
    const ExtFloat s = pixelStep(d.w, winx, winy);
    d.x += -(ExtFloat(dx) * s);
    d.y += ExtFloat(dy) * s;
    return rounded(v, std::move(d));
}

PreviewTransform previewOfView(const MANDAT& shown, const MANDAT& target, int winx, int winy) {
    if (!shown.deep || !target.deep) return previewOf(shown, target, winx, winy);
    const ExtFloat s = pixelStep(shown.deep->w, winx, winy);
    const ExtFloat s2 = pixelStep(target.deep->w, winx, winy);
    const double hx = winx / 2, hy = winy / 2;
    const double scale = (s / s2).toDouble();
    // The centres differ by pixels of the new picture; their difference needs all their bits.
    const auto pixels = [&s2](const Real& a, const Real& b) {
        return (extOf(a - b) / s2).toDouble();
    };
    return {scale, hx - scale * hx + pixels(shown.deep->x, target.deep->x),
            hy - scale * hy + pixels(target.deep->y, shown.deep->y)};
}

MANDAT selectionCentre(const MANDAT& v, PointF p, int winx, int winy) {
    if (!v.deep) {
        const PlanePoint c = planePoint(v, p, winx, winy);
        MANDAT out = v;
        out.x = c.x;
        out.y = c.y;
        return out;
    }
    DeepView d = *v.deep;
    const ExtFloat perPixel = d.w / ExtFloat(std::min(winx * 0.5, winy * 0.5));
    d.x += ExtFloat(p.x - winx * 0.5) * perPixel;
    d.y += ExtFloat(p.y - winy * 0.5) * perPixel;
    return rounded(v, std::move(d));
}

MANDAT selectionWidth(const MANDAT& v, int d, int winx, int winy) {
    const double share = d / (std::min(winx, winy) * 0.5);
    if (!v.deep) {
        MANDAT out = v;
        out.w = share * v.w;
        return out;
    }
    DeepView deep = *v.deep;
    deep.w = ExtFloat(share) * deep.w;
    return withDepth(rounded(v, rebit(std::move(deep))));
}

std::optional<MANDAT> parseDeepView(std::string_view x, std::string_view y, std::string_view w,
                                    std::int64_t it, int cs, int cp, std::string* why) {
    const auto fail = [why](std::string reason) -> std::optional<MANDAT> {
        if (why) *why = std::move(reason);
        return std::nullopt;
    };
    // The width without going through double: far below 1e-308 it is still a number.
    const std::optional<ExtFloat> width = ExtFloat::parse(w);
    if (!width || !(ExtFloat(0.0) < *width))
        return fail("W '" + std::string(w) + "' is not a positive number");
    const auto beyond = [](std::string_view name, std::string_view text) {
        return std::string(name) + " '" + std::string(text) + "' is beyond the doubles' range";
    };
    if (!fitsDouble(*width)) return fail(beyond("W", w));
    const long bits = centreBits(*width);
    std::optional<Real> cx = Real::parse(x, bits), cy = Real::parse(y, bits);
    if (!cx) return fail("X '" + std::string(x) + "' is not a number");
    if (!cy) return fail("Y '" + std::string(y) + "' is not a number");
    if (!fitsDouble(*cx)) return fail(beyond("X", x));
    if (!fitsDouble(*cy)) return fail(beyond("Y", y));
    MANDAT v{0, 0, 0, 0, cs, cp};
    v = rounded(v, DeepView{std::move(*cx), std::move(*cy), *width, allowedDeepLimit(it)});
    return withDepth(std::move(v));
}

std::string centreText(const Real& c, const ExtFloat& w) {
    const std::int64_t bitsBelowPoint = std::max<std::int64_t>(0, 15 - w.exponent());
    std::string text = c.fixed(static_cast<int>(std::ceil(bitsBelowPoint * 0.30103)) + 6);
    while (text.size() > 2 && text.back() == '0' && text[text.size() - 2] != '.')
        text.pop_back();
    return text;
}

} // namespace velq
