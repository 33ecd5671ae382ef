// The parameter chunk: CRC-32, its layout at byte 33, and the scan that finds it in any bytes.
#include "core/files/crc.h"
#include "core/files/homeaddress.h"
#include "core/files/pngchunk.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace velq {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::span<const std::uint8_t> bytesOf(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Crc, CheckValuesTableAndRunningForm) {
    const std::pair<std::string_view, std::uint32_t> cases[] = {
        {"", 0}, {"abc", 0x352441C2u}, {"123456789", 0xCBF43926u}, {"IEND", 0xAE426082u}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(crc(bytesOf(text)), value) << text;
    constexpr CrcTable table = make_crc_table();
    EXPECT_EQ(table[1], 0x77073096u);
    EXPECT_EQ(table[128], 0xEDB88320u);
    EXPECT_EQ(table[255], 0x2D02EF8Du);
    const std::string_view text = "The quick brown fox jumps over the lazy dog";
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, text.size()}) {
        const std::uint32_t running = update_crc(0xFFFFFFFFu, bytesOf(text.substr(0, cut)));
        EXPECT_EQ(update_crc(running, bytesOf(text.substr(cut))) ^ 0xFFFFFFFFu, 0x414FA339u);
    }
}

void appendBigEndian(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t bigEndianAt(const Bytes& b, std::size_t p) {
    return std::uint32_t{b[p]} << 24 | std::uint32_t{b[p + 1]} << 16 |
           std::uint32_t{b[p + 2]} << 8 | b[p + 3];
}

void appendChunk(Bytes& png, std::string_view type, const Bytes& data) {
    appendBigEndian(png, static_cast<std::uint32_t>(data.size()));
    Bytes body(type.begin(), type.end());
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    appendBigEndian(png, crc(body));
}

// A valid 1 x 1 grey PNG: its image data is a zlib stream with one stored block.
Bytes minimalPng() {
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    appendChunk(png, "IHDR", {0, 0, 0, 1, 0, 0, 0, 1, 8, 0, 0, 0, 0});
    appendChunk(png, "IDAT",
                {0x78, 0x01, 0x01, 0x02, 0x00, 0xFD, 0xFF, 0, 0, 0x00, 0x02, 0x00, 0x01});
    appendChunk(png, "IEND", {});
    return png;
}

constexpr MANDAT kView{-0.75, 0.1, 0.5, 1024, 0x782, 250};
constexpr double kAspect = 800.0 / 600.0;

TEST(ParameterChunk, TextLengthAndCrcRightAfterIhdr) {
    EXPECT_EQ(parameterChunkText(kStartView, kAspect),
              std::string("tEXtVelquorantisphaeron") + '\0' +
                  "0.00000000000000000000 0.00000000000000000000 2.00000000000000000000 "
                  "1.33333333333333325932 1024 0x00000782 0\r\n(" +
                  std::string(kHomeAddress) + ")");
    const Bytes png = minimalPng();
    const Bytes out = insertParameterChunk(png, kView, kAspect);
    const std::string text = parameterChunkText(kView, kAspect);
    ASSERT_EQ(out.size(), png.size() + text.size() + 8);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 33), Bytes(png.begin(), png.begin() + 33));
    EXPECT_EQ(bigEndianAt(out, 33), text.size() - 4);
    EXPECT_EQ(std::string(out.begin() + 37, out.begin() + 37 + text.size()), text);
    EXPECT_EQ(bigEndianAt(out, 37 + text.size()), crc(bytesOf(text)));
    EXPECT_EQ(Bytes(out.begin() + 41 + text.size(), out.end()), Bytes(png.begin() + 33, png.end()));
    EXPECT_EQ(findParameterText(out), 61u);
    EXPECT_TRUE(insertParameterChunk(std::span(png).first(32), kView, kAspect).empty());
    EXPECT_FALSE(insertParameterChunk(std::span(png).first(33), kView, kAspect).empty());
    Bytes notIhdr = png;
    notIhdr[15] = 'X';
    EXPECT_TRUE(insertParameterChunk(notIhdr, kView, kAspect).empty());

    const std::filesystem::path pngcheck = "/usr/bin/pngcheck";
    if (!std::filesystem::exists(pngcheck)) GTEST_SKIP() << "pngcheck is not installed";
    const std::filesystem::path file = std::filesystem::path(testing::TempDir()) / "velq_chunk.png";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    EXPECT_EQ(std::system((pngcheck.string() + " -q '" + file.string() + "'").c_str()), 0);
    std::filesystem::remove(file);
}

TEST(ParameterChunk, FoundWhereverItIsAndOnlyWithTypeAndKeyword) {
    const Bytes good = insertParameterChunk(minimalPng(), kView, kAspect);
    const std::size_t chunkSize = good.size() - minimalPng().size();
    Bytes moved = minimalPng(); // an editor moved the chunk before IEND
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
    EXPECT_FALSE(findParameterText(minimalPng()));
}

// Eight signature bytes, then one chunk: its length, then the given bytes.
Bytes chunkHeader(std::uint32_t length, std::string_view header) {
    Bytes b(8, 0);
    appendBigEndian(b, length);
    b.insert(b.end(), header.begin(), header.end());
    return b;
}

TEST(ParameterChunk, HostileDataEndsTheScanInsideTheData) {
    const Bytes good = insertParameterChunk(minimalPng(), kView, kAspect);
    const std::string full = std::string("tEXtVelquorantisphaeron") + '\0';
    EXPECT_EQ(findParameterText(chunkHeader(20, full)), 36u); // an empty text, at the end
    const auto withFirstLength = [&](std::uint32_t n) {
        Bytes b = good;
        for (int k = 0; k < 4; ++k)
            b[8 + k] = static_cast<std::uint8_t>(n >> (24 - 8 * k));
        return b;
    };
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"signature only", Bytes(good.begin(), good.begin() + 8)},
        {"nine bytes", Bytes(good.begin(), good.begin() + 9)},
        {"half a length", Bytes(good.begin(), good.begin() + 11)},
        {"cut before the separator", chunkHeader(20, full.substr(0, 23))},
        {"keyword cut", chunkHeader(20, "tEXtVelquoran")},
        {"length 0xFFFFFFFF", withFirstLength(0xFFFFFFFFu)},
        {"length wrapping a 32-bit position", withFirstLength(0xFFFFFFF4u)},
        {"length past the end", withFirstLength(static_cast<std::uint32_t>(good.size()))},
        {"length ending at the end", withFirstLength(static_cast<std::uint32_t>(good.size() - 20))},
        {"zero lengths up to the end", Bytes(64, 0)},
    };
    for (const auto& [what, data] : cases)
        EXPECT_FALSE(findParameterText(data)) << what;
    std::mt19937 gen(20240611);
    Bytes noise(1 << 20);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(gen());
    for (std::size_t size : {noise.size(), std::size_t{100}, std::size_t{36}}) {
        const auto at = findParameterText(std::span(noise).first(size));
        EXPECT_TRUE(!at || *at <= size);
    }
    for (std::size_t p = 8; p + 4 <= noise.size(); p += 16) // chunks of 16 bytes to the end
        std::copy_n(Bytes{0, 0, 0, 4}.begin(), 4, noise.begin() + static_cast<std::ptrdiff_t>(p));
    EXPECT_FALSE(findParameterText(noise));
}

} // namespace
} // namespace velq
