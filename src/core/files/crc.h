// CRC-32 as PNG chunks carry it: reflected polynomial 0xEDB88320, started at all ones,
// complemented.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace velq {

using CrcTable = std::array<std::uint32_t, 256>;

// Entry n is n shifted right eight times, XORed with the polynomial whenever a 1 drops out.
constexpr CrcTable make_crc_table() {
    CrcTable table{};
    for (std::uint32_t n = 0; n < table.size(); ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

// Continues a running, not yet complemented CRC over more bytes; a run starts at 0xFFFFFFFF.
std::uint32_t update_crc(std::uint32_t running, std::span<const std::uint8_t> bytes);

// The finished CRC-32 of the bytes; 0 for no bytes.
std::uint32_t crc(std::span<const std::uint8_t> bytes);

} // namespace velq
