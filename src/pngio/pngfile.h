// PNG files that carry their view: the picture encoded by libpng, with the parameter chunk
// right after IHDR. The interface is Qt-free, so the command-line renderer links it as it is.
#pragma once

#include "core/colour/colormap.h"
#include "core/view/mandat.h"

#include <cstdint>
#include <span>
#include <vector>

namespace velq {

// How hard the encoder compresses: deflate's default level (small files), or its fastest,
// three times as fast for about a sixth more bytes (a movie's many frames).
enum class PngEffort { Small, Fast };

// `pixels`: width x height RGBA pixels, rows from the top. `aspect`: the width over the height
// of the picture that was rendered. Empty when the picture cannot be encoded.
std::vector<std::uint8_t> encodePngWithChunk(std::span<const Rgba> pixels, int width, int height,
                                             const MANDAT& view, double aspect,
                                             PngEffort effort = PngEffort::Small);

} // namespace velq
