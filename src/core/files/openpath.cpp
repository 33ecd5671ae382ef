// Deciding how a file is read and turning its lines into views.
#include "core/files/openpath.h"

#include "core/colour/colormap.h"
#include "core/files/pngchunk.h"
#include "core/view/iterationlimit.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace velq {
namespace {

std::string_view extensionOf(std::string_view path) {
    const auto slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

FileKind fileKindOf(std::string_view path) {
    return equalsIgnoringCase(extensionOf(path), "png") ? FileKind::Png : FileKind::Parameters;
}

bool hasAcceptedExtension(std::string_view path) {
    const std::string_view ext = extensionOf(path);
    return equalsIgnoringCase(ext, "png") || equalsIgnoringCase(ext, "mdl");
}

std::optional<std::size_t> parameterTextStart(std::span<const char> data, FileKind kind) {
    if (kind == FileKind::Parameters) return 0;
    return findParameterText(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
}

MANDAT viewOf(const ParsedLine& line) {
    return {line.x, line.y, line.w, allowedLimit(line.it), line.cs, clampRotation(line.cp)};
}

} // namespace velq
