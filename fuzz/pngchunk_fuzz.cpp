// Fuzzes the scan for the parameter chunk, and its insertion, over arbitrary bytes.
#include "core/files/crc.h"
#include "core/files/pngchunk.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace {

using Bytes = std::span<const std::uint8_t>;

void check(bool promise) {
    if (!promise) std::abort();
}

std::uint32_t bigEndianAt(Bytes b, std::size_t p) {
    return std::uint32_t{b[p]} << 24 | std::uint32_t{b[p + 1]} << 16 |
           std::uint32_t{b[p + 2]} << 8 | std::uint32_t{b[p + 3]};
}

// "tEXt", the keyword and the separator stand right before a found text.
bool headedByTypeAndKeyword(Bytes b, std::size_t text) {
    const std::string head = "tEXt" + std::string(velq::kChunkKeyword);
    return text >= 8 + 4 + head.size() + 1 &&
           std::equal(head.begin(), head.end(),
                      b.begin() + static_cast<std::ptrdiff_t>(text - head.size() - 1),
                      [](char c, std::uint8_t x) { return static_cast<std::uint8_t>(c) == x; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, size);
    if (const auto text = velq::findParameterText(bytes))
        check(*text <= size && headedByTypeAndKeyword(bytes, *text));

    // Taken as an encoded PNG, the bytes get the chunk right after IHDR, with its length and
    // CRC, and the scan then finds it there when IHDR's length leads to it.
    const std::vector<std::uint8_t> png = velq::insertParameterChunk(bytes, velq::kStartView, 1.25);
    if (png.empty()) return 0;
    const Bytes out(png);
    const std::uint32_t n = bigEndianAt(out, velq::kIhdrEnd);
    check(png.size() == size + n + 12);
    check(std::equal(bytes.begin(), bytes.begin() + velq::kIhdrEnd, out.begin()));
    check(std::equal(bytes.begin() + velq::kIhdrEnd, bytes.end(),
                     out.begin() + velq::kIhdrEnd + n + 12));
    check(velq::crc(out.subspan(velq::kIhdrEnd + 4, n + 4)) ==
          bigEndianAt(out, velq::kIhdrEnd + 8 + n));
    if (bigEndianAt(bytes, 8) == 13) check(velq::findParameterText(out) == velq::kIhdrEnd + 28);
    return 0;
}
