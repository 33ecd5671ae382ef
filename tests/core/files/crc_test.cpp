// CRC-32 check values and the running form of the checksum.
#include "core/files/crc.h"

#include <gtest/gtest.h>
#include <string_view>

namespace velq {
namespace {

std::span<const std::uint8_t> bytesOf(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(Crc, CheckValues) {
    struct Case {
        std::string_view text;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"", 0x00000000u},
        {"abc", 0x352441C2u},
        {"123456789", 0xCBF43926u},
        {"IEND", 0xAE426082u}, // the CRC every PNG file ends with
    };
    for (const Case& c : cases)
        EXPECT_EQ(crc(bytesOf(c.text)), c.expected) << '"' << c.text << '"';
}

TEST(Crc, TableEntries) {
    constexpr CrcTable table = make_crc_table();
    EXPECT_EQ(table[0], 0x00000000u);
    EXPECT_EQ(table[1], 0x77073096u);
    EXPECT_EQ(table[128], 0xEDB88320u);
    EXPECT_EQ(table[255], 0x2D02EF8Du);
}

TEST(Crc, RunningCrcInPiecesEqualsWhole) {
    const std::string_view text = "The quick brown fox jumps over the lazy dog";
    const std::uint32_t whole = crc(bytesOf(text));
    EXPECT_EQ(whole, 0x414FA339u);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        std::uint32_t running = update_crc(0xFFFFFFFFu, bytesOf(text.substr(0, cut)));
        running = update_crc(running, bytesOf(text.substr(cut)));
        EXPECT_EQ(running ^ 0xFFFFFFFFu, whole) << "cut at " << cut;
    }
}

TEST(Crc, NoBytesLeaveTheRunningCrcUnchanged) {
    EXPECT_EQ(update_crc(0x12345678u, {}), 0x12345678u);
}

} // namespace
} // namespace velq
