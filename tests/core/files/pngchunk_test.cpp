// The parameter chunk: CRC-32, its layout at byte 33, and the scan that finds it in any bytes.
#include "core/files/crc.h"
#include "core/files/homeaddress.h"
#include "core/files/pngchunk.h"

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
    EXPECT_EQ(std::tuple(table[1], table[128], table[255]),
              std::tuple(0x77073096u, 0xEDB88320u, 0x2D02EF8Du));
    const std::string_view text = "The quick brown fox jumps over the lazy dog";
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, text.size()}) {
        const std::uint32_t running = update_crc(0xFFFFFFFFu, bytesOf(text.substr(0, cut)));
        EXPECT_EQ(update_crc(running, bytesOf(text.substr(cut))) ^ 0xFFFFFFFFu, 0x414FA339u);
    }
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
constexpr MANDAT kView{-0.75, 0.1, 0.5, 1024, 0x782, 250};

TEST(ParameterChunk, TextLengthAndCrcRightAfterIhdr) {
    const std::string text = parameterChunkText(kView, 4.0 / 3.0);
    EXPECT_EQ(text, std::string("tEXtVelquorantisphaeron") + '\0' +
                        "-0.75000000000000000000 0.10000000000000000555 0.50000000000000000000 "
                        "1.33333333333333325932 1024 0x00000782 250\r\n(" +
                        std::string(kHomeAddress) + ")");
    const Bytes want = png({{"IHDR", kIhdr},
                            {"tEXt", Bytes(text.begin() + 4, text.end())},
                            {"IDAT", kIdat},
                            {"IEND", {}}});
    EXPECT_EQ(insertParameterChunk(kPng, kView, 4.0 / 3.0), want);
    EXPECT_EQ(findParameterText(want), 61u);
    EXPECT_TRUE(insertParameterChunk(std::span(kPng).first(32), kView, 1.0).empty());
    EXPECT_FALSE(insertParameterChunk(std::span(kPng).first(33), kView, 1.0).empty());
    Bytes notIhdr = kPng;
    notIhdr[15] = 'X';
    EXPECT_TRUE(insertParameterChunk(notIhdr, kView, 1.0).empty());
}

TEST(ParameterChunk, FoundWhereverItIsAndOnlyWithTypeAndKeyword) {
    const Bytes good = insertParameterChunk(kPng, kView, 1.0);
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
    std::mt19937 gen(20240611);
    Bytes noise(1 << 20);
    for (std::size_t p = 0; p < noise.size(); ++p) // chunks of 16 bytes to the end, else noise
        noise[p] = p < 8 || (p - 8) % 16 > 3 ? static_cast<std::uint8_t>(gen())
                   : (p - 8) % 16 == 3       ? 4
                                             : 0;
    EXPECT_FALSE(findParameterText(noise));
    for (std::size_t p = 0; p < noise.size(); ++p)
        noise[p] = static_cast<std::uint8_t>(gen());
    for (std::size_t cut : {noise.size(), std::size_t{100}, std::size_t{36}}) {
        const auto at = findParameterText(std::span(noise).first(cut));
        EXPECT_TRUE(!at || *at <= cut);
    }
}

} // namespace
} // namespace velq
