// Allocation of the picture's buffers.
#include "gui/picture.h"

#include <new>

namespace velq {

bool Picture::allocate(int width, int height, int ratio) {
    try {
        std::vector<std::int16_t> counts(static_cast<std::size_t>(width) *
                                         static_cast<std::size_t>(height));
        QImage pixels(width, height, QImage::Format_RGBA8888);
        if (pixels.isNull()) return false;
        pixels.fill(0);
        pixels.setDevicePixelRatio(ratio);
        mandel_ = std::move(counts);
        imageRep_ = std::move(pixels);
        winx_ = width;
        winy_ = height;
        ratio_ = ratio;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::span<Rgba> Picture::pixelArr() {
    return {reinterpret_cast<Rgba*>(imageRep_.bits()), mandel_.size()};
}

std::span<const Rgba> Picture::pixelArr() const {
    return {reinterpret_cast<const Rgba*>(imageRep_.constBits()), mandel_.size()};
}

} // namespace velq
