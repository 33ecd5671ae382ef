// Parsing of the renderer's arguments: every number whole, sizes in steps of 16.
#include "cli/options.h"

#include "core/deep/deeparith.h"
#include "core/gallery/gallery.h"
#include "core/movie/bands.h"
#include "core/render/fastkernel.h"
#include "core/view/iterationlimit.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <tuple>
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
    Answer answer = Answer::None;
    Values viewText; // --view's six values, read again as a deep view under --deep
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
    d.viewText = v;
    return setSource(d, ViewSource::View, "--view");
}

Error applyDeep(Draft& d, Values) {
    d.options.deep = true;
    return std::nullopt;
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
    // The same bound as --export's: a larger picture's buffers would not fit in memory.
    if (static_cast<long long>(size->first) * size->second > kMaxExportPixels)
        return quoted(v[0]) + " has more than " + std::to_string(kMaxExportPixels) + " pixels";
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

// What --bench takes, and the benchmark each name runs: the Benchmark menu's sequences.
struct Benchmark {
    std::string_view name;
    int sequence;
};
constexpr Benchmark kBenchmarks[] = {
    {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"zoom", kZoomBench}, {"deep", kDeepBench}};

Error applyBench(Draft& d, Values v) {
    const auto known = std::find_if(std::begin(kBenchmarks), std::end(kBenchmarks),
                                    [&](const Benchmark& b) { return b.name == v[0]; });
    if (known == std::end(kBenchmarks)) {
        std::string names;
        for (const Benchmark& b : kBenchmarks)
            names.append(names.empty() ? "" : ", ").append(b.name);
        return quoted(v[0]) + " is not a benchmark (" + names + ")";
    }
    d.options.bench = known->sequence;
    return std::nullopt;
}

Error applyFrames(Draft& d, Values v) {
    const auto frames = parseInt(v[0]);
    if (!frames || *frames < 1) return quoted(v[0]) + " is not a positive number of frames";
    d.options.frames = *frames;
    return std::nullopt;
}

Error applyQuiet(Draft& d, Values) {
    d.options.quiet = true;
    return std::nullopt;
}

Error applyMovie(Draft& d, Values v) {
    const auto frames = parseInt(v[0]);
    if (!frames || *frames < 2 || *frames > 999999)
        return quoted(v[0]) + " is not a number of frames from 2 to 999999";
    d.options.movie = *frames;
    return std::nullopt;
}

Error applyVideo(Draft& d, Values v) {
    std::string lower(v[0]);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (!lower.ends_with(".mp4") && !lower.ends_with(".webm"))
        return quoted(v[0]) + " does not end in .mp4 or .webm";
    d.options.video = std::string(v[0]);
    return std::nullopt;
}

Error applyFps(Draft& d, Values v) {
    const auto fps = parseDouble(v[0]);
    if (!fps || !(*fps > 0) || *fps > 1000)
        return quoted(v[0]) + " is not a frame rate above 0 and up to 1000";
    // In the plain form ffmpeg reads, whatever form strtod took.
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", *fps);
    d.options.fps = text;
    return std::nullopt;
}

// "A-B" and "K/N": two whole numbers from 1, the first not above the second.
std::optional<std::pair<int, int>> parseOrderedPair(std::string_view text, char separator) {
    const auto at = text.find(separator);
    if (at == std::string_view::npos) return std::nullopt;
    const auto a = parseInt(text.substr(0, at)), b = parseInt(text.substr(at + 1));
    if (!a || !b || *a < 1 || *a > *b) return std::nullopt;
    return std::pair{*a, *b};
}

Error applyFrameRange(Draft& d, Values v) {
    const auto range = parseOrderedPair(v[0], '-');
    if (!range) return quoted(v[0]) + " is not A-B with frames 1 <= A <= B";
    std::tie(d.options.firstFrame, d.options.lastFrame) = *range;
    return std::nullopt;
}

Error applyBand(Draft& d, Values v) {
    const auto band = parseOrderedPair(v[0], '/');
    if (!band) return quoted(v[0]) + " is not K/N with 1 <= K <= N";
    std::tie(d.options.band, d.options.bands) = *band;
    return std::nullopt;
}

Error applyStamp(Draft& d, Values v) {
    d.options.stamp = std::string(v[0]);
    return std::nullopt;
}

Error applyHelp(Draft& d, Values) {
    d.answer = Answer::Usage;
    return std::nullopt;
}

Error applyVersion(Draft& d, Values) {
    d.answer = Answer::Version;
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
    {"--deep", "", 0, applyDeep},
    {"--bench", "N", 1, applyBench},
    {"--frames", "F", 1, applyFrames},
    {"--quiet", "", 0, applyQuiet},
    {"--movie", "N", 1, applyMovie},
    {"--video", "FILE", 1, applyVideo},
    {"--fps", "F", 1, applyFps},
    {"--frame-range", "A-B", 1, applyFrameRange},
    {"--band", "K/N", 1, applyBand},
    {"--stamp", "FILE", 1, applyStamp},
    {"--help", "", 0, applyHelp},
    {"--version", "", 0, applyVersion},
};

bool saw(const Draft& d, std::string_view flag) {
    return std::find(d.seen.begin(), d.seen.end(), flag) != d.seen.end();
}

// The flags that a job of its own accepts beside its own.
bool onlyThese(const Draft& d, std::initializer_list<std::string_view> allowed,
               std::string_view* other) {
    for (std::string_view flag : d.seen)
        if (std::find(allowed.begin(), allowed.end(), flag) == allowed.end()) {
            *other = flag;
            return false;
        }
    return true;
}

// Movies, bands and stamps: nothing when none is asked for, so that the plain checks go on.
std::optional<Error> finishJobs(Draft& d) {
    RenderOptions& o = d.options;
    std::string_view other;
    if (!o.stamp.empty()) {
        if (!onlyThese(d, {"--stamp", d.sourceFlag, "--deep", "--quiet"}, &other))
            return std::string(other) + ": not with --stamp";
        return Error{};
    }
    if (o.movie != 0) {
        if (o.source != ViewSource::Mdl) return "--movie: needs --mdl KEYS.mdl";
        if (!onlyThese(d,
                       {"--movie", "--mdl", "--size", "--out", "--video", "--fps", "--frame-range",
                        "--kernel", "--deep", "--quiet"},
                       &other))
            return std::string(other) + ": not with --movie";
        if (!d.haveSize) return "--size: missing";
        if (!o.video.empty()) {
            if (!o.out.empty()) return "--out: not with --video, which writes no frame files";
            if (o.firstFrame != 0)
                return "--frame-range: not with --video, which needs every frame";
        } else {
            if (o.out.empty()) return "--movie: needs --out DIR or --video FILE";
            if (o.out == "-") return "--out: needs a folder for the frames, not standard output";
            if (saw(d, "--fps")) return "--fps: only with --video";
        }
        if (o.lastFrame > o.movie)
            return "--frame-range: the movie has only " + std::to_string(o.movie) + " frames";
        return Error{};
    }
    for (std::string_view flag : {"--video", "--fps", "--frame-range"})
        if (saw(d, flag)) return std::string(flag) + ": only with --movie";
    if (o.band == 0) return std::nullopt;
    if (!d.exportSize) return "--band: only with --export";
    if (!onlyThese(d,
                   {"--band", "--export", "--antialias", "--out", d.sourceFlag, "--kernel",
                    "--deep", "--quiet"},
                   &other))
        return std::string(other) + ": not with --band";
    if (o.out.empty()) return "--band: needs --out";
    std::string why;
    o.exportPlan = planPoster(d.exportSize->first, d.exportSize->second, d.antialias, &why);
    if (!o.exportPlan) return "--export: " + why;
    if (o.bands > o.exportPlan->outH)
        return "--band: " + std::to_string(o.bands) + " bands of a picture " +
               std::to_string(o.exportPlan->outH) + " rows high";
    // A band is rendered whole: it must fit where a single picture would.
    const Band band = bandOf(*o.exportPlan, o.band, o.bands);
    if (static_cast<long long>(band.cut.renderW) * band.cut.renderH > kMaxExportPixels)
        return "--band: band " + std::to_string(o.band) + " renders " +
               std::to_string(static_cast<long long>(band.cut.renderW) * band.cut.renderH) +
               " pixels, more than " + std::to_string(kMaxExportPixels) + ": use more bands";
    return Error{};
}

// Which flags go together, and the export plan: checked once every argument is read.
Error finish(Draft& d) {
    RenderOptions& o = d.options;
    if (o.bench != 0) {
        for (std::string_view flag : d.seen)
            if (flag != "--bench" && flag != "--kernel" && flag != "--frames" && flag != "--quiet")
                return std::string(flag) + ": not with --bench";
        return std::nullopt;
    }
    if (saw(d, "--frames")) return "--frames: only with --bench";
    if (o.source == ViewSource::None) return "--view, --gallery, --mdl or --png: missing";
    if (d.thumbnail && d.exportSize) return "--export: not with --thumbnail";
    if (d.antialias && !d.exportSize) return "--antialias: only with --export";
    if (o.deep && o.source == ViewSource::View) {
        const Values v = d.viewText;
        std::string why;
        const std::optional<int> it = parseInt(v[3]);
        const auto deep =
            parseDeepView(v[0], v[1], v[2], it.value_or(0), o.view.cs, o.view.cp, &why);
        if (!deep) return "--view: " + why;
        o.view = *deep;
    }
    if (o.out == "-" && o.counts == "-")
        return "--counts: '-' as well as --out: only one can go to standard output";
    if (std::optional<Error> job = finishJobs(d)) return *job;
    if (d.thumbnail || d.exportSize) {
        const std::string flag = d.thumbnail ? "--thumbnail" : "--export";
        if (d.haveSize) return "--size: not with " + flag + ", which has its own size";
        if (o.out.empty()) return flag + ": needs --out";
        std::string why;
        o.exportPlan = d.thumbnail ? planExport(ExportKind::Thumbnail, 0, 0, false)
                                   : planExport(ExportKind::Typed, d.exportSize->first,
                                                d.exportSize->second, d.antialias, &why);
        if (!o.exportPlan) return flag + ": " + why;
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
        std::string_view name = args[next++];
        // "--name=value": the value is the rest of the argument, whatever it starts with.
        std::optional<std::string_view> attached;
        if (const std::size_t eq = name.find('='); name.starts_with("--") && eq != name.npos) {
            attached = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const auto flag = std::find_if(std::begin(kFlags), std::end(kFlags),
                                       [name](const Flag& f) { return f.name == name; });
        if (flag == std::end(kFlags)) return {std::nullopt, quoted(name) + ": unknown argument"};
        const std::string prefix = std::string(name) + ": ";
        if (saw(d, name)) return {std::nullopt, prefix + "given twice"};
        d.seen.push_back(name);
        if (attached && flag->arity == 0) return {std::nullopt, prefix + "takes no value"};
        if (attached && flag->arity > 1)
            return {std::nullopt, prefix + "expects " + std::string(flag->valueNames) +
                                      " as separate arguments, not after '='"};
        const std::string_view attachedValue[] = {attached.value_or("")};
        // A separate value never starts with "--": that is the next flag, and this one lacks
        // its value.
        const Values values = attached
                                  ? Values(attachedValue)
                                  : args.subspan(next, std::min(flag->arity, args.size() - next));
        const bool complete = values.size() == flag->arity &&
                              std::none_of(values.begin(), values.end(), [&](std::string_view v) {
                                  return v.empty() || (!attached && v.starts_with("--"));
                              });
        if (!complete) return {std::nullopt, prefix + "expects " + std::string(flag->valueNames)};
        if (!attached) next += flag->arity;
        if (Error error = flag->apply(d, values)) return {std::nullopt, prefix + *error};
        if (d.answer != Answer::None) return {std::nullopt, {}, d.answer};
    }
    if (Error error = finish(d)) return {std::nullopt, *error};
    return {std::move(d.options), {}};
}

} // namespace velq
