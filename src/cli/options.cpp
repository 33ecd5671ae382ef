// Parsing of the renderer's arguments: every number whole, sizes in steps of 16.
#include "cli/options.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace velq {
namespace {

std::string quoted(std::string_view text) {
    std::string q(1, '\'');
    q.append(text);
    q.push_back('\'');
    return q;
}

std::optional<std::pair<int, int>> parseSize(std::string_view text) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    const auto w = parseInt(text.substr(0, x));
    const auto h = parseInt(text.substr(x + 1));
    if (!w || !h || *w <= 0 || *h <= 0 || *w % 16 != 0 || *h % 16 != 0) return std::nullopt;
    return std::pair{*w, *h};
}

struct Cursor {
    std::span<const std::string_view> args;
    std::size_t next = 0;
    bool done() const { return next >= args.size(); }
    std::optional<std::string_view> take() {
        if (done()) return std::nullopt;
        return args[next++];
    }
};

std::optional<std::string> parseView(Cursor& cursor, MANDAT& view) {
    static constexpr const char* names[] = {"X", "Y", "W", "IT", "CS", "CP"};
    std::string_view fields[6];
    for (int i = 0; i < 6; ++i) {
        const auto field = cursor.take();
        if (!field) return std::string("--view: missing ") + names[i];
        fields[i] = *field;
    }
    const auto x = parseDouble(fields[0]), y = parseDouble(fields[1]), w = parseDouble(fields[2]);
    const auto it = parseInt(fields[3]), cs = parseColourWord(fields[4]), cp = parseInt(fields[5]);
    const std::optional<double>* doubles[] = {&x, &y, &w};
    for (int i = 0; i < 3; ++i)
        if (!*doubles[i])
            return "--view " + std::string(names[i]) + ": " + quoted(fields[i]) +
                   " is not a number";
    if (!it) return "--view IT: " + quoted(fields[3]) + " is not an integer";
    if (!cs) return "--view CS: " + quoted(fields[4]) + " is not a colour word";
    if (!cp) return "--view CP: " + quoted(fields[5]) + " is not an integer";
    view = MANDAT{*x, *y, *w, *it, *cs, *cp};
    return std::nullopt;
}

} // namespace

std::optional<double> parseDouble(std::string_view text) {
    const std::string s(text);
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size()) return std::nullopt;
    return value;
}

std::optional<int> parseInt(std::string_view text) {
    const std::string s(text);
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(s.c_str(), &end, 10);
    if (end != s.c_str() + s.size() || errno == ERANGE || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int> parseColourWord(std::string_view text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string s(hex ? text.substr(2) : text);
    if (s.empty() || s[0] == '-' || s[0] == '+') return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(s.c_str(), &end, hex ? 16 : 10);
    if (end != s.c_str() + s.size() || errno == ERANGE ||
        value > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

ParsedArguments parseArguments(std::span<const std::string_view> args) {
    RenderOptions options;
    bool haveView = false, haveSize = false;
    Cursor cursor{args};
    while (!cursor.done()) {
        const std::string_view flag = *cursor.take();
        if (flag == "--view") {
            if (auto error = parseView(cursor, options.view)) return {std::nullopt, *error};
            haveView = true;
        } else if (flag == "--size") {
            const auto text = cursor.take();
            const auto size = text ? parseSize(*text) : std::nullopt;
            if (!size)
                return {std::nullopt, "--size: " + (text ? quoted(*text) : std::string("missing")) +
                                          " is not WxH with positive multiples of 16"};
            options.width = size->first;
            options.height = size->second;
            haveSize = true;
        } else if (flag == "--out" || flag == "--counts") {
            const auto path = cursor.take();
            if (!path || path->empty())
                return {std::nullopt, std::string(flag) + ": missing file name"};
            (flag == "--out" ? options.out : options.counts) = std::string(*path);
        } else {
            return {std::nullopt, quoted(flag) + ": unknown argument"};
        }
    }
    if (!haveView) return {std::nullopt, "--view: missing"};
    if (!haveSize) return {std::nullopt, "--size: missing"};
    return {options, {}};
}

} // namespace velq
