// Parameter lines: the text form of a view in parameter files, the history log and PNG chunks.
#pragma once

#include "core/view/mandat.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <system_error>

namespace velq {

// One line as "%10.20lf %10.20lf %10.20lf %10.20lf %d 0x%08x %d\r\n" writes it in the C
// locale, whatever the process locale says (a decimal comma would make files unreadable).
// `aspect` is the picture's width over height at the time of writing. A deep view adds its
// extras on the same line, before the line end: " dx=<decimal> dy=<decimal>
// dw=<mantissa>e<exponent> dit=<integer>". Readers that stop after the seven fields skip them.
std::string parameterLine(const MANDAT& v, double aspect);

// A deep view's extras as a line carries them, with the space before them; empty for others.
std::string deepExtras(const MANDAT& v);

// A double as the first four fields of a line print it: "%10.20lf".
std::string fixedField(double v);

// Appends one line to the file, creating it when missing, by the writers' rules of
// filebytes.h. A line that does not fit on the disk is taken off again: the file keeps its old
// lines and only whole ones. Returns the reason the line could not be added.
std::error_code appendParameterLine(const std::string& path, const MANDAT& v, double aspect);

struct ParsedLine {
    double x = 0, y = 0, w = 0;
    double aspect = 0;   // read but never applied: opening a file keeps the window's shape
    std::int32_t it = 0; // as read; the caller rounds it to an allowed limit
    std::int32_t cs = 0;
    std::int32_t cp = 0; // as read; the caller clamps the rotation
    // The text of the first two fields as it stands, and a deep view's extras after the seventh
    // field ("dx=... dy=... dw=... dit=..."), as text; empty when the line has none.
    std::string xText{}, yText{};
    std::string dx{}, dy{}, dw{}, dit{};

    // The seven fields' values; the texts they came from are not part of the line's view.
    friend bool operator==(const ParsedLine& a, const ParsedLine& b) {
        return a.x == b.x && a.y == b.y && a.w == b.w && a.aspect == b.aspect && a.it == b.it &&
               a.cs == b.cs && a.cp == b.cp;
    }
};

// Reads parameter lines one after the other from bytes that need no terminating zero.
//
// Each line matches "%lf %lf %lf %lf %d 0x%08x %d\n" as formatted input would: white space,
// line ends included, may stand before any field; a double is anything strtod takes (fixed,
// exponent, hex, inf, nan, with a sign), read without regard to the process locale; "0x" is
// required and followed by one to eight hex digits, the value kept as a 32-bit pattern; an
// integer is an optional sign and decimal digits, clamped to the 32-bit range when too large.
// After a line the reader moves on to the next CR or LF, so junk after the seventh field ends
// only that line. A line that does not match ends the reading.
class ParameterReader {
public:
    ParameterReader(std::span<const char> data, std::size_t start) : data_(data), pos_(start) {}

    // The next line, or nothing once a line fails to match or the data is used up.
    std::optional<ParsedLine> next();

private:
    std::span<const char> data_;
    std::size_t pos_;
    bool ended_ = false;
};

} // namespace velq
