// Encoding PNG files that carry their view.
#include "pngio/pngfile.h"

#include "core/files/pngchunk.h"

#include <csetjmp>
#include <new>
#include <png.h>

namespace velq {
namespace {

// libpng hands the encoded bytes to this sink; an allocation that fails becomes libpng's own
// error, so that no C++ exception crosses its C frames.
void append(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    bool grown = true;
    try {
        out->insert(out->end(), data, data + size);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown) png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

// libpng reports errors by a long jump back here, so nothing in this frame or below it has a
// destructor to skip.
bool writeRows(png_structp png, png_infop info, const Rgba* pixels, int width, int height,
               int level) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // Pictures of colour bands and flat areas: without row filters deflate finds their repeats
    // itself, and the files come out a third smaller and two to three times faster than with
    // libpng's choice of filter per row.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, level);
    png_write_info(png, info);
    for (int row = 0; row < height; ++row)
        png_write_row(png, reinterpret_cast<png_const_bytep>(
                               pixels + static_cast<std::ptrdiff_t>(row) * width));
    png_write_end(png, info);
    return true;
}

} // namespace

std::vector<std::uint8_t> encodePngWithChunk(std::span<const Rgba> pixels, int width, int height,
                                             const MANDAT& view, double aspect, PngEffort effort) {
    if (width <= 0 || height <= 0 ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {};
    std::vector<std::uint8_t> encoded;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr) {
        png_set_write_fn(png, &encoded, append, flushNothing);
        written =
            writeRows(png, info, pixels.data(), width, height, effort == PngEffort::Fast ? 1 : 6);
    }
    png_destroy_write_struct(&png, &info);
    if (!written) return {};
    return insertParameterChunk(encoded, view, aspect);
}

} // namespace velq
