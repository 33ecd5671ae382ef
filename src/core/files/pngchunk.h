// The parameter chunk of exported PNG files: building it, inserting it after IHDR, finding it
// again.
#pragma once

#include "core/view/mandat.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velq {

inline constexpr std::string_view kChunkKeyword = "Velquorantisphaeron";

// Signature (8 bytes) and the IHDR chunk (25 bytes): the parameter chunk goes right after them.
inline constexpr std::size_t kIhdrEnd = 33;

// The chunk from its type to its last text byte: "tEXt", the keyword, a zero byte, the view's
// parameter line (CR LF included), then "(", the home address, ")". No terminating zero.
// `aspect` is the picture's width / height.
std::string parameterChunkText(const MANDAT& v, double aspect);

// `png` with the parameter chunk (length, text, CRC) inserted at byte 33. Empty when `png` is
// too short to hold IHDR or its first chunk is not IHDR.
std::vector<std::uint8_t> insertParameterChunk(std::span<const std::uint8_t> png, const MANDAT& v,
                                               double aspect);

// Walks the chunks after the signature and returns the position of the parameter chunk's first
// text byte (at most data.size()), or nothing. Reads only inside `data`, whatever it holds.
std::optional<std::size_t> findParameterText(std::span<const std::uint8_t> data);

} // namespace velq
