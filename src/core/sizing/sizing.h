// Picture and window size arithmetic: picture sizes in steps of 16, fixed window margins.
#pragma once

namespace velq {

// What the window adds around the picture (title bar, menu and control area).
struct Margins {
    int width = 8;
    int height = 94;
};

inline constexpr int kSizeStep = 16;
inline constexpr int kMaxPictureWidth = 65536;

// Rounds down to a multiple of 16 (the kernel writes rows in groups of four); never below 16.
int pictureSide(int viewSide);

// Rounds up to a multiple of 16: R(1) = 16, R(1000) = 1008.
int roundUp16(int n);

// Frame rectangle with the origin at the bottom left and y growing upward.
struct FrameRect {
    double x = 0, y = 0, w = 0, h = 0;
};

// The zoom box: the picture takes the largest multiples of 16 that fit, with the margins,
// into the frame the window system proposes.
struct PictureSize {
    int width = 0, height = 0;
};
PictureSize zoomPicture(const FrameRect& proposed, Margins m = {});

// The window frame around a picture placed with its window origin at (x, y).
FrameRect windowFrameFor(double x, double y, int pictureW, int pictureH, Margins m = {});

// The tallest window whose picture is a multiple of 16 fitting the visible screen height.
int maxWindowHeight(double visibleHeight, Margins m = {});

} // namespace velq
