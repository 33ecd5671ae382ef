// Fuzzes the parameter-line reader over arbitrary bytes from an arbitrary start position.
#include "core/files/paramline.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using velq::ParsedLine;

// A broken promise ends the run as a crash, which libFuzzer records with its input.
void check(bool promise) {
    if (!promise) std::abort();
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool sameLine(const ParsedLine& a, const ParsedLine& b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.w, b.w) &&
           sameBits(a.aspect, b.aspect) && a.it == b.it && a.cs == b.cs && a.cp == b.cp;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The text ends where libFuzzer's buffer ends, so a read past it is caught at once.
    const std::span<const char> text(reinterpret_cast<const char*>(data + 2), size - 2);
    // The first two bytes choose the start: anywhere in the text, at its end, or past it.
    const std::size_t start = (std::size_t{data[0]} << 8 | data[1]) % (text.size() + 2);

    velq::ParameterReader reader(text, start);
    std::vector<ParsedLine> lines;
    while (const auto line = reader.next()) {
        lines.push_back(*line);
        check(lines.size() <= text.size()); // every line uses up text: the reading ends
    }
    check(!reader.next()); // an ended reading stays ended

    // Reading depends on the bytes alone.
    velq::ParameterReader again(text, start);
    for (const ParsedLine& line : lines) {
        const auto repeated = again.next();
        check(repeated && sameLine(*repeated, line));
    }
    check(!again.next());
    return 0;
}
