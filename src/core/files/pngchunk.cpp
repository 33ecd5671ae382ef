// Inserting the parameter chunk into encoded PNG bytes and scanning files for it.
#include "core/files/pngchunk.h"

#include "core/files/crc.h"
#include "core/files/homeaddress.h"
#include "core/files/paramline.h"

#include <algorithm>

namespace velq {
namespace {

constexpr std::string_view kChunkType = "tEXt";

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t readBigEndian(std::span<const std::uint8_t> data, std::size_t p) {
    return std::uint32_t{data[p]} << 24 | std::uint32_t{data[p + 1]} << 16 |
           std::uint32_t{data[p + 2]} << 8 | std::uint32_t{data[p + 3]};
}

bool bytesEqual(std::span<const std::uint8_t> data, std::size_t p, std::string_view s) {
    return std::equal(s.begin(), s.end(), data.begin() + static_cast<std::ptrdiff_t>(p),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

} // namespace

std::string parameterChunkText(const MANDAT& v, double aspect) {
    std::string text;
    text += kChunkType;
    text += kChunkKeyword;
    text += '\0';
    text += parameterLine(v, aspect);
    text += '(';
    text += kHomeAddress;
    text += ')';
    return text;
}

std::vector<std::uint8_t> insertParameterChunk(std::span<const std::uint8_t> png, const MANDAT& v,
                                               double aspect) {
    if (png.size() < kIhdrEnd || !bytesEqual(png, 12, "IHDR")) return {};
    const std::string text = parameterChunkText(v, aspect);
    const std::span<const std::uint8_t> textBytes(
        reinterpret_cast<const std::uint8_t*>(text.data()), text.size());

    std::vector<std::uint8_t> out;
    out.reserve(png.size() + text.size() + 8);
    out.insert(out.end(), png.begin(), png.begin() + kIhdrEnd);
    // The length field counts the chunk's data, which is everything after the type.
    appendBigEndian(out, static_cast<std::uint32_t>(text.size() - kChunkType.size()));
    out.insert(out.end(), textBytes.begin(), textBytes.end());
    appendBigEndian(out, crc(textBytes));
    out.insert(out.end(), png.begin() + kIhdrEnd, png.end());
    return out;
}

std::optional<std::size_t> findParameterText(std::span<const std::uint8_t> data) {
    // Offsets from a chunk's start: length, then type and keyword, the separator, the text.
    constexpr std::uint64_t kTypeAt = 4;
    constexpr std::uint64_t kTextAt = kTypeAt + kChunkType.size() + kChunkKeyword.size() + 1;
    constexpr std::uint64_t kFraming = 12; // length, type and CRC around the data
    const std::uint64_t size = data.size();
    if (size <= 8) return std::nullopt;

    // 64-bit positions: a length of 0xFFFFFFFF must not wrap back into the file.
    std::uint64_t p = 8; // the signature is not compared: any leading 8 bytes will do
    while (p + kTypeAt <= size) {
        // A file that ends before the separator would hand back a text start beyond its end.
        if (p + kTextAt <= size) {
            const auto at = static_cast<std::size_t>(p + kTypeAt);
            if (bytesEqual(data, at, kChunkType) &&
                bytesEqual(data, at + kChunkType.size(), kChunkKeyword))
                return static_cast<std::size_t>(p + kTextAt);
        }
        const std::uint64_t n = readBigEndian(data, static_cast<std::size_t>(p));
        if (n + kFraming >= size - p)
            return std::nullopt; // the next chunk would start at or past the end
        p += n + kFraming;
    }
    return std::nullopt;
}

} // namespace velq
