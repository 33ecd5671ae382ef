// Table-driven CRC-32 over byte spans.
#include "core/files/crc.h"

namespace velq {

std::uint32_t update_crc(std::uint32_t running, std::span<const std::uint8_t> bytes) {
    // Computed at compile time, so no thread ever sees it half built.
    static constexpr CrcTable table = make_crc_table();
    for (const std::uint8_t b : bytes)
        running = table[(running ^ b) & 0xFFu] ^ (running >> 8);
    return running;
}

std::uint32_t crc(std::span<const std::uint8_t> bytes) {
    return update_crc(0xFFFFFFFFu, bytes) ^ 0xFFFFFFFFu;
}

} // namespace velq
