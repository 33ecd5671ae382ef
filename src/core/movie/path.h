// The way from one key view to the next: a zoom about the one point that stays put, at a
// constant speed in the logarithm of the width, computed with MPFR so that deep keys keep
// every bit their depth needs.
#pragma once

#include "core/deep/extfloat.h"
#include "core/deep/real.h"

namespace velq {

// The place of a view: its centre and width. The width is a Real too, so that the ratio of two
// widths and its powers carry on at the same precision whatever their exponents.
struct Place {
    Real x, y, w;
};

// From `from` to `to` in `frames` frames (at least 2): frame k has
//   w_k = w0 * r^(k / (frames - 1)),   r = w1 / w0,
//   c_k = p + (c0 - p) * w_k / w0,     p = (c1 - r * c0) / (1 - r),
// a pure zoom about p, so that a point in both pictures holds still on the screen. With
// r = 1 the frames pan from c0 to c1 in equal steps, the limit of the zoom as r goes to 1.
// The first and last frames are the keys themselves, bit for bit.
class ZoomSegment {
public:
    ZoomSegment(const Place& from, const Place& to, int frames);

    int frames() const { return frames_; }
    // Frame k, 0 <= k < frames(), at the segment's precision.
    Place frame(int k) const;
    // |log2 r|: how far the segment zooms.
    double zoomBits() const { return zoomBits_; }
    // The bits the segment computes with: enough for the deeper key's pixels, for a p far
    // away when r is close to 1, and 64 more.
    long bits() const { return bits_; }

private:
    Place from_, to_;
    int frames_;
    long bits_;
    double zoomBits_;
    Real r_, px_, py_; // p only when r is not 1
    bool pan_;
};

} // namespace velq
