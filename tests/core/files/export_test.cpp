// Exports: the render behind a size and its centred, reduced cut; which files open how.
#include "core/files/export.h"
#include "core/files/openpath.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

// Sides rounded up to multiples of 16 and multiplied by the reduction, within 32768 a side and
// 2^28 render pixels; the thumbnail is 160 x 120 rendered at 320 x 240.
TEST(PlanExport, RenderSizesAndRefusals) {
    const int cases[][9] = {
        // kind, typed size, antialias, then the plan: reduction, render size; 0: refused
        {ExportKind::Thumbnail, 0, 0, 0, 160, 120, 2, 320, 240},
        {ExportKind::Typed, 1000, 750, 0, 1000, 750, 1, 1008, 752},
        {ExportKind::Screen, 1000, 750, 1, 1000, 750, 2, 2016, 1504},
        {ExportKind::Typed, 1, 1, 0, 1, 1, 1, 16, 16},
        {ExportKind::Typed, 16384, 16384, 0, 16384, 16384, 1, 16384, 16384},
        {ExportKind::Typed, 8192, 8177, 1, 8192, 8177, 2, 16384, 16384},
        {ExportKind::Typed, 32768, 1, 0, 32768, 1, 1, 32768, 16},
        {ExportKind::Typed, 16385, 16384, 0, 0, 0, 0, 0, 0},
        {ExportKind::Typed, 8192, 8193, 1, 0, 0, 0, 0},
        {ExportKind::Typed, 32769, 16, 0, 0, 0, 0, 0, 0},
        {ExportKind::Typed, 16, 32769, 0, 0, 0, 0, 0, 0},
        {ExportKind::Typed, 0, 5, 0, 0, 0, 0, 0, 0},
        {ExportKind::Typed, 5, -1, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& [kind, w, h, antialias, outW, outH, k, renderW, renderH] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << (antialias ? " antialiased" : ""));
        std::string why;
        const std::optional<ExportPlan> plan = planExport(kind, w, h, antialias == 1, &why);
        ASSERT_EQ(plan.has_value(), outW != 0) << why;
        if (!plan) {
            const bool size = w <= 0 || h <= 0 || w > 32768 || h > 32768;
            EXPECT_TRUE(why.starts_with(size ? "The width and the height " : "The picture is too"))
                << why;
            continue;
        }
        EXPECT_EQ(std::tuple(plan->outW, plan->outH, plan->k, plan->renderW, plan->renderH),
                  std::tuple(outW, outH, k, renderW, renderH));
    }
}

// Render pixel (i, j) is (10 i, 10 j, i + j) with alpha 254 in odd columns. Of 13 spare
// columns 6 lie left of the cut; of 13 spare rows 7 above it, 6 below. Reduced, each output
// pixel is the mean of its area, rounded half up (alpha 254.5 becomes 255).
TEST(CutAndReduce, CentredCutWithTheOddPixelAtTheTopAndTheMeanOfEachArea) {
    std::vector<Rgba> render;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i)
            render.push_back(rgba(static_cast<std::uint8_t>(10 * i),
                                  static_cast<std::uint8_t>(10 * j),
                                  static_cast<std::uint8_t>(i + j), i % 2 ? 254 : 255));
    std::vector<Rgba> out = cutAndReduce(render, {3, 3, 1, 16, 16});
    ASSERT_EQ(out.size(), 9u);
    EXPECT_EQ(std::pair(out[0], out[8]), std::pair(rgba(60, 70, 13), rgba(80, 90, 17)));
    render.resize(16 * 15); // 2 x 2 areas from 6 x 6 of 16 x 15: 5 columns left, 5 rows above
    out = cutAndReduce(render, {3, 3, 2, 16, 15});
    ASSERT_EQ(out.size(), 9u);
    EXPECT_EQ(std::pair(out[0], out[5]), std::pair(rgba(55, 55, 11), rgba(95, 75, 17)));
}

TEST(OpenPath, KindsByExtensionAndWhereTheLinesStart) {
    const std::pair<const char*, int> cases[] = {
        {"a.png", 3}, {"/x/A.PnG", 3}, {".png", 3},      {"v.mdl", 1},   {"v.MDL", 1},
        {"a.txt", 0}, {"png", 0},      {"a.png.bak", 0}, {"d.png/v", 0}, {"a.pn", 0}};
    for (const auto& [path, kind] : cases) { // bit 1: a PNG file, bit 0: accepted when dropped
        EXPECT_EQ(fileKindOf(path), kind & 2 ? FileKind::Png : FileKind::Parameters) << path;
        EXPECT_EQ(hasAcceptedExtension(path), (kind & 1) == 1) << path;
    }
    const std::string png = std::string(11, '\0') + "\x14tEXtVelquorantisphaeron" + '\0';
    EXPECT_EQ(parameterTextStart(png, FileKind::Png), 36u);
    EXPECT_EQ(parameterTextStart(png, FileKind::Parameters), 0u);
    EXPECT_FALSE(parameterTextStart(std::string_view("0 0 1 1 256 0x0 0"), FileKind::Png));
}

} // namespace
} // namespace velq
