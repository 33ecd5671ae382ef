// A view below double precision: the centre at as many bits as the depth needs, the width
// with a wide exponent, and the deep iteration limit.
#pragma once

#include "core/deep/extfloat.h"
#include "core/deep/real.h"

#include <cmath>
#include <cstdint>

namespace velq {

// The deep iteration limits: powers of two up to 2^24.
inline constexpr std::int32_t kMaxDeepIterations = 16777216;

struct DeepView {
    Real x, y;  // the centre
    ExtFloat w; // half the extent of the picture's shorter side
    std::int32_t it = 0;

    friend bool operator==(const DeepView& a, const DeepView& b) {
        return a.x == b.x && a.y == b.y && a.w == b.w && a.it == b.it;
    }
};

// Whether the six fields of a view, which hold its values rounded to doubles, can hold `v`:
// a deep view's centre and width must be within the doubles' range.
inline bool fitsDouble(const ExtFloat& v) {
    return std::isfinite(v.toDouble());
}
inline bool fitsDouble(const Real& v) {
    return std::isfinite(v.toDouble());
}

// The narrowest width a deep view goes to: about 1e-1000.
inline const ExtFloat kDeepMinWidth = ExtFloat::of(1.0, -3322);

// The plane's width of a pixel of a winx x winy picture of a view of width `w`: (w + w) over
// the shorter side.
ExtFloat pixelStep(const ExtFloat& w, int winx, int winy);

// The bits a centre needs at width `w`: those that place a pixel of a picture 65536 pixels
// wide, and 64 more.
long centreBits(const ExtFloat& w);

// The allowed deep limit for a request: the smallest power of two from 256 to 2^24 not below
// it; 2^24 for anything above.
std::int32_t allowedDeepLimit(std::int64_t requested);

} // namespace velq
