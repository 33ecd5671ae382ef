// The jobs' shared pieces: messages, progress, the views of a source, writing out, and the
// stamp of a joined poster.
#include "cli/batch.h"

#include "cli/render.h"
#include "core/files/filebytes.h"
#include "core/files/openpath.h"
#include "core/files/paramline.h"
#include "core/gallery/gallery.h"
#include "core/movie/bands.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velq {
namespace batch {
namespace {

// Standard output takes the bytes as they come: a pipe has no temporary file to rename.
std::error_code writeToStandardOutput(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (n > 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(n));
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd out{STDOUT_FILENO, POLLOUT, 0};
            ::poll(&out, 1, -1);
        } else if (n == 0 || errno != EINTR) {
            return {n == 0 ? EIO : errno, std::system_category()};
        }
    }
    return {};
}

// A whole regular file of any size, with `spare` bytes of room after it, so that a poster far
// beyond the 256 MB of parameter files and pictures can be stamped without a second copy.
std::error_code readLargeFile(const std::string& path, std::size_t spare,
                              std::vector<std::uint8_t>& out) {
    struct Closing {
        int fd;
        ~Closing() {
            if (fd >= 0) ::close(fd);
        }
    } const file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    const int fd = file.fd;
    if (fd < 0) return {errno, std::system_category()};
    struct stat info {};
    std::error_code why;
    if (::fstat(fd, &info) != 0)
        why = {errno, std::system_category()};
    else if (!S_ISREG(info.st_mode))
        why = FileError::NotRegular;
    if (!why) {
        out.reserve(static_cast<std::size_t>(info.st_size) + spare);
        out.resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        while (got < out.size()) {
            const ssize_t n = ::read(fd, out.data() + got, out.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                why = n == 0 ? std::make_error_code(std::errc::io_error)
                             : std::error_code(errno, std::system_category());
                break;
            }
            got += static_cast<std::size_t>(n);
        }
    }
    return why;
}

} // namespace

void complain(const std::string& message) {
    std::fprintf(stderr, "velq-render: %s\n", message.c_str());
}

ProgressLine progress(std::string_view what, std::int64_t total, const RenderOptions& options) {
    return ProgressLine(
        what, total, ::isatty(STDERR_FILENO) == 1, options.quiet,
        [] { return std::chrono::steady_clock::now(); },
        [](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); });
}

std::optional<std::vector<MANDAT>> views(const RenderOptions& options) {
    switch (options.source) {
    case ViewSource::View:
        return std::vector{options.view};
    case ViewSource::Gallery:
        return std::vector{*galleryPreset(options.galleryTag)};
    case ViewSource::None:
        return std::nullopt;
    case ViewSource::Mdl:
    case ViewSource::Png:
        break;
    }
    std::vector<char> data;
    const std::error_code why = readWholeFile(options.file, FileKinds::Streams, data);
    const FileKind kind = options.source == ViewSource::Png ? FileKind::Png : FileKind::Parameters;
    const std::span<const char> bytes(data);
    const std::optional<std::size_t> start = why ? std::nullopt : parameterTextStart(bytes, kind);
    if (!start) {
        complain("cannot open " + options.file + (why ? ": " + why.message() : ""));
        return std::nullopt;
    }
    std::vector<MANDAT> out;
    bool deeper = false; // without --deep, a deep view is its seven fields, and that is said
    ParameterReader reader(bytes, *start);
    while (const std::optional<ParsedLine> line = reader.next()) {
        out.push_back(viewOf(*line, options.deep));
        deeper = deeper || (!options.deep && viewOf(*line, true).deep);
    }
    if (deeper)
        complain(options.file +
                 " holds a view deeper than its seven fields: --deep renders it at full depth");
    if (out.empty()) {
        complain(options.file + ": no view to render");
        return std::nullopt;
    }
    return out;
}

bool writeOut(std::string_view flag, const std::string& path, std::span<const std::uint8_t> bytes) {
    const bool standardOutput = path == "-";
    const std::error_code why = bytes.empty() ? std::make_error_code(std::errc::not_enough_memory)
                                : standardOutput ? writeToStandardOutput(bytes)
                                                 : writeFileAtomically(path, bytes);
    if (!why) return true;
    complain(std::string(flag) + ": cannot write " +
             (standardOutput ? "to standard output" : "'" + path + "'") + ": " + why.message());
    return false;
}

int stampFile(const RenderOptions& options) {
    const std::optional<std::vector<MANDAT>> found = views(options);
    if (!found) return 1;
    // The last view, as for every other output: the picture of --mdl is the last view's.
    const MANDAT v = asRendered(found->back());
    std::vector<std::uint8_t> png;
    if (const std::error_code why =
            readLargeFile(options.stamp, 4096 + deepExtras(v).size(), png)) {
        complain("--stamp: cannot read '" + options.stamp + "': " + why.message());
        return 1;
    }
    if (!stampPng(png, v)) {
        complain("--stamp: '" + options.stamp + "' is not a PNG file");
        return 1;
    }
    if (!writeOut("--stamp", options.stamp, png)) return 1;
    std::printf("%s\n", viewLine(v).c_str());
    return 0;
}

} // namespace batch

int runBatchJob(const RenderOptions& options) {
    if (!options.stamp.empty()) return batch::stampFile(options);
    if (options.band != 0) return batch::renderBand(options);
    return batch::renderMovie(options);
}

} // namespace velq
