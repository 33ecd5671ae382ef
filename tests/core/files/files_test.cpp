// The files of views: parameter lines written exactly and read from any text, appends on a
// full disk, the PNG chunk at byte 33 and the scan for it, exports, and which files open how.
#include "core/deep/deepview.h"
#include "core/files/crc.h"
#include "core/files/export.h"
#include "core/files/homeaddress.h"
#include "core/files/openpath.h"
#include "core/files/paramline.h"
#include "core/files/pngchunk.h"

#include <cfloat>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>

namespace velq {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The exact text of an ordinary line is checked with the PNG chunk below.
TEST(ParameterLine, WrittenAsTheCFormatInTheCLocale) {
    const MANDAT views[] = {
        {1e300, -1e300, DBL_MAX, 32768, -1, 1000},
        {kInf, -kInf, -kNaN, INT32_MIN, 0, INT32_MAX},
        {123456789.987654321, DBL_TRUE_MIN, 4.9999999999999996e-21, 0, INT32_MIN, -1}};
    for (const MANDAT& v : views) {
        char c[1400]; // the longest line possible is 1365 bytes
        const int n =
            std::snprintf(c, sizeof c, "%10.20lf %10.20lf %10.20lf %10.20lf %d 0x%08x %d\r\n", v.x,
                          v.y, v.w, -v.x, v.it, static_cast<unsigned>(v.cs), v.cp);
        EXPECT_EQ(parameterLine(v, -v.x), std::string(c, static_cast<std::size_t>(n))) << c;
    }
}

std::vector<ParsedLine> readAll(std::string_view text, std::size_t start = 0) {
    const std::vector<char> data(text.begin(), text.end()); // exactly the text, no zero after it
    ParameterReader reader(data, start);
    std::vector<ParsedLine> lines;
    while (std::optional<ParsedLine> line = reader.next())
        lines.push_back(*line);
    return lines;
}

// Seventeen digits give the exact double, and written lines read back whole.
TEST(ParameterLine, WrittenLinesAndSeventeenDigitsReadBackExactly) {
    const MANDAT v{-1.9415572168626787, 1.0 / 3, 0.003303912992278735, 32768, -1, 1000};
    EXPECT_EQ(readAll(parameterLine(v, 1.5) + parameterLine(v, 1.5)),
              std::vector<ParsedLine>(2, {v.x, v.y, v.w, 1.5, v.it, v.cs, v.cp}));
    for (double d : {DBL_MAX, DBL_MIN, DBL_TRUE_MIN, -2.5e-310, 0.1, -1.9415584659357656}) {
        char text[128];
        std::snprintf(text, sizeof text, "%.17g %.17g %.17g 1 1024 0x782 0", d, -d, d);
        EXPECT_EQ(readAll(text), (std::vector<ParsedLine>{{d, -d, d, 1, 1024, 0x782, 0}})) << text;
    }
}

// A file-size limit stands in for a full disk: a write beyond it stores what fits and fails
// (SIGXFSZ ignored). A line that does not fit is taken off again.
TEST(ParameterLine, AppendsKeepWholeLinesEvenOnAFullDisk) {
    const std::string path = testing::TempDir() + "velq-views.mdl";
    std::filesystem::remove(path);
    const auto contents = [&path] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const MANDAT a{-0.75, 0.1, 0.25, 2048, 0x742, 300}, b{0.3, -0.2, 0.01, 512, 0x782, 7};
    // The reason a line could not be added; none when it was.
    ASSERT_FALSE(appendParameterLine(path, kStartView, 4.0 / 3.0));
    ASSERT_FALSE(appendParameterLine(path, a, 1.25));
    const std::string before = parameterLine(kStartView, 4.0 / 3.0) + parameterLine(a, 1.25);
    rlimit unlimited{}, full{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    for (std::size_t room : {0, 1, 40, 110}) { // the line takes 111 bytes
        full = unlimited;
        full.rlim_cur = before.size() + room;
        setrlimit(RLIMIT_FSIZE, &full);
        EXPECT_TRUE(appendParameterLine(path, b, 1.0) == std::errc::file_too_large) << room;
        setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(contents(), before) << "with room for " << room << " bytes";
    }
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(appendParameterLine(path, b, 1.0));
    EXPECT_EQ(contents(), before + parameterLine(b, 1.0));
    EXPECT_TRUE(appendParameterLine(testing::TempDir() + "missing/v.mdl", a, 1.0));
    EXPECT_TRUE(appendParameterLine(testing::TempDir(), a, 1.0)); // a folder
    std::filesystem::remove(path);
}

// The views that opening these bytes as a parameter file renders, as "x y w it cs cp;" each.
std::string viewsOf(std::string_view text) {
    std::string views;
    for (const ParsedLine& line : readAll(text)) {
        const MANDAT v = viewOf(line);
        char view[160];
        std::snprintf(view, sizeof view, "%g %g %g %d %x %d;", v.x, v.y, v.w, v.it,
                      static_cast<unsigned>(v.cs), v.cp);
        views += view;
    }
    return views;
}

// Fields in any spacing across line ends and in any strtod form; junk after a line ends only
// that line and a bad line ends the reading. Doubles beyond the range become infinite or zero
// with their sign, limits allowed ones, rotations 0..1000; eight hex digits make the word.
TEST(ParameterReader, AnyTextGivesTheViewsItStandsFor) {
    const std::string l = "-0.75 0.5 1.5 2 256 0x1f 3", v = "-0.75 0.5 1.5 256 1f 3;";
    const std::string ones(400, '1'), zeros(400, '0');
    const std::pair<std::string, std::string> cases[] = {
        {"  -0.75  \t0.5\t\t1.5   2 256\t0x1f   3\n", v},
        {"-0.75\n0.5\r\n1.5 2\r256 0x1f\n3", v},
        {"-0x1.8p-1 +5E-1 0X1.8P0 +2. +256 0x0000001F +3", v},
        {l + "\r\n\r\n\r\n\n\n \t \r\r" + l, v + v},
        {l + " (comment)\r\n" + l + "junk\n" + l, v + v + v},
        {l + " " + l + "\n" + l, v + v}, // reading resumes at the line's end
        {l + "\ngarbage\n" + l + "\n", v},
        {"-0.75 0.5 1.5 2 256 1f 3\n" + l, ""},
        {"-0.75 0.5 1.5 2 256 0 x1f 3\n", ""},
        {"-0.75 0.5 1.5 2 256 0x1f\n", ""},
        {"--0.75 0.5 1.5 2 256 0x1f 3", ""},
        {"-0.75 0.5 1.5 2 256 0x1f -", ""},
        {" \r\n\t\n", ""},
        {"nan -nan 1 1 1024 0x782 0", "nan -nan 1 1024 782 0;"},
        {"inf -Infinity NAN(12) 1 1024 0x782 0", "inf -inf nan 1024 782 0;"},
        {"1e400 -1e400 1e-400 1 1024 0x782 0", "inf -inf 0 1024 782 0;"},
        {"1e+400 0x1p2000 -0x1p-2000 1 1024 0x782 0", "inf inf -0 1024 782 0;"},
        {ones + " " + ones + "e-10 -1000e-1300 1 1024 0x782 0", "inf inf -0 1024 782 0;"},
        {"0.0001e400 0." + zeros + "1 1 1 1024 0x782 0", "inf 0 1 1024 782 0;"},
        {"-0 -0 -0 -0 0 0x782 -0", "-0 -0 -0 256 782 0;"},
        {"0 0 1 1 -5 0x782 -1", "0 0 1 256 782 0;"},
        {"0 0 1 1 1000 0x782 1001", "0 0 1 1024 782 1000;"},
        {"0 0 1 1 2147483648 0x782 99999999999", "0 0 1 32768 782 1000;"},
        {"0 0 1 1 -99999999999 0x782 -2147483649", "0 0 1 256 782 0;"},
        {"0 0 1 1 1024 0xffffffff 0", "0 0 1 1024 ffffffff 0;"},
        {"0 0 1 1 1024 0x0000001f5 3", "0 0 1 1024 1f 5;"}, // the ninth digit starts CP
        {"0 0 1 1 1024 0x0000001fa 3", ""},
        {"0 0 1 1 1024 0x 3", ""},
    };
    for (const auto& [text, views] : cases)
        EXPECT_EQ(viewsOf(text), views) << text;
    EXPECT_EQ(readAll("junk\n" + l, 5).size(), 1u);
    EXPECT_TRUE(readAll(l, l.size() + 10).empty());
    // Each prefix of a line with the bytes after it still in memory: a read past the end
    // would see them, turning a failed line into a good one, or 3 into 37.
    const std::string text = l + "7";
    for (std::size_t n = 0; n <= text.size(); ++n) {
        const auto line = ParameterReader(std::span<const char>(text.data(), n), 0).next();
        EXPECT_EQ(line.has_value(), n >= l.size()) << n;
        EXPECT_EQ(line.value_or(ParsedLine{}).cp, line ? (n == text.size() ? 37 : 3) : 0) << n;
    }
}

using Bytes = std::vector<std::uint8_t>;

std::span<const std::uint8_t> bytesOf(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Crc, CheckValues) {
    const std::pair<std::string_view, std::uint32_t> cases[] = {
        {"", 0}, {"abc", 0x352441C2u}, {"123456789", 0xCBF43926u}, {"IEND", 0xAE426082u}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(crc(bytesOf(text)), value) << text;
}

// Eight signature bytes, then chunks of the given types and data, each with its length and CRC.
Bytes png(std::initializer_list<std::pair<std::string_view, Bytes>> chunks) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto bigEndian = [&out](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(v >> shift));
    };
    for (const auto& [type, data] : chunks) {
        bigEndian(static_cast<std::uint32_t>(data.size()));
        out.insert(out.end(), type.begin(), type.end());
        out.insert(out.end(), data.begin(), data.end());
        bigEndian(crc(std::span(out).last(type.size() + data.size())));
    }
    return out;
}

// A valid 1 x 1 grey picture: its image data is a zlib stream with one stored block.
const Bytes kIhdr{0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0};
const Bytes kIdat{0x78, 1, 1, 2, 0, 0xFD, 0xFF, 0, 0, 0, 2, 0, 1};
const Bytes kPng = png({{"IHDR", kIhdr}, {"IDAT", kIdat}, {"IEND", {}}});
const MANDAT kView{-0.75, 0.1, 0.5, 1024, 0x782, 250};

TEST(ParameterChunk, RightAfterIhdrAndFoundWhereverItIsWithTypeAndKeyword) {
    const std::string text = parameterChunkText(kView, 4.0 / 3.0);
    EXPECT_EQ(text, std::string("tEXtVelquorantisphaeron") + '\0' +
                        "-0.75000000000000000000 0.10000000000000000555 0.50000000000000000000 "
                        "1.33333333333333325932 1024 0x00000782 250\r\n(" +
                        std::string(kHomeAddress) + ")");
    const Bytes good = png({{"IHDR", kIhdr},
                            {"tEXt", Bytes(text.begin() + 4, text.end())},
                            {"IDAT", kIdat},
                            {"IEND", {}}});
    EXPECT_EQ(insertParameterChunk(kPng, kView, 4.0 / 3.0), good);
    EXPECT_EQ(findParameterText(good), 61u);
    EXPECT_TRUE(insertParameterChunk(std::span(kPng).first(32), kView, 1.0).empty());
    EXPECT_FALSE(insertParameterChunk(std::span(kPng).first(33), kView, 1.0).empty());
    Bytes notIhdr = kPng;
    notIhdr[15] = 'X';
    EXPECT_TRUE(insertParameterChunk(notIhdr, kView, 1.0).empty());
    // Found wherever it is, and only with its type and keyword.
    const std::size_t chunkSize = good.size() - kPng.size();
    Bytes moved = kPng; // an editor moved the chunk before IEND
    moved.insert(moved.end() - 12, good.begin() + 33, good.begin() + 33 + chunkSize);
    EXPECT_EQ(findParameterText(moved), moved.size() - 12 - chunkSize + 28);
    Bytes loose = good; // neither the separator nor the signature is compared
    loose[60] = '!';
    loose[0] = 'G';
    EXPECT_EQ(findParameterText(loose), 61u);
    for (std::size_t i = 37; i < 60; ++i) {
        Bytes bad = good;
        bad[i] ^= 0x20; // a case change, or a letter turned into something else
        EXPECT_FALSE(findParameterText(bad)) << "byte " << i;
    }
    EXPECT_FALSE(findParameterText(kPng));
}

TEST(ParameterChunk, HostileDataEndsTheScanInsideTheData) {
    const Bytes good = insertParameterChunk(kPng, kView, 1.0);
    Bytes first(8, 0); // the parameter chunk first, cut short
    first.insert(first.end(), good.begin() + 33, good.end());
    EXPECT_EQ(findParameterText(std::span(first).first(36)), 36u); // an empty text, at the end
    for (std::size_t n : {0, 8, 9, 11, 20, 35})
        EXPECT_FALSE(findParameterText(std::span(first).first(n))) << n;
    const auto size = static_cast<std::uint32_t>(good.size());
    for (std::uint32_t n : {0xFFFFFFFFu, 0xFFFFFFF4u, size, size - 20}) {
        Bytes b = good; // the first chunk's length runs to the end or past it, or wraps
        for (int k = 0; k < 4; ++k)
            b[8 + k] = static_cast<std::uint8_t>(n >> (24 - 8 * k));
        EXPECT_FALSE(findParameterText(b)) << n;
    }
    EXPECT_FALSE(findParameterText(Bytes(64, 0))); // zero lengths up to the end
    Bytes big(20 + (1 << 24), 0);                  // after a chunk of 16 MiB
    big[8] = 1;
    big.insert(big.end(), good.begin() + 33, good.end());
    EXPECT_EQ(findParameterText(big), (1u << 24) + 48);
}

// Sides rounded up to multiples of 16 and multiplied by the reduction, within 32768 a side and
// 2^28 render pixels; the thumbnail is 160 x 120 rendered at 320 x 240.
TEST(PlanExport, RenderSizesAndRefusals) {
    const int cases[][9] = {
        // kind, typed size, antialias; the plan: reduction, render size
        {ExportKind::Thumbnail, 0, 0, 0, 160, 120, 2, 320, 240},
        {ExportKind::Typed, 1000, 750, 0, 1000, 750, 1, 1008, 752},
        {ExportKind::Screen, 1000, 750, 1, 1000, 750, 2, 2016, 1504},
        {ExportKind::Typed, 1, 1, 0, 1, 1, 1, 16, 16},
        {ExportKind::Typed, 16384, 16384, 0, 16384, 16384, 1, 16384, 16384},
        {ExportKind::Typed, 8192, 8177, 1, 8192, 8177, 2, 16384, 16384},
        {ExportKind::Typed, 32768, 1, 0, 32768, 1, 1, 32768, 16},
    };
    for (const auto& [kind, w, h, antialias, outW, outH, k, renderW, renderH] : cases) {
        const std::optional<ExportPlan> plan = planExport(kind, w, h, antialias == 1);
        ASSERT_TRUE(plan) << w << "x" << h;
        EXPECT_EQ(std::tuple(plan->outW, plan->outH, plan->k, plan->renderW, plan->renderH),
                  std::tuple(outW, outH, k, renderW, renderH));
    }
    const int refused[][3] = {{16385, 16384, 0}, {8192, 8193, 1}, {32769, 16, 0},
                              {16, 32769, 0},    {0, 5, 0},       {5, -1, 0}};
    for (const auto& [w, h, antialias] : refused) {
        std::string why;
        EXPECT_FALSE(planExport(ExportKind::Typed, w, h, antialias == 1, &why)) << w << "x" << h;
        const bool size = w <= 0 || h <= 0 || w > 32768 || h > 32768;
        EXPECT_TRUE(why.starts_with(size ? "The width and the height " : "The picture is too"))
            << why;
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
}

TEST(ParameterLine, DeepViewsKeepTheirDepthAndOlderReadersSkipTheExtras) {
    const ExtFloat w = *ExtFloat::parse("3.3e-300");
    const long bits = centreBits(w);
    MANDAT deep{0, 0, 0, 32768, 0x742, 12};
    deep.deep = std::make_shared<const DeepView>(
        DeepView{*Real::parse("-0.743643887037158704752191506114774" + std::string(290, '1'), bits),
                 *Real::parse("0.131825904205311970493132056385139", bits), w, 65536});
    deep.x = deep.deep->x.toDouble();
    deep.y = deep.deep->y.toDouble();
    // The seven fields an older reader takes, then the extras on the same line.
    const std::string line = parameterLine(deep, 4.0 / 3.0);
    const std::string seven = parameterLine({deep.x, deep.y, 0, 32768, 0x742, 12}, 4.0 / 3.0);
    EXPECT_TRUE(line.starts_with(seven.substr(0, seven.size() - 2) + " dx=")) << line;
    EXPECT_TRUE(line.ends_with(" dw=3.3e-300 dit=65536\r\n")) << line;
    EXPECT_EQ(line.find_first_of("\r\n"), line.size() - 2);
    const std::string text = line + parameterLine(kView, 1.0);
    ParameterReader reader(text, 0);
    const ParsedLine read = *reader.next();
    EXPECT_FALSE(viewOf(read).deep); // a reader that does not ask for the depth gets the fields
    const MANDAT back = viewOf(read, true);
    ASSERT_TRUE(back.deep);
    EXPECT_TRUE(back.deep->x == deep.deep->x && back.deep->y == deep.deep->y);
    EXPECT_TRUE(back.deep->w == w && back.deep->it == 65536);
    EXPECT_TRUE(viewOf(*reader.next()) == kView);
    // A line edited by hand: its centre no longer matches the extras, and the seven fields win.
    std::string edited = line;
    edited.replace(edited.find("-0.7436"), 7, "-0.7435");
    EXPECT_FALSE(viewOf(*ParameterReader(edited, 0).next(), true).deep);
    // So does a line whose width is beyond what the fields can hold.
    edited = line;
    edited.replace(edited.find("3.3e-300"), 8, "3.3e+400");
    EXPECT_FALSE(viewOf(*ParameterReader(edited, 0).next(), true).deep);
}

} // namespace
} // namespace velq
