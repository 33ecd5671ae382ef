// The parameter chunk: its layout after IHDR, its CRC, and the scan that finds it in any bytes.
#include "core/files/crc.h"
#include "core/files/homeaddress.h"
#include "core/files/pngchunk.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace velq {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr MANDAT kView{-0.75, 0.1, 0.5, 1024, 0x782, 250};
constexpr double kAspect = 800.0 / 600.0;
constexpr std::size_t kChunkAt = 33;
constexpr std::size_t kTextAt = kChunkAt + 28;

void appendBigEndian(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t bigEndianAt(const Bytes& b, std::size_t p) {
    return std::uint32_t{b[p]} << 24 | std::uint32_t{b[p + 1]} << 16 |
           std::uint32_t{b[p + 2]} << 8 | std::uint32_t{b[p + 3]};
}

void appendChunk(Bytes& png, std::string_view type, const Bytes& data) {
    appendBigEndian(png, static_cast<std::uint32_t>(data.size()));
    Bytes body(type.begin(), type.end());
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    appendBigEndian(png, crc(body));
}

// A valid 1 × 1 grey PNG: its image data is a zlib stream with one stored block.
Bytes minimalPng() {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    appendChunk(png, "IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0});
    // zlib header, final stored block of 2 bytes (filter 0, pixel 0), Adler-32 of those bytes.
    appendChunk(png, "IDAT",
                {0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFF, 0, 0, 0x00, 0x02, 0x00, 0x01});
    appendChunk(png, "IEND", {});
    return png;
}

std::string textAt(const Bytes& b, std::size_t from, std::size_t count) {
    return {b.begin() + static_cast<std::ptrdiff_t>(from),
            b.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

TEST(ParameterChunkText, LayoutAndParameterLine) {
    const std::string text = parameterChunkText(kStartView, 800.0 / 600.0);
    const std::string expected =
        std::string("tEXtVelquorantisphaeron") + '\0' +
        "0.00000000000000000000 0.00000000000000000000 2.00000000000000000000 "
        "1.33333333333333325932 1024 0x00000782 0\r\n(" +
        std::string(kHomeAddress) + ")";
    EXPECT_EQ(text, expected);
}

TEST(ParameterChunkText, NegativeFieldsAndColourWord) {
    const std::string text = parameterChunkText(mkMandat(-1.5, -0.25, 1e-10, 256, -1, 1000), 0.5);
    EXPECT_NE(text.find("-1.50000000000000000000 -0.25000000000000000000 0.00000000010000000000 "
                        "0.50000000000000000000 256 0xffffffff 1000\r\n("),
              std::string::npos);
}

TEST(InsertParameterChunk, ChunkFollowsIhdrWithLengthAndCrc) {
    const Bytes png = minimalPng();
    const Bytes out = insertParameterChunk(png, kView, kAspect);
    const std::string text = parameterChunkText(kView, kAspect);
    const std::size_t T = text.size() - 24; // the text after the zero byte
    ASSERT_EQ(out.size(), png.size() + text.size() + 8);

    EXPECT_TRUE(std::equal(png.begin(), png.begin() + kChunkAt, out.begin()));
    EXPECT_EQ(bigEndianAt(out, kChunkAt), T + 20);
    EXPECT_EQ(textAt(out, kChunkAt + 4, text.size()), text);
    EXPECT_EQ(out[60], 0);
    const std::span<const std::uint8_t> typeAndData(out.data() + kChunkAt + 4, T + 24);
    EXPECT_EQ(bigEndianAt(out, 61 + T), crc(typeAndData));
    EXPECT_TRUE(std::equal(png.begin() + kChunkAt, png.end(), out.begin() + 65 + T));
}

TEST(InsertParameterChunk, RefusesDataWithoutIhdrFirst) {
    const Bytes png = minimalPng();
    EXPECT_TRUE(insertParameterChunk({}, kView, kAspect).empty());
    EXPECT_TRUE(insertParameterChunk(std::span(png).first(32), kView, kAspect).empty());
    EXPECT_FALSE(insertParameterChunk(std::span(png).first(33), kView, kAspect).empty());
    Bytes notIhdr = png;
    notIhdr[15] = 'X';
    EXPECT_TRUE(insertParameterChunk(notIhdr, kView, kAspect).empty());
}

TEST(FindParameterText, FindsTheInsertedChunk) {
    const Bytes out = insertParameterChunk(minimalPng(), kView, kAspect);
    const auto at = findParameterText(out);
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(*at, kTextAt);
    const std::string afterZero = parameterChunkText(kView, kAspect).substr(24);
    EXPECT_EQ(textAt(out, *at, afterZero.size()), afterZero);
    EXPECT_EQ(textAt(out, *at, 23), "-0.75000000000000000000");
}

TEST(FindParameterText, FindsAChunkMovedBeforeIend) {
    const Bytes inserted = insertParameterChunk(minimalPng(), kView, kAspect);
    const std::size_t chunkSize = inserted.size() - minimalPng().size();
    const auto chunkBegin = inserted.begin() + kChunkAt;
    const Bytes chunk(chunkBegin, chunkBegin + static_cast<std::ptrdiff_t>(chunkSize));
    Bytes moved = minimalPng();
    moved.insert(moved.end() - 12, chunk.begin(), chunk.end());
    EXPECT_EQ(findParameterText(moved), moved.size() - 12 - chunkSize + 28);
}

TEST(FindParameterText, RefusesAnyWrongKeywordOrType) {
    const Bytes good = insertParameterChunk(minimalPng(), kView, kAspect);
    for (std::size_t i = kChunkAt + 4; i < kChunkAt + 27; ++i) {
        Bytes bad = good;
        bad[i] ^= 0x20; // a case change, or a letter turned into something else
        EXPECT_FALSE(findParameterText(bad).has_value()) << "byte " << i;
    }
    Bytes ztxt = good;
    ztxt[kChunkAt + 4] = 'z';
    ztxt[kChunkAt + 5] = 'T';
    ztxt[kChunkAt + 6] = 'X';
    EXPECT_FALSE(findParameterText(ztxt).has_value());
    EXPECT_FALSE(findParameterText(minimalPng()).has_value());
}

TEST(FindParameterText, SeparatorAndSignatureAreNotCompared) {
    Bytes b = insertParameterChunk(minimalPng(), kView, kAspect);
    b[kTextAt - 1] = '!';
    b[0] = 'G';
    EXPECT_EQ(findParameterText(b), kTextAt);
}

// Eight signature bytes, then one chunk header: the length, then the given header bytes.
Bytes chunkHeader(std::uint32_t length, std::string_view header) {
    Bytes b(8, 0);
    appendBigEndian(b, length);
    b.insert(b.end(), header.begin(), header.end());
    return b;
}

TEST(FindParameterText, EdgesOfTheData) {
    const std::string full = std::string("tEXtVelquorantisphaeron") + '\0';
    // Exactly the header, separator included: the text would be empty and starts at the end.
    EXPECT_EQ(findParameterText(chunkHeader(20, full)), 36u);
    // Cut before the separator: the text would start beyond the end.
    EXPECT_FALSE(findParameterText(chunkHeader(20, full.substr(0, 23))).has_value());
    EXPECT_FALSE(findParameterText(chunkHeader(20, full.substr(0, 22))).has_value());
    EXPECT_FALSE(findParameterText(chunkHeader(20, "tEXt")).has_value());
}

TEST(FindParameterText, HostileDataEndsTheScan) {
    const Bytes good = insertParameterChunk(minimalPng(), kView, kAspect);
    struct Case {
        const char* what;
        Bytes data;
    };
    auto withFirstLength = [&](std::uint32_t n) {
        Bytes b = good;
        b[8] = static_cast<std::uint8_t>(n >> 24);
        b[9] = static_cast<std::uint8_t>(n >> 16);
        b[10] = static_cast<std::uint8_t>(n >> 8);
        b[11] = static_cast<std::uint8_t>(n);
        return b;
    };
    const Case cases[] = {
        {"empty", {}},
        {"signature only", Bytes(good.begin(), good.begin() + 8)},
        {"nine bytes", Bytes(good.begin(), good.begin() + 9)},
        {"half a length", Bytes(good.begin(), good.begin() + 11)},
        {"length 0xFFFFFFFF", withFirstLength(0xFFFFFFFFu)},
        {"length wrapping a 32-bit position", withFirstLength(0xFFFFFFF4u)},
        {"length past the end", withFirstLength(static_cast<std::uint32_t>(good.size()))},
        {"length ending exactly at the end",
         withFirstLength(static_cast<std::uint32_t>(good.size() - 8 - 12))},
        {"keyword cut at the end", chunkHeader(20, "tEXtVelquoran")},
        {"only a length", chunkHeader(0, "")},
        {"zero lengths up to the end", Bytes(64, 0)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(findParameterText(c.data).has_value()) << c.what;
}

TEST(FindParameterText, RandomBytesAreScannedSafely) {
    std::mt19937 gen(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes noise(1 << 20);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(byte(gen));
    for (std::size_t size : {noise.size(), std::size_t{100}, std::size_t{36}}) {
        const Bytes d(noise.begin(), noise.begin() + static_cast<std::ptrdiff_t>(size));
        const auto at = findParameterText(d);
        EXPECT_TRUE(!at || *at <= size);
    }
    // Small lengths keep the scan walking through the whole megabyte.
    for (std::size_t p = 8; p + 4 <= noise.size(); p += 16) {
        const std::uint8_t sixteenByteChunk[] = {0, 0, 0, 4};
        std::copy(std::begin(sixteenByteChunk), std::end(sixteenByteChunk), noise.begin() + p);
    }
    EXPECT_FALSE(findParameterText(noise).has_value());
}

TEST(InsertParameterChunk, PngcheckAcceptsTheResult) {
    const std::filesystem::path pngcheck = "/usr/bin/pngcheck";
    if (!std::filesystem::exists(pngcheck)) GTEST_SKIP() << "pngcheck is not installed";
    const auto check = [&](const Bytes& png, const std::string& name) {
        const std::filesystem::path file = std::filesystem::path(testing::TempDir()) / name;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()),
                   static_cast<std::streamsize>(png.size()));
        const std::string command = pngcheck.string() + " -q '" + file.string() + "'";
        const int status = std::system(command.c_str());
        std::filesystem::remove(file);
        return status;
    };
    EXPECT_EQ(check(minimalPng(), "velq_minimal.png"), 0);
    EXPECT_EQ(check(insertParameterChunk(minimalPng(), kView, kAspect), "velq_chunk.png"), 0);
}

} // namespace
} // namespace velq
