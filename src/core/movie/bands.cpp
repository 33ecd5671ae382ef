// Band geometry of posters and the stamp of the joined picture.
#include "core/movie/bands.h"

#include "core/files/pngchunk.h"
#include "core/sizing/sizing.h"

#include <algorithm>

namespace velq {
namespace {

std::uint32_t bigEndian(const std::vector<std::uint8_t>& data, std::size_t p) {
    return std::uint32_t{data[p]} << 24 | std::uint32_t{data[p + 1]} << 16 |
           std::uint32_t{data[p + 2]} << 8 | std::uint32_t{data[p + 3]};
}

} // namespace

std::optional<ExportPlan> planPoster(int w, int h, bool antialias, std::string* why) {
    if (w <= 0 || h <= 0 || w > kMaxPosterSide || h > kMaxPosterSide) {
        if (why)
            *why = "The width and the height must be whole numbers from 1 to " +
                   std::to_string(kMaxPosterSide) + ".";
        return std::nullopt;
    }
    ExportPlan plan;
    plan.outW = w;
    plan.outH = h;
    plan.k = antialias ? 2 : 1;
    plan.renderW = roundUp16(w) * plan.k;
    plan.renderH = roundUp16(h) * plan.k;
    return plan;
}

Band bandOf(const ExportPlan& poster, int k, int n) {
    const auto rowAt = [&](int band) {
        return static_cast<int>(static_cast<std::int64_t>(band) * poster.outH / n);
    };
    Band b;
    b.firstRow = rowAt(k - 1);
    b.rows = rowAt(k) - b.firstRow;
    b.cut = {poster.outW, b.rows, poster.k, poster.renderW, b.rows * poster.k};
    // As cutAndReduce places the picture in the whole render: the spare rows split, the odd
    // one at the top.
    const int spare = poster.renderH - poster.outH * poster.k;
    const int top = spare - spare / 2;
    b.firstRenderRow = top + b.firstRow * poster.k;
    return b;
}

KernelFrame bandFrame(const KernelFrame& whole, const Band& band) {
    KernelFrame f = whole;
    f.winy = band.cut.renderH;
    f.hy = whole.hy - band.firstRenderRow;
    return f;
}

bool stampPng(std::vector<std::uint8_t>& png, const MANDAT& v) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    static constexpr std::uint8_t kIhdr[] = {'I', 'H', 'D', 'R'};
    if (png.size() < kIhdrEnd ||
        !std::equal(std::begin(kSignature), std::end(kSignature), png.begin()) ||
        !std::equal(std::begin(kIhdr), std::end(kIhdr), png.begin() + 12))
        return false;
    // The old chunk: its text starts after the length, "tEXt", the keyword and a zero byte.
    if (const std::optional<std::size_t> text = findParameterText(png)) {
        const std::size_t start = *text - 8 - kChunkKeyword.size() - 1;
        const std::size_t end =
            std::min<std::size_t>(png.size(), start + 12 + bigEndian(png, start));
        png.erase(png.begin() + static_cast<std::ptrdiff_t>(start),
                  png.begin() + static_cast<std::ptrdiff_t>(end));
    }
    const double aspect = static_cast<double>(bigEndian(png, 16)) / bigEndian(png, 20);
    // insertParameterChunk builds a new file; only the chunk of its result is wanted here, so
    // that a large picture is not held twice.
    const std::vector<std::uint8_t> head =
        insertParameterChunk(std::span<const std::uint8_t>(png.data(), kIhdrEnd), v, aspect);
    png.insert(png.begin() + kIhdrEnd, head.begin() + kIhdrEnd, head.end());
    return true;
}

} // namespace velq
