// Exports of a fresh render: the thumbnail and a typed size, optionally antialiased.
#pragma once

#include "core/colour/colormap.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velq {

// Export kinds of a PNG file.
namespace ExportKind {
inline constexpr int Screen = 2;    // the picture as shown
inline constexpr int Thumbnail = 3; // 160 x 120, rendered at 320 x 240
inline constexpr int Typed = 4;     // a typed size, antialiased on request
} // namespace ExportKind

// The render behind an export: sides rounded up to multiples of 16 and multiplied by k.
struct ExportPlan {
    int outW = 0, outH = 0; // the picture written
    int k = 1;              // the reduction: 2 renders each output pixel from 2 x 2
    int renderW = 0, renderH = 0;
};

// The largest export: its render's buffers (6 bytes a pixel) must fit a desktop's memory.
inline constexpr int kMaxExportSide = 32768;
inline constexpr long long kMaxExportPixels = 1LL << 28;

// The plan for a thumbnail (kind 3) or a typed size (any other kind). For a size that is zero,
// negative, or too large to render, nothing, with the reason in `why`.
std::optional<ExportPlan> planExport(int kind, int typedW, int typedH, bool antialias,
                                     std::string* why = nullptr);

// The centred cut of the render (the extra pixels of the rounding split between the sides,
// the odd one at the top) reduced by k: each output pixel the mean of its k x k area.
std::vector<Rgba> cutAndReduce(std::span<const Rgba> render, const ExportPlan& plan);

} // namespace velq
