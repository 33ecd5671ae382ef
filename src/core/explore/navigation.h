// Moving the view by hand: zooming about the pointer, panning, and the preview of the picture
// on screen moved or scaled to the new view at once, before any render.
#pragma once

#include "core/colour/colormap.h"
#include "core/view/mandat.h"

#include <span>

namespace velq {

// How far the hand may take the width.
struct WidthBounds {
    double min = 1e-15; // below this double precision turns blocky
    double max = 1e10;  // beyond this no picture would come back
};

// Each wheel notch zooms by 2^(1/4); with Shift by 2^(1/16).
inline constexpr double kNotchExponent = 0.25;
inline constexpr double kFineNotchExponent = 1.0 / 16;

// `v` zoomed by 2^(-notches * exponent) about picture pixel (px, py) from the top left of a
// winx x winy picture, so that the point under the pointer stays under it: with
// s = 2w / min(winx, winy) and s' for the new width,
//   x' = x + (px - winx/2)(s - s'),  y' = y - (py - winy/2)(s - s').
// The new width stays within `bounds` (a NaN passes).
MANDAT zoomAbout(const MANDAT& v, double px, double py, int winx, int winy, double notches,
                 double exponent = kNotchExponent, WidthBounds bounds = {});

// `v` with its picture moved by (dx, dy) pixels, right and down: the plane moves with the hand.
MANDAT panBy(const MANDAT& v, double dx, double dy, int winx, int winy);

// Where the pixels of a picture of `shown` land in a picture of `target` of the same size:
// column i goes to scale * i + dx, row j to scale * j + dy.
struct PreviewTransform {
    double scale = 1, dx = 0, dy = 0;
};
PreviewTransform previewOf(const MANDAT& shown, const MANDAT& target, int winx, int winy);

// The preview: each pixel of `to` takes the pixel of `from` that lands nearest to it, or opaque
// black where none does. Both hold winx x winy pixels.
void resamplePreview(std::span<const Rgba> from, std::span<Rgba> to, int winx, int winy,
                     const PreviewTransform& t);

} // namespace velq
