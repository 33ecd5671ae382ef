// The deep renderer's oracle: the plain loop in MPFR at ample precision, pixel by pixel, and
// the fixture files that keep its counts of views too slow to brute-force in a test.
#pragma once

#include "core/deep/deepview.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velq {

// The raw count of c = cr + i ci: n + 1 for the first n < limit with |z_n|^2 > 4, else 0.
std::int32_t bruteForceCount(const Real& cr, const Real& ci, std::int32_t limit, long bits);

// The bits the oracle iterates with by default: 64 more than the centre needs.
long oracleBits(const ExtFloat& w);

// The raw counts of a winx x winy picture of `view`, row by row from the top, on `threads`
// threads. Pixel (i, j) samples (x + (i - winx/2) s) + i (y - (j - winy/2) s) exactly, with
// s = (w + w) / min(winx, winy) as a wide float and each offset rounded to one.
std::vector<std::int32_t> bruteForcePicture(const DeepView& view, int winx, int winy, long bits,
                                            int threads = 1);

// A picture's counts with the view that made them.
struct Fixture {
    std::string x, y, w; // as written: any number of digits
    std::int32_t limit = 0;
    int winx = 0, winy = 0;
    long bits = 0; // the oracle's precision
    std::vector<std::int32_t> counts;

    // The view, its centre at `bits` of precision; nothing for unreadable numbers.
    std::optional<DeepView> view() const;
};

std::string fixtureText(const Fixture& f);
// Nothing when the text is not a whole fixture.
std::optional<Fixture> parseFixture(const std::string& text);

} // namespace velq
