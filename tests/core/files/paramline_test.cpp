// Parameter lines: the exact text written, appends that keep whole lines on a full disk, and
// the tolerant, bounded reading of hostile text into views.
#include "core/files/openpath.h"
#include "core/files/paramline.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <sys/resource.h>
#include <tuple>
#include <vector>

namespace velq {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<ParsedLine> readAll(std::string_view text, std::size_t start = 0) {
    const std::vector<char> data(text.begin(), text.end()); // exactly the text, no zero after it
    ParameterReader reader(data, start);
    std::vector<ParsedLine> lines;
    while (std::optional<ParsedLine> line = reader.next())
        lines.push_back(*line);
    return lines;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ParameterLine, WrittenAsTheCFormatInTheCLocale) {
    EXPECT_EQ(parameterLine({-0.75, 0.0, 1.5, 256, 0x1f, 3}, 800.0 / 600.0),
              "-0.75000000000000000000 0.00000000000000000000 1.50000000000000000000 "
              "1.33333333333333325932 256 0x0000001f 3\r\n");
    const std::pair<MANDAT, double> cases[] = {
        {{1e300, -1e300, DBL_MAX, 32768, -1, 1000}, -DBL_MAX},
        {{kInf, -kInf, kNaN, INT32_MIN, 0, INT32_MAX}, -kNaN},
        {{-0.0, DBL_MIN, DBL_TRUE_MIN, 0, 0x7fffffff, -1}, 0.5},
        {{123456789.987654321, 5e-21, 4.9999999999999996e-21, 256, INT32_MIN, 0}, 1.0},
    };
    for (const auto& [v, aspect] : cases) {
        char c[1400]; // the longest line possible is 1365 bytes
        const int n =
            std::snprintf(c, sizeof c, "%10.20lf %10.20lf %10.20lf %10.20lf %d 0x%08x %d\r\n", v.x,
                          v.y, v.w, aspect, v.it, static_cast<unsigned>(v.cs), v.cp);
        EXPECT_EQ(parameterLine(v, aspect), std::string(c, static_cast<std::size_t>(n))) << c;
    }
}

TEST(ParameterLine, WrittenLinesAndSeventeenDigitsReadBackExactly) {
    std::string file;
    std::vector<ParsedLine> expected;
    for (int k = 0; k < 500; ++k) {
        const MANDAT v{-2.0 + k * 1e-3, 1.0 / (k + 1), 2.0 / (k + 1),
                       256 << (k % 8),  0x782 + k,     k % 1001};
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

// Lowers the largest file this process may write, as a full disk would: a write beyond it
// stores what fits and fails, and SIGXFSZ is ignored so that it does not end the test.
struct FileSizeLimit {
    rlimit old{};
    void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    explicit FileSizeLimit(std::uintmax_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lower = old;
        lower.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);
    }
};

TEST(ParameterLine, AppendsKeepWholeLinesEvenOnAFullDisk) {
    const auto dir = std::filesystem::path(testing::TempDir()) / "velq-paramline";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "views.mdl").string();
    const MANDAT a{-0.75, 0.1, 0.25, 2048, 0x742, 300}, b{0.3, -0.2, 0.01, 512, 0x782, 7};
    ASSERT_TRUE(appendParameterLine(path, kStartView, 4.0 / 3.0));
    ASSERT_TRUE(appendParameterLine(path, a, 1.25));
    const std::string before = parameterLine(kStartView, 4.0 / 3.0) + parameterLine(a, 1.25);
    EXPECT_EQ(readFile(path), before);
    const std::string line = parameterLine(b, 1.0);
    for (std::size_t room : {std::size_t{0}, std::size_t{1}, std::size_t{40}, line.size() - 1}) {
        {
            const FileSizeLimit full(before.size() + room);
            EXPECT_FALSE(appendParameterLine(path, b, 1.0)) << room;
        }
        EXPECT_EQ(readFile(path), before) << "with room for " << room << " bytes";
    }
    EXPECT_TRUE(appendParameterLine(path, b, 1.0));
    EXPECT_EQ(readFile(path), before + line);
    EXPECT_FALSE(appendParameterLine((dir / "missing" / "v.mdl").string(), a, 1.0));
    EXPECT_FALSE(appendParameterLine(dir.string(), a, 1.0)); // a folder
    std::filesystem::remove_all(dir);
}

TEST(ParameterReader, LineEndsWhiteSpaceJunkAndBadLines) {
    const ParsedLine ref{-0.75, 0.5, 1.5, 2.0, 256, 0x1f, 3};
    const std::string l = "-0.75 0.5 1.5 2 256 0x1f 3";
    const std::pair<std::string, std::size_t> cases[] = {
        {"  -0.75  \t0.5\t\t1.5   2 256\t0x1f   3\n", 1},
        {"-0.75\n0.5\r\n1.5 2\r256 0x1f\n3", 1}, // fields across line ends
        {"-7.5e-1 5E-1 0.15e+1 2e0 256 0x1f 3", 1},
        {"-0x1.8p-1 +0.5 0X1.8P0 +2. +256 0x0000001F +3", 1},
        {l + "\n" + l + "\r" + l + "\r\n" + l, 4},
        {l + "\r\n\r\n\r\n\n\n \t \r\r" + l, 2},
        {l + " (comment)\r\n" + l + "junk\n" + l, 3}, // junk ends only its own line
        {l + "\r\n(https://velquorantisphaeron.example.org/)", 1},
        {l + "\ngarbage\n" + l + "\n", 1}, // a bad line ends the reading
        {"-0.75 0.5 1.5 2 256 1f 3\n" + l, 0},
        {"-0.75 0.5 1.5 2 256 0X1f 3\n", 0},
        {"-0.75 0.5 1.5 2 256 0 x1f 3\n", 0},
        {"-0.75 0.5 1.5 2 256 0x1f\n", 0},
        {"--0.75 0.5 1.5 2 256 0x1f 3", 0},
        {"-0.75 0.5 1.5 2 256 0x1f -", 0},
        {" \r\n\t\n", 0},
        {"", 0},
    };
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(readAll(text), std::vector<ParsedLine>(lines, ref)) << text;
    const std::string junkFirst = "junk\n" + l;
    EXPECT_EQ(readAll(junkFirst, 5), std::vector<ParsedLine>{ref});
    EXPECT_TRUE(readAll(junkFirst, junkFirst.size() + 10).empty());
    // Each prefix of a line with the bytes after it still in memory: a read past the end
    // would see them, turning a failed line into a good one, or 3 into 37.
    const std::string text = l + "7";
    for (std::size_t n = 0; n <= text.size(); ++n) {
        const auto line = ParameterReader(std::span<const char>(text.data(), n), 0).next();
        EXPECT_EQ(line.has_value(), n >= l.size()) << n;
        EXPECT_EQ(line.value_or(ParsedLine{}).cp, line ? (n == text.size() ? 37 : 3) : 0) << n;
    }
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

// Hostile fields through the open path: the views they stand for, limits rounded to allowed
// ones, rotations clamped, doubles beyond the range infinite or zero with their sign.
TEST(ParameterReader, HostileFieldsGiveTheViewsTheyStandFor) {
    const std::string ones(400, '1');
    struct Case {
        std::string line;
        MANDAT view;
    };
    const Case cases[] = {
        {"nan -nan 1 1 1024 0x782 0", {kNaN, -kNaN, 1, 1024, 0x782, 0}},
        {"inf -Infinity inf NAN(12) 1024 0x782 0", {kInf, -kInf, kInf, 1024, 0x782, 0}},
        {"1e308 -1e308 1e308 1e308 1024 0x782 0", {1e308, -1e308, 1e308, 1024, 0x782, 0}},
        {"1e400 -1e400 1e-400 1 1024 0x782 0", {kInf, -kInf, 0, 1024, 0x782, 0}},
        {"1e+400 0x1p2000 -0x1p-2000 1 1024 0x782 0", {kInf, kInf, -0.0, 1024, 0x782, 0}},
        {ones + " " + ones + "e-10 -1000e-1300 1 1024 0x782 0", {kInf, kInf, -0.0, 1024, 0x782, 0}},
        {"0.0001e400 0." + std::string(400, '0') + "1 1 1 1024 0x782 0",
         {kInf, 0, 1, 1024, 0x782, 0}},
        {"-0 -0 -0 -0 1024 0x782 -0", {-0.0, -0.0, -0.0, 1024, 0x782, 0}},
        {"0 0 1 1 0 0x782 0", {0, 0, 1, 256, 0x782, 0}},
        {"0 0 1 1 -5 0x782 0", {0, 0, 1, 256, 0x782, 0}},
        {"0 0 1 1 1000 0x782 0", {0, 0, 1, 1024, 0x782, 0}},
        {"0 0 1 1 2147483648 0x782 0", {0, 0, 1, 32768, 0x782, 0}},
        {"0 0 1 1 -99999999999 0x782 0", {0, 0, 1, 256, 0x782, 0}},
        {"0 0 1 1 1024 0xffffffff 0", {0, 0, 1, 1024, -1, 0}},
        {"0 0 1 1 1024 0x0000001f5 3", {0, 0, 1, 1024, 0x1f, 5}}, // a ninth digit starts CP
        {"0 0 1 1 1024 0x782 -1", {0, 0, 1, 1024, 0x782, 0}},
        {"0 0 1 1 1024 0x782 1001", {0, 0, 1, 1024, 0x782, 1000}},
        {"0 0 1 1 1024 0x782 99999999999", {0, 0, 1, 1024, 0x782, 1000}},
        {"0 0 1 1 1024 0x782 -2147483649", {0, 0, 1, 1024, 0x782, 0}},
    };
    for (const Case& c : cases) {
        const std::span<const char> data(c.line.data(), c.line.size());
        ParameterReader reader(data, *parameterTextStart(data, FileKind::Parameters));
        const std::optional<ParsedLine> line = reader.next();
        ASSERT_TRUE(line) << c.line;
        const MANDAT v = viewOf(*line);
        EXPECT_TRUE(sameBits(v.x, c.view.x) && sameBits(v.y, c.view.y) && sameBits(v.w, c.view.w))
            << c.line << ": " << v.x << " " << v.y << " " << v.w;
        EXPECT_EQ(std::tuple(v.it, v.cs, v.cp), std::tuple(c.view.it, c.view.cs, c.view.cp))
            << c.line;
    }
    for (const char* bad : {"0 0 1 1 1024 0x0000001fa 3", "0 0 1 1 1024 0x 3"})
        EXPECT_TRUE(readAll(bad).empty()) << bad;
}

} // namespace
} // namespace velq
