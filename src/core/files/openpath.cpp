// Deciding how a file is read and turning its lines into views.
#include "core/files/openpath.h"

#include "core/colour/colormap.h"
#include "core/deep/deepview.h"
#include "core/files/pngchunk.h"
#include "core/view/iterationlimit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
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

namespace {

// The deep part of a line: only when its centre, rounded to doubles, is what the first two
// fields say; a line edited by hand keeps its seven fields.
std::shared_ptr<const DeepView> deepOf(const ParsedLine& line) {
    if (line.dx.empty()) return nullptr;
    const std::optional<ExtFloat> w = ExtFloat::parse(line.dw);
    std::int64_t it = 0;
    const auto [end, ec] = std::from_chars(line.dit.data(), line.dit.data() + line.dit.size(), it);
    if (!w || !(ExtFloat(0.0) < *w) || !fitsDouble(*w) || ec != std::errc() ||
        end != line.dit.data() + line.dit.size())
        return nullptr;
    // As many bits as the depth needs, as the writer had them: the decimals read back exactly.
    const long bits = centreBits(*w);
    std::optional<Real> x = Real::parse(line.dx, bits), y = Real::parse(line.dy, bits);
    if (!x || !y || fixedField(x->toDouble()) != line.xText ||
        fixedField(y->toDouble()) != line.yText)
        return nullptr;
    return std::make_shared<const DeepView>(
        DeepView{std::move(*x), std::move(*y), *w, allowedDeepLimit(it)});
}

} // namespace

MANDAT viewOf(const ParsedLine& line, bool deep) {
    MANDAT v{line.x, line.y, line.w, allowedLimit(line.it), line.cs, clampRotation(line.cp)};
    if (deep) v.deep = deepOf(line);
    if (v.deep) v.w = v.deep->w.toDouble(); // the fields hold the deep view rounded
    return v;
}

} // namespace velq
