// Parameter lines: the exact text written, and the tolerant, bounded reading of it.
#include "core/files/paramline.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <numbers>
#include <string_view>
#include <vector>

namespace velq {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Reads every line, from data held in a buffer of exactly its size.
std::vector<ParsedLine> readAll(std::string_view text, std::size_t start = 0) {
    const std::vector<char> data(text.begin(), text.end());
    ParameterReader reader(data, start);
    std::vector<ParsedLine> lines;
    while (std::optional<ParsedLine> line = reader.next())
        lines.push_back(*line);
    return lines;
}

std::optional<ParsedLine> readOne(std::string_view text) {
    return ParameterReader(std::span<const char>(text.data(), text.size()), 0).next();
}

// The C library's own rendering of the line format, in the C locale the tests run in.
std::string cFormatted(const MANDAT& v, double aspect) {
    std::array<char, 1400> buf; // the longest line possible is 1365 bytes
    const int n = std::snprintf(buf.data(), buf.size(),
                                "%10.20lf %10.20lf %10.20lf %10.20lf %d 0x%08x %d\r\n", v.x, v.y,
                                v.w, aspect, v.it, static_cast<unsigned>(v.cs), v.cp);
    return {buf.data(), static_cast<std::size_t>(n)};
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const MANDAT kExample = mkMandat(-0.75, 0.0, 1.5, 256, 0x1f, 3);
const char* const kExampleText = "-0.75000000000000000000 0.00000000000000000000 "
                                 "1.50000000000000000000 1.33333333333333325932 256 0x0000001f "
                                 "3\r\n";

// --- Writer ---

TEST(ParameterLineWriter, ExampleLineByteForByte) {
    EXPECT_EQ(parameterLine(kExample, 800.0 / 600.0), kExampleText);
}

TEST(ParameterLineWriter, MatchesTheCFormatForExtremeValues) {
    struct Case {
        MANDAT v;
        double aspect;
    };
    const Case cases[] = {
        {mkMandat(1e300, -1e300, DBL_MAX, 32768, -1, 1000), -DBL_MAX},
        {mkMandat(kInf, -kInf, kNaN, INT32_MIN, 0, INT32_MAX), -kNaN},
        {mkMandat(-0.0, DBL_MIN, DBL_TRUE_MIN, 0, 0x7fffffff, -1), 0.5},
        {mkMandat(-0.0938884202514072, 0.959822827920789, 3.14928e-12, 1024, 0x781, 647), 4.0 / 3},
        {mkMandat(123456789.987654321, 5e-21, 4.9999999999999996e-21, 256, INT32_MIN, 0), 1.0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parameterLine(c.v, c.aspect), cFormatted(c.v, c.aspect));
}

class ParameterFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::path(::testing::TempDir()) /
               ("paramline_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(ParameterFile, AppendsWithoutTruncating) {
    const std::string path = (dir_ / "views.mdl").string();
    EXPECT_TRUE(appendParameterLine(path, kExample, 800.0 / 600.0));
    EXPECT_TRUE(appendParameterLine(path, kExample, 800.0 / 600.0));
    EXPECT_EQ(readFile(path), std::string(kExampleText) + kExampleText);
}

TEST_F(ParameterFile, FailsWhenTheFileCannotBeOpened) {
    EXPECT_FALSE(appendParameterLine((dir_ / "missing" / "views.mdl").string(), kExample, 1.0));
    EXPECT_FALSE(appendParameterLine(dir_.string(), kExample, 1.0)); // a folder
}

// --- Round trips ---

TEST(ParameterLineRoundTrip, SeventeenDigitsGiveTheExactDouble) {
    const double values[] = {
        DBL_MAX, -DBL_MAX, DBL_MIN,          DBL_TRUE_MIN,        -2.5e-310,    1e300,
        0.1,     1.0 / 3,  std::numbers::pi, -1.9415584659357656, 6.811068e-14, 2.7260158745e-09};
    for (double d : values) {
        char text[128];
        std::snprintf(text, sizeof text, "%.17g %.17g %.17g %.17g 1024 0x00000782 0\n", d, -d, d,
                      d);
        const std::optional<ParsedLine> line = readOne(text);
        ASSERT_TRUE(line) << text;
        EXPECT_EQ(line->x, d) << text;
        EXPECT_EQ(line->y, -d) << text;
        EXPECT_EQ(line->w, d) << text;
    }
}

TEST(ParameterLineRoundTrip, WrittenLinesOfOrdinaryViewsReadBackExactly) {
    const MANDAT views[] = {
        mkMandat(-0.0938884202514072, 0.959822827920789, 0.003303912992278735, 1024, 0x781, 647),
        mkMandat(-1.9415572168626787, 0.37404922464420437, 2.0, 32768, -1, 0),
        mkMandat(123456.789, -0.001, 1.0 / 3, 256, 0x7fffffff, 1000),
        kExample,
    };
    for (const MANDAT& v : views) {
        const std::optional<ParsedLine> line = readOne(parameterLine(v, 1.25));
        ASSERT_TRUE(line);
        EXPECT_EQ(*line, (ParsedLine{v.x, v.y, v.w, 1.25, v.it, v.cs, v.cp}));
    }
}

TEST(ParameterLineRoundTrip, ExampleLineReadsBack) {
    EXPECT_EQ(readAll(kExampleText),
              (std::vector<ParsedLine>{{-0.75, 0.0, 1.5, 800.0 / 600.0, 256, 0x1f, 3}}));
}

TEST(ParameterLineRoundTrip, EveryWrittenLineIsReadOnce) {
    std::string file;
    std::vector<ParsedLine> expected;
    for (int k = 0; k < 2000; ++k) {
        const MANDAT v = mkMandat(-2.0 + k * 1e-3, 1.0 / (k + 1), 2.0 / (k + 1), 256 << (k % 8),
                                  0x782 + k, k % 1001);
        file += parameterLine(v, 1.5);
        expected.push_back({v.x, v.y, v.w, 1.5, v.it, v.cs, v.cp});
    }
    EXPECT_EQ(readAll(file), expected);
}

// --- Reader variants ---

// Every variant spells the same view.
const ParsedLine kRef{-0.75, 0.5, 1.5, 2.0, 256, 0x1f, 3};
const std::string kLine = "-0.75 0.5 1.5 2 256 0x1f 3";

TEST(ParameterReader, AcceptedVariants) {
    struct Case {
        const char* what;
        std::string text;
        std::size_t lines;
    };
    const Case cases[] = {
        {"one line", kLine + "\r\n", 1},
        {"spaces and tabs", "  -0.75  \t0.5\t\t1.5   2 256\t0x1f   3\n", 1},
        {"fields across line ends", "-0.75\n0.5\r\n1.5 2\r256 0x1f\n3", 1},
        {"exponents", "-7.5e-1 5E-1 0.15e+1 2e0 256 0x1f 3", 1},
        {"signs and hex floats", "-0x1.8p-1 +0.5 0X1.8P0 +2. +256 0x0000001F +3", 1},
        {"LF", kLine + "\n" + kLine + "\n", 2},
        {"CR", kLine + "\r" + kLine + "\r", 2},
        {"CR LF", kLine + "\r\n" + kLine + "\r\n", 2},
        {"last line without line end", kLine + "\r\n" + kLine, 2},
        {"blank lines between", kLine + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\n\n \t \r\r" + kLine, 2},
        {"junk after a line", kLine + " (comment)\r\n" + kLine + "junk\n" + kLine, 3},
        {"text after a PNG chunk's line", kLine + "\r\n(http://www.example.org/)", 1},
        {"a bad line ends the reading", kLine + "\ngarbage\n" + kLine + "\n", 1},
        {"no 0x", "-0.75 0.5 1.5 2 256 1f 3\n" + kLine, 0},
        {"0X", "-0.75 0.5 1.5 2 256 0X1f 3\n", 0},
        {"white space inside 0x", "-0.75 0.5 1.5 2 256 0 x1f 3\n", 0},
        {"six fields", "-0.75 0.5 1.5 2 256 0x1f\n", 0},
        {"double sign", "--0.75 0.5 1.5 2 256 0x1f 3", 0},
        {"empty", "", 0},
        {"white space only", " \r\n\t\n", 0},
    };
    for (const Case& c : cases) {
        const std::vector<ParsedLine> lines = readAll(c.text);
        EXPECT_EQ(lines, std::vector<ParsedLine>(c.lines, kRef)) << c.what;
    }
}

TEST(ParameterReader, StartsAtTheGivenPosition) {
    const std::string text = "junk\n" + kLine;
    EXPECT_EQ(readAll(text, 5), std::vector<ParsedLine>{kRef});
    EXPECT_TRUE(readAll(text, 0).empty());
    EXPECT_TRUE(readAll(text, text.size()).empty());
    EXPECT_TRUE(readAll(text, text.size() + 10).empty());
}

TEST(ParameterReader, HexFieldTakesAtMostEightDigits) {
    struct Case {
        const char* hex;
        std::optional<std::pair<std::int32_t, std::int32_t>> csCp;
    };
    const Case cases[] = {
        {"0x1f 3", std::pair{0x1f, 3}},        {"0xffffffff 3", std::pair{-1, 3}},
        {"0x0000001f5 3", std::pair{0x1f, 5}}, // the ninth digit starts the last field
        {"0x0000001fa 3", std::nullopt},       {"0x 3", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<ParsedLine> line = readOne("-0.75 0.5 1.5 2 256 " + std::string(c.hex));
        ASSERT_EQ(line.has_value(), c.csCp.has_value()) << c.hex;
        if (line) {
            EXPECT_EQ(std::pair(line->cs, line->cp), *c.csCp) << c.hex;
        }
    }
}

TEST(ParameterReader, IntegersOutOfRangeAreClamped) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN},
        {"99999999999999999999999", INT32_MAX},
        {"-0", 0},
    };
    for (const Case& c : cases) {
        const std::string text = "0 0 1 1 " + std::string(c.text) + " 0x0 " + c.text;
        const std::optional<ParsedLine> line = readOne(text);
        ASSERT_TRUE(line) << c.text;
        EXPECT_EQ(line->it, c.value) << c.text;
        EXPECT_EQ(line->cp, c.value) << c.text;
    }
}

TEST(ParameterReader, DoublesBeyondTheRangeAndSpecialValues) {
    const std::optional<ParsedLine> huge = readOne("1e999 -1e999 1e-999 -0x1p-2000 1 0x0 0");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->x, kInf);
    EXPECT_EQ(huge->y, -kInf);
    EXPECT_EQ(huge->w, 0.0);
    EXPECT_EQ(huge->aspect, 0.0);
    EXPECT_TRUE(std::signbit(huge->aspect));

    const std::optional<ParsedLine> big = readOne("0x1p2000 -1000e-1300 0.0001e400 1 1 0x0 0");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->x, kInf);
    EXPECT_EQ(big->y, 0.0);
    EXPECT_TRUE(std::signbit(big->y));
    EXPECT_EQ(big->w, kInf);

