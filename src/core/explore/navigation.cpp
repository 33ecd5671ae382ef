// View arithmetic of the hand's gestures, and the preview that follows them at once.
#include "core/explore/navigation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velq {
namespace {

double pixelStep(double w, int winx, int winy) {
    return (w + w) / std::min(winx, winy); // as the kernel computes it
}

} // namespace

MANDAT zoomAbout(const MANDAT& v, double px, double py, int winx, int winy, double notches,
                 double exponent, WidthBounds bounds) {
    double w = v.w * std::exp2(-notches * exponent);
    if (w < bounds.min) w = bounds.min;
    if (w > bounds.max) w = bounds.max;
    const double s = pixelStep(v.w, winx, winy);
    const double s2 = pixelStep(w, winx, winy);
    MANDAT z = v;
    z.x = v.x + (px - winx / 2.0) * (s - s2);
    z.y = v.y - (py - winy / 2.0) * (s - s2);
    z.w = w;
    return z;
}

MANDAT panBy(const MANDAT& v, double dx, double dy, int winx, int winy) {
    const double s = pixelStep(v.w, winx, winy);
    MANDAT p = v;
    p.x = v.x - dx * s;
    p.y = v.y + dy * s;
    return p;
}

PreviewTransform previewOf(const MANDAT& shown, const MANDAT& target, int winx, int winy) {
    const double s = pixelStep(shown.w, winx, winy);
    const double s2 = pixelStep(target.w, winx, winy);
    const double hx = winx / 2, hy = winy / 2;
    const double scale = s / s2;
    return {scale, hx - scale * hx + (shown.x - target.x) / s2,
            hy - scale * hy + (target.y - shown.y) / s2};
}

void resamplePreview(std::span<const Rgba> from, std::span<Rgba> to, int winx, int winy,
                     const PreviewTransform& t) {
    const Rgba black = rgba(0, 0, 0);
    // The source of a target pixel's centre, column by column once, then row by row.
    const auto source = [&t](int target, double offset, int size) {
        const double at = std::floor((target + 0.5 - offset) / t.scale);
        return at >= 0 && at < size ? static_cast<int>(at) : -1;
    };
    std::vector<int> columns(static_cast<std::size_t>(winx));
    for (int i = 0; i < winx; ++i)
        columns[static_cast<std::size_t>(i)] = source(i, t.dx, winx);
    for (int j = 0; j < winy; ++j) {
        const int row = source(j, t.dy, winy);
        Rgba* out = to.data() + static_cast<std::ptrdiff_t>(j) * winx;
        if (row < 0) {
            std::fill(out, out + winx, black);
            continue;
        }
        const Rgba* in = from.data() + static_cast<std::ptrdiff_t>(row) * winx;
        for (int i = 0; i < winx; ++i) {
            const int c = columns[static_cast<std::size_t>(i)];
            out[i] = c < 0 ? black : in[c];
        }
    }
}

} // namespace velq
