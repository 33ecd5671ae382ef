// The renderer's arguments: what each flag sets, and that every refusal names its argument.
#include "cli/options.h"
#include "core/render/fastkernel.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <limits>
#include <vector>

namespace velq {
namespace {

ParsedArguments parse(std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> list(args);
    return parseArguments(list);
}

RenderOptions accepted(std::initializer_list<std::string_view> args) {
    const ParsedArguments parsed = parse(args);
    EXPECT_TRUE(parsed.options) << parsed.error;
    return parsed.options.value_or(RenderOptions{});
}

TEST(Options, ViewWithSize) {
    const RenderOptions o =
        accepted({"--view", "-0.75", "1e-3", "1.5", "1000", "0x1F", "-4", "--size", "640x480"});
    EXPECT_EQ(o.source, ViewSource::View);
    // Kept as typed: the limit and the rotation are brought in when the view is rendered.
    EXPECT_EQ(o.view, mkMandat(-0.75, 0.001, 1.5, 1000, 0x1f, -4));
    EXPECT_EQ(o.width, 640);
    EXPECT_EQ(o.height, 480);
    EXPECT_EQ(o.kernel, kernelNamed("fast"));
    EXPECT_FALSE(o.exportPlan);
    EXPECT_EQ(o.bench, 0);
    EXPECT_TRUE(o.out.empty());
    EXPECT_TRUE(o.counts.empty());
}

TEST(Options, ViewSourcesAndFiles) {
    const RenderOptions gallery = accepted({"--gallery", "150", "--size", "16x16"});
    EXPECT_EQ(gallery.source, ViewSource::Gallery);
    EXPECT_EQ(gallery.galleryTag, 150);
    const RenderOptions mdl = accepted({"--mdl", "a b.mdl", "--size", "32x16", "--out", "o.png",
                                        "--counts", "c.bin", "--kernel", "reference"});
    EXPECT_EQ(mdl.source, ViewSource::Mdl);
    EXPECT_EQ(mdl.file, "a b.mdl");
    EXPECT_EQ(mdl.out, "o.png");
    EXPECT_EQ(mdl.counts, "c.bin");
    EXPECT_EQ(mdl.kernel, referenceRows);
    const RenderOptions png = accepted({"--size", "16x32", "--png", "x.PNG"});
    EXPECT_EQ(png.source, ViewSource::Png);
    EXPECT_EQ(png.file, "x.PNG");
    EXPECT_EQ(png.width, 16);
    EXPECT_EQ(png.height, 32);
}

TEST(Options, OffScreenPicturesNeedNoSize) {
    const RenderOptions thumb = accepted({"--gallery", "111", "--thumbnail", "--out", "t.png"});
    ASSERT_TRUE(thumb.exportPlan);
    EXPECT_EQ(thumb.exportPlan->outW, 160);
    EXPECT_EQ(thumb.exportPlan->renderW, 320);
    EXPECT_EQ(thumb.exportPlan->renderH, 240);

    struct Case {
        std::string_view size;
        bool antialias;
        int renderW, renderH, k;
    };
    const Case cases[] = {
        {"1000x750", false, 1008, 752, 1},
        {"1000x750", true, 2016, 1504, 2},
        {"640x480", false, 640, 480, 1},
        {"1x1", false, 16, 16, 1},
    };
    for (const Case& c : cases) {
        const RenderOptions o =
            c.antialias ? accepted({"--view", "0", "0", "2", "256", "0", "0", "--export", c.size,
                                    "--antialias", "--out", "e.png"})
                        : accepted({"--export", c.size, "--view", "0", "0", "2", "256", "0", "0",
                                    "--out", "e.png", "--size", "16x16"});
        ASSERT_TRUE(o.exportPlan) << c.size;
        EXPECT_EQ(o.exportPlan->renderW, c.renderW) << c.size;
        EXPECT_EQ(o.exportPlan->renderH, c.renderH) << c.size;
        EXPECT_EQ(o.exportPlan->k, c.k) << c.size;
    }
}

TEST(Options, Benchmark) {
    const RenderOptions all = accepted({"--bench", "4"});
    EXPECT_EQ(all.bench, 4);
    EXPECT_EQ(all.frames, 0);
    EXPECT_EQ(all.source, ViewSource::None);
    const RenderOptions some = accepted({"--kernel", "reference", "--bench", "1", "--frames", "7"});
    EXPECT_EQ(some.bench, 1);
    EXPECT_EQ(some.frames, 7);
    EXPECT_EQ(some.kernel, referenceRows);
}

TEST(Options, RefusalsNameTheirArgument) {
    struct Case {
        std::vector<std::string_view> args;
        std::string_view named; // the error starts with this
    };
    const std::vector<std::string_view> view = {"--view", "0", "0", "2", "256", "0", "0"};
    const auto withView = [&view](std::initializer_list<std::string_view> more) {
        std::vector<std::string_view> args = view;
        args.insert(args.end(), more);
        return args;
    };
    const Case cases[] = {
        {{"--frobnicate"}, "'--frobnicate': unknown"},
        {{"view"}, "'view': unknown"},
        {{"--view", "0", "0", "2"}, "--view: expects X Y W IT CS CP"},
        {{"--view", "0", "0", "2", "256", "0", "--size", "16x16"}, "--view: expects"},
        {{"--view", "zero", "0", "2", "256", "0", "0"}, "--view: X 'zero'"},
        {{"--view", "0", "0", "2x", "256", "0", "0"}, "--view: W '2x'"},
        {{"--view", "0", "0", "2", "256.0", "0", "0"}, "--view: IT '256.0'"},
        {{"--view", "0", "0", "2", "99999999999", "0", "0"}, "--view: IT"},
        {{"--view", "0", "0", "2", "256", "0xg", "0"}, "--view: CS '0xg'"},
        {{"--view", "0", "0", "2", "256", "-1", "0"}, "--view: CS '-1'"},
        {{"--view", "0", "0", "2", "256", "0", "1.5"}, "--view: CP '1.5'"},
        {withView({"--size"}), "--size: expects WxH"},
        {withView({"--size", "320"}), "--size: '320'"},
        {withView({"--size", "320x241"}), "--size: '320x241'"},
        {withView({"--size", "0x240"}), "--size: '0x240'"},
        {withView({"--size", "-320x240"}), "--size: '-320x240'"},
        {withView({"--size", "32784x16"}), "--size: '32784x16'"},
        {withView({"--size", "16x16", "--size", "32x32"}), "--size: given twice"},
        {withView({}), "--size: missing"},
        {withView({"--out"}), "--out: expects FILE"},
        {withView({"--out", ""}), "--out: expects FILE"},
        {withView({"--out", "--counts", "c"}), "--out: expects FILE"},
        {withView({"--counts"}), "--counts: expects FILE"},
        {withView({"--kernel", "slow", "--size", "16x16"}), "--kernel: 'slow'"},
        {withView({"--kernel"}), "--kernel: expects"},
        {{"--size", "16x16"}, "--view, --gallery, --mdl or --png: missing"},
        {{"--gallery", "100", "--size", "16x16"}, "--gallery: '100'"},
        {{"--gallery", "151", "--size", "16x16"}, "--gallery: '151'"},
        {{"--gallery", "x", "--size", "16x16"}, "--gallery: 'x'"},
        {withView({"--gallery", "101"}), "--gallery: only one of"},
        {{"--mdl", "a.mdl", "--png", "b.png", "--size", "16x16"}, "--png: only one of"},
        {{"--mdl"}, "--mdl: expects FILE"},
        {withView({"--thumbnail"}), "--thumbnail: needs --out"},
        {withView({"--export", "640x480"}), "--export: needs --out"},
        {withView({"--export", "640", "--out", "e.png"}), "--export: '640'"},
        {withView({"--export", "0x480", "--out", "e.png"}), "--export: The width"},
        {withView({"--export", "-640x480", "--out", "e.png"}), "--export: The width"},
        {withView({"--export", "32769x16", "--out", "e.png"}), "--export: The width"},
        {withView({"--thumbnail", "--export", "640x480", "--out", "e.png"}), "--export: not with"},
        {withView({"--antialias", "--size", "16x16"}), "--antialias: only with --export"},
        {withView({"--thumbnail", "--antialias", "--out", "e.png"}), "--antialias: only with"},
        {{"--bench", "0"}, "--bench: '0'"},
        {{"--bench", "5"}, "--bench: '5'"},
        {{"--bench"}, "--bench: expects N"},
        {{"--bench", "1", "--size", "320x240"}, "--size: not with --bench"},
        {{"--bench", "1", "--out", "b.png"}, "--out: not with --bench"},
        {{"--gallery", "101", "--bench", "1"}, "--gallery: not with --bench"},
        {{"--bench", "1", "--frames", "0"}, "--frames: '0'"},
        {{"--bench", "1", "--frames", "many"}, "--frames: 'many'"},
        {withView({"--size", "16x16", "--frames", "3"}), "--frames: only with --bench"},
    };
    for (const Case& c : cases) {
        const ParsedArguments parsed = parseArguments(c.args);
        std::string line;
        for (std::string_view a : c.args)
            line.append(a).push_back(' ');
        EXPECT_FALSE(parsed.options) << line;
        EXPECT_TRUE(parsed.error.starts_with(c.named)) << line << "-> " << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << line;
    }
}

TEST(Options, NumberReaders) {
    EXPECT_EQ(parseDouble("-1.5e-3"), -0.0015);
    EXPECT_EQ(parseDouble("0x1p-2"), 0.25);
    EXPECT_FALSE(parseDouble(""));
    EXPECT_FALSE(parseDouble("1.5 "));
    EXPECT_EQ(parseInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_FALSE(parseInt("2147483648"));
    EXPECT_FALSE(parseInt("12a"));
    EXPECT_EQ(parseColourWord("0x782"), 0x782);
    EXPECT_EQ(parseColourWord("1922"), 0x782);
    EXPECT_EQ(parseColourWord("0xffffffff"), -1);
    EXPECT_FALSE(parseColourWord("0x100000000"));
    EXPECT_FALSE(parseColourWord("0x"));
    EXPECT_FALSE(parseColourWord("+5"));
}

} // namespace
} // namespace velq
