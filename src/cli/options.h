// Command-line arguments of the headless renderer.
#pragma once

#include "engine/mandat.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velq {

struct RenderOptions {
    MANDAT view{};
    int width = 0;      // a positive multiple of 16
    int height = 0;     // a positive multiple of 16
    std::string out;    // PNG of the picture, if given
    std::string counts; // raw little-endian int16 counts, if given
};

struct ParsedArguments {
    std::optional<RenderOptions> options;
    std::string error; // one line naming the offending argument, when options is empty
};

ParsedArguments parseArguments(std::span<const std::string_view> args);

// Number readers that take the whole text or nothing.
std::optional<double> parseDouble(std::string_view text);
std::optional<int> parseInt(std::string_view text);
// A colour word: decimal or 0x-hexadecimal, up to 32 bits.
std::optional<int> parseColourWord(std::string_view text);

inline constexpr std::string_view kUsage =
    "usage: velq-render --view X Y W IT CS CP --size WxH [--out FILE.png] [--counts FILE]";

} // namespace velq
