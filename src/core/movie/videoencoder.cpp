// Spawning ffmpeg with a pipe on its standard input, and taking its video or its complaint.
#include "core/movie/videoencoder.h"

#include "core/files/filebytes.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace velq {
namespace {

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string lowerExtension(const std::string& path) {
    std::string ext = path.substr(path.rfind('.') + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// A write to a pipe whose reader has gone raises SIGPIPE, which would end this process before
// it could say why. The signal is blocked on this thread while writing and, when a write
// raised it, taken off again, so that the write's EPIPE is all that remains.
class PipeSignalBlocked {
public:
    PipeSignalBlocked() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
    }
    ~PipeSignalBlocked() {
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE) && !sigismember(&old_, SIGPIPE)) {
            const timespec now{0, 0};
            sigtimedwait(&pipe_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    PipeSignalBlocked(const PipeSignalBlocked&) = delete;
    PipeSignalBlocked& operator=(const PipeSignalBlocked&) = delete;

private:
    sigset_t pipe_{}, old_{};
};

// The file's last line that says something: ffmpeg's reason, at -loglevel error.
std::string lastLine(const std::string& path) {
    std::vector<char> log;
    if (readWholeFile(path, FileKinds::RegularOnly, log)) return {};
    std::string text(log.begin(), log.end());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    const std::size_t cut = text.find_last_of("\r\n");
    return cut == std::string::npos ? text : text.substr(cut + 1);
}

// The finished video, mapped rather than read: a long movie needs no memory of its size.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        if (fd >= 0 && ::fstat(fd, &info) == 0 && info.st_size > 0) {
            size_ = static_cast<std::size_t>(info.st_size);
            void* at = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
            data_ = at == MAP_FAILED ? nullptr : static_cast<const std::uint8_t*>(at);
        }
        if (fd >= 0) ::close(fd);
    }
    ~MappedFile() {
        if (data_) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    std::span<const std::uint8_t> bytes() const {
        return data_ ? std::span(data_, size_) : std::span<const std::uint8_t>();
    }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace

VideoEncoder::~VideoEncoder() {
    // Unfinished: the movie failed, and no part of it is wanted.
    if (pid_ > 0) ::kill(pid_, SIGTERM);
    stop();
    cleanUp();
}

std::string VideoEncoder::start(const std::string& path, int width, int height,
                                const std::string& fps) {
    path_ = path;
    // Refused now rather than after the whole movie: the writers replace regular files only.
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode))
        return "'" + path + "' is not a regular file";
    const std::string ext = lowerExtension(path);
    std::string folder = folderOf(path) + "/.velq-video-XXXXXX";
    if (!::mkdtemp(folder.data()))
        return "cannot make a working folder beside '" + path + "': " + std::strerror(errno);
    folder_ = folder;
    video_ = folder_ + "/video." + ext;
    log_ = folder_ + "/ffmpeg.log";

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return std::string("cannot make a pipe: ") + std::strerror(errno);
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    std::vector<std::string> args = {
        "ffmpeg",   "-hide_banner", "-nostdin", "-nostats",    "-loglevel", "error",      "-f",
        "rawvideo", "-pix_fmt",     "rgba",     "-video_size", size,        "-framerate", fps,
        "-i",       "pipe:0"};
    const std::vector<std::string> codec =
        ext == "webm" ? std::vector<std::string>{"-c:v", "libvpx-vp9", "-crf",    "31",
                                                 "-b:v", "0",          "-row-mt", "1"}
                      : std::vector<std::string>{"-c:v", "libx264", "-movflags", "+faststart"};
    args.insert(args.end(), codec.begin(), codec.end());
    args.insert(args.end(), {"-pix_fmt", "yuv420p", "-y", video_});
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    // ffmpeg starts with SIGPIPE at its default and nothing blocked, whatever this thread has.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, pipe;
    sigemptyset(&none);
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &pipe);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int spawned =
        ::posix_spawnp(&pid_, "ffmpeg", &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[0]);
    if (spawned != 0) {
        ::close(fds[1]);
        pid_ = -1;
        if (spawned == ENOENT)
            return "ffmpeg is not installed: install Debian's package ffmpeg (apt-get install "
                   "ffmpeg)";
        return std::string("cannot start ffmpeg: ") + std::strerror(spawned);
    }
    pipe_ = fds[1];
    return {};
}

bool VideoEncoder::write(std::span<const Rgba> frame) {
    if (pipe_ < 0) return false;
    const PipeSignalBlocked blocked;
    auto bytes = std::as_bytes(frame);
    while (!bytes.empty()) {
        const ssize_t n = ::write(pipe_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

void VideoEncoder::stop() {
    if (pipe_ >= 0) ::close(pipe_);
    pipe_ = -1;
    if (pid_ > 0) {
        while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
}

void VideoEncoder::cleanUp() {
    if (folder_.empty()) return;
    ::unlink(video_.c_str());
    ::unlink(log_.c_str());
    ::rmdir(folder_.c_str());
    folder_.clear();
}

std::string VideoEncoder::finish() {
    const bool started = pid_ > 0;
    stop();
    if (!started) return "ffmpeg is not running";
    if (!WIFEXITED(status_) || WEXITSTATUS(status_) != 0) {
        const std::string how = WIFEXITED(status_)
                                    ? "exit status " + std::to_string(WEXITSTATUS(status_))
                                    : "signal " + std::to_string(WTERMSIG(status_));
        const std::string said = lastLine(log_);
        return "ffmpeg failed (" + how + ")" + (said.empty() ? "" : ": " + said);
    }
    const MappedFile video(video_);
    if (video.bytes().empty()) return "ffmpeg made no video";
    if (const std::error_code why = writeFileAtomically(path_, video.bytes()))
        return "cannot write '" + path_ + "': " + why.message();
    return {};
}

} // namespace velq