    const std::optional<ParsedLine> special = readOne("inf -Infinity nan NAN(123) 1 0x0 0");
    ASSERT_TRUE(special);
    EXPECT_EQ(special->x, kInf);
    EXPECT_EQ(special->y, -kInf);
    EXPECT_TRUE(std::isnan(special->w));
    EXPECT_TRUE(std::isnan(special->aspect));
}

// Each prefix of a line is read with the bytes after it still in memory: a read past the
// end would see them, turning a failed line into a good one or 3 into 37.
TEST(ParameterReader, LineCutAtTheEndOfTheData) {
    const std::string text = kLine + "7";
    const std::size_t lastField = text.size() - 2;
    for (std::size_t n = 0; n <= text.size(); ++n) {
        std::optional<ParsedLine> inPlace =
            ParameterReader(std::span<const char>(text.data(), n), 0).next();
        const std::vector<ParsedLine> exact = readAll(std::string_view(text).substr(0, n));
        EXPECT_EQ(inPlace.has_value(), n > lastField) << n;
        EXPECT_EQ(exact.size(), n > lastField ? 1u : 0u) << n;
        if (inPlace) {
            EXPECT_EQ(inPlace->cp, n == text.size() ? 37 : 3) << n;
        }
    }
}

} // namespace
} // namespace velq
