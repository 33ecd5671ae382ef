// Parameter lines: the exact text written, appends that keep whole lines on a full disk, and
// the tolerant, bounded reading of any text into views.
#include "core/files/openpath.h"
#include "core/files/paramline.h"

#include <cfloat>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <sys/resource.h>
#include <vector>

namespace velq {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ParameterLine, WrittenAsTheCFormatInTheCLocale) {
    EXPECT_EQ(parameterLine({-0.75, 0.0, 1.5, 256, 0x1f, 3}, 800.0 / 600.0),
              "-0.75000000000000000000 0.00000000000000000000 1.50000000000000000000 "
              "1.33333333333333325932 256 0x0000001f 3\r\n");
    const MANDAT views[] = {
        {1e300, -1e300, DBL_MAX, 32768, -1, 1000},
        {kInf, -kInf, kNaN, INT32_MIN, 0, INT32_MAX},
        {-0.0, DBL_MIN, DBL_TRUE_MIN, 0, 0x7fffffff, -1},
        {123456789.987654321, 5e-21, 4.9999999999999996e-21, 256, INT32_MIN, 0}};
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

TEST(ParameterLine, WrittenLinesAndSeventeenDigitsReadBackExactly) {
    std::string file;
    std::vector<ParsedLine> expected;
    for (int k = 0; k < 500; ++k) {
        const MANDAT v{k * 1e-3 - 2, 1.0 / (k + 1), 2.0 / (k + 1), 256 << k % 8, 0x782 + k, k};
        file += parameterLine(v, 1.5);
        expected.push_back({v.x, v.y, v.w, 1.5, v.it, v.cs, v.cp});
    }
    EXPECT_EQ(readAll(file), expected);
    for (double d : {DBL_MAX, DBL_MIN, DBL_TRUE_MIN, -2.5e-310, 0.1, -1.9415584659357656}) {
        char text[128];
        std::snprintf(text, sizeof text, "%.17g %.17g %.17g 1 1024 0x782 0", d, -d, d);
        EXPECT_EQ(readAll(text), (std::vector<ParsedLine>{{d, -d, d, 1, 1024, 0x782, 0}})) << text;
    }
}

// A file-size limit stands in for a full disk: a write beyond it stores what fits and fails
// (SIGXFSZ ignored). A line that does not fit is taken off again.
TEST(ParameterLine, AppendsKeepWholeLinesEvenOnAFullDisk) {
    const auto dir = std::filesystem::path(testing::TempDir()) / "velq-paramline";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "views.mdl").string();
    const auto contents = [&path] {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const MANDAT a{-0.75, 0.1, 0.25, 2048, 0x742, 300}, b{0.3, -0.2, 0.01, 512, 0x782, 7};
    ASSERT_TRUE(appendParameterLine(path, kStartView, 4.0 / 3.0));
    ASSERT_TRUE(appendParameterLine(path, a, 1.25));
    const std::string before = parameterLine(kStartView, 4.0 / 3.0) + parameterLine(a, 1.25);
    EXPECT_EQ(contents(), before);
    rlimit unlimited{}, full{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    for (std::size_t room : {0, 1, 40, 110}) { // the line takes 111 bytes
        full = unlimited;
        full.rlim_cur = before.size() + room;
        setrlimit(RLIMIT_FSIZE, &full);
        EXPECT_FALSE(appendParameterLine(path, b, 1.0)) << room;
        setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(contents(), before) << "with room for " << room << " bytes";
    }
    std::signal(SIGXFSZ, handler);
    EXPECT_TRUE(appendParameterLine(path, b, 1.0));
    EXPECT_EQ(contents(), before + parameterLine(b, 1.0));
    EXPECT_FALSE(appendParameterLine((dir / "missing" / "v.mdl").string(), a, 1.0));
    EXPECT_FALSE(appendParameterLine(dir.string(), a, 1.0)); // a folder
    std::filesystem::remove_all(dir);
}

// The views that opening these bytes as a parameter file renders, as "x y w it cs cp;" each.
std::string viewsOf(std::string_view text) {
    const std::vector<char> data(text.begin(), text.end());
    ParameterReader reader(data, *parameterTextStart(data, FileKind::Parameters));
    std::string views;
    while (const std::optional<ParsedLine> line = reader.next()) {
        const MANDAT v = viewOf(*line);
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
        {"-7.5e-1 5E-1 0.15e+1 2e0 256 0x1f 3", v},
        {"-0x1.8p-1 +0.5 0X1.8P0 +2. +256 0x0000001F +3", v},
        {l + "\n" + l + "\r" + l + "\r\n" + l, v + v + v + v},
        {l + "\r\n\r\n\r\n\n\n \t \r\r" + l, v + v},
        {l + " (comment)\r\n" + l + "junk\n" + l, v + v + v},
        {l + "\ngarbage\n" + l + "\n", v},
        {"-0.75 0.5 1.5 2 256 1f 3\n" + l, ""},
        {"-0.75 0.5 1.5 2 256 0X1f 3\n", ""},
        {"-0.75 0.5 1.5 2 256 0 x1f 3\n", ""},
        {"-0.75 0.5 1.5 2 256 0x1f\n", ""},
        {"--0.75 0.5 1.5 2 256 0x1f 3", ""},
        {"-0.75 0.5 1.5 2 256 0x1f -", ""},
        {" \r\n\t\n", ""},
        {"", ""},
        {"nan -nan 1 1 1024 0x782 0", "nan -nan 1 1024 782 0;"},
        {"inf -Infinity NAN(12) 1 1024 0x782 0", "inf -inf nan 1024 782 0;"},
        {"1e308 -1e308 1e-308 1 1024 0x782 0", "1e+308 -1e+308 1e-308 1024 782 0;"},
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

} // namespace
} // namespace velq
