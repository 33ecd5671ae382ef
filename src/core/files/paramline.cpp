// Writing and reading of parameter lines.
#include "core/files/paramline.h"

#include "core/deep/deepview.h"
#include "core/files/filebytes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <system_error>

namespace velq {
namespace {

// "%10.20lf ": only inf and nan are short enough for the width to add padding.
void appendFixed(std::string& out, double v) {
    std::array<char, 352> buf; // the largest double has 309 digits before the point
    const auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, 20);
    const auto n = static_cast<std::size_t>(r.ptr - buf.data());
    if (n < 10) out.append(10 - n, ' ');
    out.append(buf.data(), n);
    out += ' ';
}

// "%d"
void appendDecimal(std::string& out, std::int32_t v) {
    std::array<char, 12> buf;
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    out.append(buf.data(), r.ptr);
}

// "0x%08x"
void appendHex8(std::string& out, std::int32_t v) {
    std::array<char, 8> buf;
    const auto r =
        std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<std::uint32_t>(v), 16);
    const auto n = static_cast<std::size_t>(r.ptr - buf.data());
    out += "0x";
    out.append(8 - n, '0');
    out.append(buf.data(), n);
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// For a number (without sign) that is out of the double range: whether it is too large rather
// than too small. The sign of its order of magnitude decides, since out of range means far
// beyond 1 in one direction or the other.
bool overflows(std::string_view number, bool hex) {
    long long order = 0; // digits between the point and the leading significant digit
    bool point = false;
    bool significant = false;
    std::size_t i = 0;
    for (; i < number.size(); ++i) {
        const char c = number[i];
        if (c == '.') {
            point = true;
            continue;
        }
        if (hex ? hexValue(c) < 0 : !isDigit(c)) break;
        significant = significant || c != '0';
        if (significant && !point) ++order;
        if (!significant && point) --order;
    }
    long long exponent = 0;
    bool negative = false;
    if (i < number.size()) {
        ++i; // past the 'e' or 'p'
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
            negative = number[i] == '-';
            ++i;
        }
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000'000'000LL);
    }
    return (hex ? 4 * order : order) + (negative ? -exponent : exponent) > 0;
}

// Formatted input over [p, end): never looks at or beyond end.
class Scanner {
public:
    Scanner(const char* p, const char* end) : p_(p), end_(end) {}

    bool readLine(ParsedLine& l) {
        return readDouble(l.x, &l.xText) && readDouble(l.y, &l.yText) && readDouble(l.w) &&
               readDouble(l.aspect) && readInt(l.it) && readHex(l.cs) && readInt(l.cp);
    }

    // A deep view's extras between the seventh field and the line's end; the line is left as
    // it is when any of the four is missing.
    void readExtras(ParsedLine& l) const {
        const std::string_view rest(p_, static_cast<std::size_t>(lineEnd() - p_));
        std::string* fields[] = {&l.dx, &l.dy, &l.dw, &l.dit};
        const std::string_view names[] = {" dx=", " dy=", " dw=", " dit="};
        for (std::size_t k = 0; k < 4; ++k) {
            const std::size_t at = rest.find(names[k]);
            if (at == std::string_view::npos) {
                for (std::string* f : fields)
                    f->clear();
                return;
            }
            const std::size_t from = at + names[k].size();
            *fields[k] = rest.substr(from, rest.find(' ', from) - from);
        }
    }

    // Where the line read ends: its CR or LF, or the end of the data.
    const char* lineEnd() const { return std::find_if(p_, end_, isLineEnd); }

private:
    void skipSpace() { p_ = std::find_if_not(p_, end_, isSpace); }

    bool readDouble(double& out, std::string* text = nullptr);
    bool readInt(std::int32_t& out);
    bool readHex(std::int32_t& out);

    const char* p_;
    const char* end_;
};

