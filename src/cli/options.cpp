// Parsing of the renderer's arguments: every number whole, sizes in steps of 16.
#include "cli/options.h"

#include "core/benchmark/benchmarksequences.h"
#include "core/gallery/gallery.h"
#include "core/render/fastkernel.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

namespace velq {
namespace {

using Error = std::optional<std::string>;
using Values = std::span<const std::string_view>;

std::string quoted(std::string_view text) {
    std::string q(1, '\'');
    q.append(text);
    q.push_back('\'');
    return q;
}

std::optional<std::pair<int, int>> parsePair(std::string_view text) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    const auto w = parseInt(text.substr(0, x));
    const auto h = parseInt(text.substr(x + 1));
    if (!w || !h) return std::nullopt;
    return std::pair{*w, *h};
}

bool isPictureSide(int n) {
    return n > 0 && n % 16 == 0 && n <= kMaxExportSide;
}

// Everything read so far, with what is only checked once all arguments are in.
struct Draft {
    RenderOptions options;
    std::vector<std::string_view> seen; // flags in the order given
    std::string_view sourceFlag;
    bool thumbnail = false;
    std::optional<std::pair<int, int>> exportSize;
    bool antialias = false;
    bool haveSize = false;
};

Error setSource(Draft& d, ViewSource source, std::string_view flag) {
    if (d.options.source != ViewSource::None)
        return "only one of --view, --gallery, --mdl, --png (already " + std::string(d.sourceFlag) +
               ")";
    d.options.source = source;
    d.sourceFlag = flag;
    return std::nullopt;
}

Error applyView(Draft& d, Values v) {
    static constexpr const char* names[] = {"X", "Y", "W", "IT", "CS", "CP"};
    double xyw[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto value = parseDouble(v[i]);
        if (!value) return std::string(names[i]) + " " + quoted(v[i]) + " is not a number";
        xyw[i] = *value;
    }
    const auto it = parseInt(v[3]), cs = parseColourWord(v[4]), cp = parseInt(v[5]);
    if (!it) return "IT " + quoted(v[3]) + " is not an integer";
    if (!cs) return "CS " + quoted(v[4]) + " is not a colour word";
    if (!cp) return "CP " + quoted(v[5]) + " is not an integer";
    d.options.view = mkMandat(xyw[0], xyw[1], xyw[2], *it, *cs, *cp);
    return setSource(d, ViewSource::View, "--view");
}

Error applyGallery(Draft& d, Values v) {
    const auto tag = parseInt(v[0]);
    if (!tag || !galleryPreset(*tag))
        return quoted(v[0]) + " is not a gallery tag (" + std::to_string(kFirstGalleryTag) + ".." +
               std::to_string(kLastGalleryTag) + ")";
    d.options.galleryTag = *tag;
    return setSource(d, ViewSource::Gallery, "--gallery");
}

Error applyMdl(Draft& d, Values v) {
    d.options.file = std::string(v[0]);
    return setSource(d, ViewSource::Mdl, "--mdl");
}

Error applyPng(Draft& d, Values v) {
    d.options.file = std::string(v[0]);
    return setSource(d, ViewSource::Png, "--png");
}

Error applySize(Draft& d, Values v) {
    const auto size = parsePair(v[0]);
    if (!size || !isPictureSide(size->first) || !isPictureSide(size->second))
        return quoted(v[0]) + " is not WxH with positive multiples of 16 up to " +
               std::to_string(kMaxExportSide);
    d.options.width = size->first;
    d.options.height = size->second;
    d.haveSize = true;
    return std::nullopt;
}

Error applyOut(Draft& d, Values v) {
    d.options.out = std::string(v[0]);
    return std::nullopt;
}

Error applyCounts(Draft& d, Values v) {
    d.options.counts = std::string(v[0]);
    return std::nullopt;
}

Error applyThumbnail(Draft& d, Values) {
    d.thumbnail = true;
    return std::nullopt;
}

Error applyExport(Draft& d, Values v) {
    d.exportSize = parsePair(v[0]);
    if (!d.exportSize) return quoted(v[0]) + " is not WxH";
    return std::nullopt;
}

Error applyAntialias(Draft& d, Values) {
    d.antialias = true;
    return std::nullopt;
}

Error applyKernel(Draft& d, Values v) {
    d.options.kernel = kernelNamed(v[0]);
    if (!d.options.kernel) return quoted(v[0]) + " is not reference or fast";
    return std::nullopt;
}

Error applyBench(Draft& d, Values v) {
    const auto tag = parseInt(v[0]);
    if (!tag || !benchmarkSequence(*tag)) return quoted(v[0]) + " is not a sequence (1..4)";
    d.options.bench = *tag;
    return std::nullopt;
}

Error applyFrames(Draft& d, Values v) {
    const auto frames = parseInt(v[0]);
    if (!frames || *frames < 1) return quoted(v[0]) + " is not a positive number of frames";
    d.options.frames = *frames;
    return std::nullopt;
}

struct Flag {
    std::string_view name;
    std::string_view valueNames; // what follows the flag; empty for a switch
    std::size_t arity;
    Error (*apply)(Draft&, Values);
};

constexpr Flag kFlags[] = {
    {"--view", "X Y W IT CS CP", 6, applyView},
    {"--gallery", "TAG", 1, applyGallery},
    {"--mdl", "FILE", 1, applyMdl},
    {"--png", "FILE", 1, applyPng},
    {"--size", "WxH", 1, applySize},
    {"--out", "FILE", 1, applyOut},
    {"--counts", "FILE", 1, applyCounts},
    {"--thumbnail", "", 0, applyThumbnail},
    {"--export", "WxH", 1, applyExport},
    {"--antialias", "", 0, applyAntialias},
    {"--kernel", "reference|fast", 1, applyKernel},
    {"--bench", "N", 1, applyBench},
    {"--frames", "F", 1, applyFrames},
};

bool saw(const Draft& d, std::string_view flag) {
    return std::find(d.seen.begin(), d.seen.end(), flag) != d.seen.end();
}

// Which flags go together, and the export plan: checked once every argument is read.
Error finish(Draft& d) {
    RenderOptions& o = d.options;
    if (o.bench != 0) {
        for (std::string_view flag : d.seen)
            if (flag != "--bench" && flag != "--kernel" && flag != "--frames")
                return std::string(flag) + ": not with --bench";
        return std::nullopt;
    }
    if (saw(d, "--frames")) return "--frames: only with --bench";
    if (o.source == ViewSource::None) return "--view, --gallery, --mdl or --png: missing";
    if (d.thumbnail && d.exportSize) return "--export: not with --thumbnail";
    if (d.antialias && !d.exportSize) return "--antialias: only with --export";
    if (d.thumbnail || d.exportSize) {
        const char* flag = d.thumbnail ? "--thumbnail" : "--export";
        if (o.out.empty()) return std::string(flag) + ": needs --out";
        std::string why;
        o.exportPlan = d.thumbnail ? planExport(ExportKind::Thumbnail, 0, 0, false)
                                   : planExport(ExportKind::Typed, d.exportSize->first,
                                                d.exportSize->second, d.antialias, &why);
        if (!o.exportPlan) return std::string(flag) + ": " + why;
    } else if (!d.haveSize) {
        return "--size: missing";
    }
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
    Draft d;
    d.options.kernel = kernelNamed("fast");
    std::size_t next = 0;
    while (next < args.size()) {
        const std::string_view name = args[next++];
        const auto flag = std::find_if(std::begin(kFlags), std::end(kFlags),
                                       [name](const Flag& f) { return f.name == name; });
        if (flag == std::end(kFlags)) return {std::nullopt, quoted(name) + ": unknown argument"};
        const std::string prefix = std::string(name) + ": ";
        if (saw(d, name)) return {std::nullopt, prefix + "given twice"};
        d.seen.push_back(name);
        // A value never starts with "--": that is the next flag, and this one lacks its value.
        const Values values = args.subspan(next, std::min(flag->arity, args.size() - next));
        const bool complete = values.size() == flag->arity &&
                              std::none_of(values.begin(), values.end(), [](std::string_view v) {
                                  return v.empty() || v.starts_with("--");
                              });
        if (!complete) return {std::nullopt, prefix + "expects " + std::string(flag->valueNames)};
        next += flag->arity;
        if (Error error = flag->apply(d, values)) return {std::nullopt, prefix + *error};
    }
    if (Error error = finish(d)) return {std::nullopt, *error};
    return {std::move(d.options), {}};
}

} // namespace velq
