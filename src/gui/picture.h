// The picture's buffers: the counts and the pixels that show them, always of one size.
#pragma once

#include "core/colour/colormap.h"

#include <QImage>
#include <cstdint>
#include <span>
#include <vector>

namespace velq {

class Picture {
public:
    // Zero-filled buffers of width x height device pixels, shown at `ratio` device pixels a
    // point, allocated before anything is replaced: false, with the old buffers kept, when
    // they cannot be had.
    bool allocate(int width, int height, int ratio = 1);

    // The size in device pixels: the size the picture is rendered at.
    int winx() const { return winx_; }
    int winy() const { return winy_; }
    // Device pixels a point, and the size in points that the picture takes on the screen.
    int ratio() const { return ratio_; }
    QSize points() const { return {(winx_ + ratio_ - 1) / ratio_, (winy_ + ratio_ - 1) / ratio_}; }
    double aspect() const { return static_cast<double>(winx_) / winy_; }
    // winx * winy counts, row-major from the top.
    std::span<std::int16_t> mandel() { return mandel_; }
    std::span<const std::int16_t> mandel() const { return mandel_; }
    // The counts' storage itself, for swapping in a finished render of the same size.
    std::vector<std::int16_t>& mandelStorage() { return mandel_; }
    std::span<Rgba> pixelArr();
    std::span<const Rgba> pixelArr() const;
    // winx x winy RGBA8888, 4 * winx bytes per row, sharing the pixels.
    const QImage& imageRep() const { return imageRep_; }

private:
    int winx_ = 0;
    int winy_ = 0;
    int ratio_ = 1;
    std::vector<std::int16_t> mandel_;
    QImage imageRep_;
};

} // namespace velq
