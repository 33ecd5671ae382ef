// Planning the off-screen render of an export and reducing it to the written picture.
#include "core/files/export.h"

#include "core/sizing/sizing.h"

#include <cstdint>

namespace velq {

std::optional<ExportPlan> planExport(int kind, int typedW, int typedH, bool antialias,
                                     std::string* why) {
    ExportPlan plan;
    if (kind == ExportKind::Thumbnail) {
        plan = {160, 120, 2, 320, 240};
        return plan;
    }
    const auto refuse = [why](const char* reason) -> std::optional<ExportPlan> {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (typedW <= 0 || typedH <= 0)
        return refuse("The width and the height must be positive whole numbers.");
    if (typedW > kMaxExportSide || typedH > kMaxExportSide)
        return refuse("The width and the height may be at most 32768 pixels.");
    plan.outW = typedW;
    plan.outH = typedH;
    plan.k = antialias ? 2 : 1;
    plan.renderW = roundUp16(typedW) * plan.k;
    plan.renderH = roundUp16(typedH) * plan.k;
    if (static_cast<long long>(plan.renderW) * plan.renderH > kMaxExportPixels)
        return refuse("The picture is too large: its render may have at most 268435456 pixels.");
    return plan;
}

std::vector<Rgba> cutAndReduce(std::span<const Rgba> render, const ExportPlan& plan) {
    const int k = plan.k;
    const int left = (plan.renderW - plan.outW * k) / 2;
    // The cut's offset counts from the bottom edge; rows here count from the top.
    const int bottom = (plan.renderH - plan.outH * k) / 2;
    const int top = plan.renderH - plan.outH * k - bottom;
    std::vector<Rgba> out(static_cast<std::size_t>(plan.outW) * plan.outH);
    for (int y = 0; y < plan.outH; ++y) {
        for (int x = 0; x < plan.outW; ++x) {
            unsigned sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < k; ++dy) {
                const std::size_t row = static_cast<std::size_t>(top + y * k + dy) * plan.renderW;
                for (int dx = 0; dx < k; ++dx) {
                    const auto c =
                        channels(render[row + static_cast<std::size_t>(left + x * k + dx)]);
                    for (int i = 0; i < 4; ++i)
                        sum[i] += c[static_cast<std::size_t>(i)];
                }
            }
            const unsigned n = static_cast<unsigned>(k * k);
            out[static_cast<std::size_t>(y) * plan.outW + static_cast<std::size_t>(x)] =
                rgba(static_cast<std::uint8_t>((sum[0] + n / 2) / n),
                     static_cast<std::uint8_t>((sum[1] + n / 2) / n),
                     static_cast<std::uint8_t>((sum[2] + n / 2) / n),
                     static_cast<std::uint8_t>((sum[3] + n / 2) / n));
        }
    }
    return out;
}

} // namespace velq
