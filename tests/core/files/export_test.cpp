// Exports: the render behind a size and its centred, reduced cut; which files open how.
#include "core/files/export.h"
#include "core/files/openpath.h"

#include <gtest/gtest.h>

namespace velq {
namespace {

TEST(PlanExport, SidesRoundedUpTo16TimesTheReductionWithinLimits) {
    struct Case {
        int kind, w, h;
        bool antialias;
        int outW, outH, k, renderW, renderH; // outW 0: refused with a reason starting `why`
        const char* why;
    };
    const char* positive = "The width and the height must be positive";
    const char* side = "The width and the height may be at most 32768";
    const char* large = "The picture is too large";
    const Case cases[] = {
        {ExportKind::Thumbnail, 0, 0, false, 160, 120, 2, 320, 240, ""},
        {ExportKind::Typed, 1000, 750, false, 1000, 750, 1, 1008, 752, ""},
        {ExportKind::Screen, 1000, 750, true, 1000, 750, 2, 2016, 1504, ""},
        {ExportKind::Typed, 1, 1, false, 1, 1, 1, 16, 16, ""},
        {ExportKind::Typed, 16384, 16384, false, 16384, 16384, 1, 16384, 16384, ""}, // 2^28 pixels
        {ExportKind::Typed, 8192, 8177, true, 8192, 8177, 2, 16384, 16384, ""},
        {ExportKind::Typed, 32768, 1, false, 32768, 1, 1, 32768, 16, ""},
        {ExportKind::Typed, 16385, 16384, false, 0, 0, 0, 0, 0, large},
        {ExportKind::Typed, 8192, 8193, true, 0, 0, 0, 0, 0, large},
        {ExportKind::Typed, 32769, 16, false, 0, 0, 0, 0, 0, side},
        {ExportKind::Typed, 16, 32769, false, 0, 0, 0, 0, 0, side},
        {ExportKind::Typed, 0, 5, false, 0, 0, 0, 0, 0, positive},
        {ExportKind::Typed, 5, -1, false, 0, 0, 0, 0, 0, positive},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.w << "x" << c.h << (c.antialias ? " antialiased" : ""));
        std::string why;
        const std::optional<ExportPlan> plan = planExport(c.kind, c.w, c.h, c.antialias, &why);
        ASSERT_EQ(plan.has_value(), c.outW != 0) << why;
        if (plan)
            EXPECT_EQ(std::tuple(plan->outW, plan->outH, plan->k, plan->renderW, plan->renderH),
                      std::tuple(c.outW, c.outH, c.k, c.renderW, c.renderH));
        else
            EXPECT_TRUE(why.starts_with(c.why)) << why;
    }
}

// Render pixel (i, j) is (10 i, 10 j, i + j) with alpha 254 in odd columns.
TEST(CutAndReduce, CentredCutWithTheOddPixelAtTheTopAndTheMeanOfEachArea) {
    std::vector<Rgba> render;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i)
            render.push_back(rgba(static_cast<std::uint8_t>(10 * i),
                                  static_cast<std::uint8_t>(10 * j),
                                  static_cast<std::uint8_t>(i + j), i % 2 ? 254 : 255));
    // 13 spare columns: 6 left of the cut; 13 spare rows: 7 above it, 6 below.
    std::vector<Rgba> out = cutAndReduce(render, {3, 3, 1, 16, 16});
    ASSERT_EQ(out.size(), 9u);
    EXPECT_EQ(out[0], rgba(60, 70, 13, 255));
    EXPECT_EQ(out[8], rgba(80, 90, 17, 255));
    // 2 x 2 areas from a cut 6 x 6 of 16 x 15: 5 columns left, 5 rows above, 4 below; the
    // means round half up (alpha 254.5 becomes 255).
    render.resize(16 * 15);
    out = cutAndReduce(render, {3, 3, 2, 16, 15});
    ASSERT_EQ(out.size(), 9u);
    EXPECT_EQ(out[0], rgba(55, 55, 11, 255));
    EXPECT_EQ(out[5], rgba(95, 75, 17, 255));
}

TEST(OpenPath, KindsByExtensionAndWhereTheLinesStart) {
    struct Case {
        const char* path;
        FileKind kind;
        bool accepted;
    };
    const Case cases[] = {
        {"a.png", FileKind::Png, true},
        {"/x/A.PnG", FileKind::Png, true},
        {".png", FileKind::Png, true},
        {"v.mdl", FileKind::Parameters, true},
        {"v.MDL", FileKind::Parameters, true},
        {"a.txt", FileKind::Parameters, false},
        {"png", FileKind::Parameters, false},
        {"a.png.bak", FileKind::Parameters, false},
        {"d.png/v", FileKind::Parameters, false},
        {"a.pn", FileKind::Parameters, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileKindOf(c.path), c.kind) << c.path;
        EXPECT_EQ(hasAcceptedExtension(c.path), c.accepted) << c.path;
    }
    const std::string png = std::string(11, '\0') + "\x14tEXtVelquorantisphaeron" + '\0';
    EXPECT_EQ(parameterTextStart(png, FileKind::Png), 36u);
    EXPECT_EQ(parameterTextStart(png, FileKind::Parameters), 0u);
    EXPECT_FALSE(parameterTextStart(std::string_view("0 0 1 1 256 0x0 0"), FileKind::Png));
}

} // namespace
} // namespace velq
