// Posters larger than memory: the rows of one export picture rendered a band at a time, each
// band's samples exactly those of the whole picture, and the parameter chunk stamped on the
// picture the bands are joined into.
#pragma once

#include "core/files/export.h"
#include "core/render/kernel.h"
#include "core/view/mandat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velq {

// The largest side of a banded poster: the kernel numbers rows and columns in int, and a
// band's row of pixels must fit a PNG row comfortably.
inline constexpr int kMaxPosterSide = 1 << 20;

// The plan of the export of w x h (planExport's for a typed size) without the bound on the
// whole render, which a poster in bands never holds at once; only the sides are bounded.
std::optional<ExportPlan> planPoster(int w, int h, bool antialias, std::string* why = nullptr);

struct Band {
    int firstRow = 0, rows = 0; // of the written picture
    // The band's render (the whole width, the band's rows times k) and its cut and reduction:
    // cutAndReduce(render, cut) gives the band's rows of the written picture.
    ExportPlan cut;
    int firstRenderRow = 0; // in the render of the whole picture
};

// Band k of n (1 <= k <= n <= the picture's height): rows floor((k-1) h / n) to
// floor(k h / n) - 1 of the written picture, and the render rows behind them, counted from
// the whole render's top as the export's cut places the picture (the odd row at the top).
Band bandOf(const ExportPlan& poster, int k, int n);

// The frame of the whole render narrowed to the band's rows: the same centre, pixel step and
// columns, the row numbers shifted so that the band's row 0 is the whole render's row
// band.firstRenderRow. Every sample is the whole render's, bit for bit.
KernelFrame bandFrame(const KernelFrame& whole, const Band& band);

// Puts the parameter chunk of `v` right after IHDR of the PNG file in `png`, in place of any
// parameter chunk it has; the aspect is the picture's width over its height (from IHDR).
// False, with `png` unchanged, when it does not start with a PNG signature and IHDR.
bool stampPng(std::vector<std::uint8_t>& png, const MANDAT& v);

} // namespace velq
