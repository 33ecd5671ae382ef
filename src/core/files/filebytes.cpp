// Reading and writing whole files with POSIX calls, on the bytes of their names.
#include "core/files/filebytes.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velq {
namespace {

std::error_code lastError() {
    return {errno, std::system_category()};
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, for writes whose close can still fail.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::error_code readWholeFile(const std::string& path, FileKinds kinds, std::vector<char>& out) {
    out.clear();
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return lastError();
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return lastError();
    if (kinds == FileKinds::RegularOnly && !S_ISREG(info.st_mode))
        return std::make_error_code(std::errc::invalid_argument);
    // A pipe is read to its end: wait for its writer instead of finding it empty.
    if (!S_ISREG(info.st_mode)) ::fcntl(fd.get(), F_SETFL, O_RDONLY);
    // Files of the kernel's own (in /proc) say they are empty and still have content.
    out.reserve(std::min<std::size_t>(static_cast<std::size_t>(info.st_size), kMaxInputBytes));
    char chunk[1 << 16];
    while (true) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.clear();
            return lastError();
        }
        if (n == 0) return {};
        if (out.size() + static_cast<std::size_t>(n) > kMaxInputBytes) {
            out.clear();
            return std::make_error_code(std::errc::file_too_large);
        }
        out.insert(out.end(), chunk, chunk + n);
    }
}

std::error_code writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::string temp = folderOf(path) + "/.velq-XXXXXX";
    Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) return lastError();
    struct stat target {};
    const mode_t mode = ::stat(path.c_str(), &target) == 0 ? (target.st_mode & 07777) : 0644;
    const bool complete = writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 &&
                          ::fchmod(fd.get(), mode) == 0 && fd.close() == 0 &&
                          ::rename(temp.c_str(), path.c_str()) == 0;
    if (complete) return {};
    const std::error_code why = lastError();
    ::unlink(temp.c_str());
    return why;
}

} // namespace velq