bool Scanner::readDouble(double& out, std::string* text) {
    skipSpace();
    const char* q = p_;
    const char* start = p_;
    const bool negative = q != end_ && *q == '-';
    if (q != end_ && (*q == '+' || *q == '-')) ++q;
    // from_chars would accept a minus sign here; strtod takes only one sign.
    if (q == end_ || *q == '+' || *q == '-') return false;
    double v = 0;
    std::from_chars_result r{};
    bool hex = end_ - q > 2 && q[0] == '0' && (q[1] == 'x' || q[1] == 'X') && q[2] != '-';
    if (hex) {
        r = std::from_chars(q + 2, end_, v, std::chars_format::hex);
        // "0x" without hex digits is the number 0 followed by other text, as for strtod.
        hex = r.ec != std::errc::invalid_argument;
    }
    const char* number = hex ? q + 2 : q;
    if (!hex) r = std::from_chars(q, end_, v);
    if (r.ec == std::errc::invalid_argument) return false;
    if (r.ec == std::errc::result_out_of_range) {
        const std::string_view text(number, static_cast<std::size_t>(r.ptr - number));
        v = overflows(text, hex) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    p_ = r.ptr;
    out = negative ? -v : v;
    if (text) text->assign(start, p_);
    return true;
}

bool Scanner::readInt(std::int32_t& out) {
    skipSpace();
    const char* q = p_;
    const bool negative = q != end_ && *q == '-';
    if (q != end_ && (*q == '+' || *q == '-')) ++q;
    if (q == end_ || !isDigit(*q)) return false;
    using Limits = std::numeric_limits<std::int32_t>;
    // Saturating one beyond the range is enough for the clamp to see an overflow.
    constexpr std::int64_t cap = std::int64_t{Limits::max()} + 1;
    std::int64_t magnitude = 0;
    for (; q != end_ && isDigit(*q); ++q)
        magnitude = std::min(cap, magnitude * 10 + (*q - '0'));
    p_ = q;
    out = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(negative ? -magnitude : magnitude, Limits::min(), Limits::max()));
    return true;
}

bool Scanner::readHex(std::int32_t& out) {
    skipSpace();
    if (end_ - p_ < 3 || p_[0] != '0' || p_[1] != 'x') return false;
    const char* first = p_ + 2;
    const char* last = first + std::min<std::ptrdiff_t>(8, end_ - first);
    std::uint32_t v = 0;
    const char* q = first;
    for (; q != last && hexValue(*q) >= 0; ++q)
        v = v * 16 + static_cast<std::uint32_t>(hexValue(*q));
    if (q == first) return false;
    p_ = q;
    out = static_cast<std::int32_t>(v);
    return true;
}

} // namespace

std::string parameterLine(const MANDAT& v, double aspect) {
    std::string line;
    for (double d : {v.x, v.y, v.w, aspect})
        appendFixed(line, d);
    appendDecimal(line, v.it);
    line += ' ';
    appendHex8(line, v.cs);
    line += ' ';
    appendDecimal(line, v.cp);
    line += deepExtras(v);
    line += "\r\n";
    return line;
}

std::string deepExtras(const MANDAT& v) {
    if (!v.deep) return {};
    const DeepView& d = *v.deep;
    // As many decimals as the centre has bits, and two more: they read back exactly.
    const int decimals = static_cast<int>(std::ceil(d.x.bits() * 0.30103)) + 2;
    return " dx=" + d.x.fixed(decimals) + " dy=" + d.y.fixed(decimals) + " dw=" + d.w.text() +
           " dit=" + std::to_string(d.it);
}

std::string fixedField(double v) {
    std::string text;
    appendFixed(text, v);
    text.pop_back(); // the space after it
    return text;
}

std::error_code appendParameterLine(const std::string& path, const MANDAT& v, double aspect) {
    const std::string line = parameterLine(v, aspect);
    return appendToFile(path,
                        std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
}

std::optional<ParsedLine> ParameterReader::next() {
    if (ended_ || pos_ >= data_.size()) {
        ended_ = true;
        return std::nullopt;
    }
    const char* begin = data_.data();
    Scanner scanner(begin + pos_, begin + data_.size());
    ParsedLine line;
    if (!scanner.readLine(line)) {
        ended_ = true;
        return std::nullopt;
    }
    scanner.readExtras(line);
    // Junk after the seventh field ends only its own line.
    pos_ = static_cast<std::size_t>(scanner.lineEnd() - begin);
    return line;
}

} // namespace velq
