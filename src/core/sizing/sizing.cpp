// Size arithmetic of the window that follows its picture.
#include "core/sizing/sizing.h"

#include <algorithm>

namespace velq {

int pictureSide(int viewSide) {
    return std::max(kSizeStep, viewSide & ~(kSizeStep - 1));
}

int roundUp16(int n) {
    return (n + kSizeStep - 1) & ~(kSizeStep - 1);
}

PictureSize zoomPicture(const FrameRect& proposed, Margins m) {
    return {pictureSide(static_cast<int>(proposed.w) - m.width),
            pictureSide(static_cast<int>(proposed.h) - m.height)};
}

FrameRect windowFrameFor(double x, double y, int pictureW, int pictureH, Margins m) {
    return {x, y, static_cast<double>(pictureW + m.width),
            static_cast<double>(pictureH + m.height)};
}

int maxWindowHeight(double visibleHeight, Margins m) {
    // A screen too low for any picture still allows one of 16 rows.
    return pictureSide(static_cast<int>(visibleHeight - m.height)) + m.height;
}

} // namespace velq
