// Reading and writing whole files with POSIX calls, on the bytes of their names.
#include "core/files/filebytes.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace velq {
namespace {

class FileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "velq-file"; }
    std::string message(int code) const override {
        switch (static_cast<FileError>(code)) {
        case FileError::NotRegular:
            return "not a regular file";
        case FileError::TooLarge:
            return "larger than 256 MB";
        }
        return "unknown file error";
    }
};

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
    int close() { return ::close(std::exchange(fd_, -1)); }

private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at, whether or not that file exists yet.
std::string throughLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::string target(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return path;
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : folderOf(path) + '/' + target;
    }
    return path;
}

// Adds the bytes that went out to `written`.
bool writeAll(int fd, std::span<const std::uint8_t> bytes, std::size_t& written) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        written += static_cast<std::size_t>(n);
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// A new file of a fresh name in `folder`, created with mode 0666 so that the umask applies.
int createTemporary(const std::string& folder, std::string& name) {
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.velq-" + std::to_string(entropy()) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Reads to the end, at most kMaxInputBytes.
std::error_code readAll(int fd, std::vector<char>& out) {
    std::vector<char> chunk(1 << 16);
    while (true) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.clear();
            return lastError();
        }
        if (n == 0) return {};
        if (out.size() + static_cast<std::size_t>(n) > kMaxInputBytes) {
            out.clear();
            return FileError::TooLarge;
        }
        out.insert(out.end(), chunk.begin(), chunk.begin() + n);
    }
}

} // namespace

const std::error_category& fileErrorCategory() {
    static const FileErrorCategory category;
    return category;
}

std::error_code readWholeFile(const std::string& path, FileKinds kinds, std::vector<char>& out) {
    out.clear();
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return lastError();
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return lastError();
    if (S_ISDIR(info.st_mode) || (kinds == FileKinds::RegularOnly && !S_ISREG(info.st_mode)))
        return FileError::NotRegular;
    // A named pipe is read to its end: opened again, blocking, it waits for its writer instead
    // of being found empty. Other streams read on from here, blocking.
    if (S_ISFIFO(info.st_mode)) {
        Descriptor blocking(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (blocking.get() < 0) return lastError();
        return readAll(blocking.get(), out);
    }
    if (!S_ISREG(info.st_mode)) ::fcntl(fd.get(), F_SETFL, O_RDONLY);
    // Files of the kernel's own (in /proc) say they are empty and still have content.
    out.reserve(std::min<std::size_t>(static_cast<std::size_t>(info.st_size), kMaxInputBytes));
    return readAll(fd.get(), out);
}

std::error_code writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::string target = throughLinks(path);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) return FileError::NotRegular;
    std::string temp;
    Descriptor fd(createTemporary(folderOf(target), temp));
    if (fd.get() < 0) return lastError();
    std::size_t written = 0;
    bool complete = writeAll(fd.get(), bytes, written) && ::fsync(fd.get()) == 0;
    if (complete && replacing) {
        // The replaced file's mode, and its owner where we may give it.
        complete = ::fchmod(fd.get(), old.st_mode & 07777) == 0;
        if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) errno = 0;
    }
    complete = complete && fd.close() == 0 && ::rename(temp.c_str(), target.c_str()) == 0;
    if (complete) return {};
    const std::error_code why = lastError();
    ::unlink(temp.c_str());
    return why;
}

std::error_code appendToFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    // Without blocking: a FIFO without a reader fails to open instead of waiting for one.
    Descriptor fd(
        ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666));
    if (fd.get() < 0) return errno == ENXIO ? FileError::NotRegular : lastError();
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return lastError();
    if (!S_ISREG(info.st_mode)) return FileError::NotRegular;
    std::size_t written = 0;
    if (writeAll(fd.get(), bytes, written) && fd.close() == 0) return {};
    const std::error_code why = lastError();
    // A full disk took only part of the bytes: cut them off again, so that the file still ends
    // on a whole record, unless another program has appended to it meanwhile.
    struct stat after {};
    if (written > 0 && fd.get() >= 0 && ::fstat(fd.get(), &after) == 0 &&
        after.st_size == info.st_size + static_cast<off_t>(written))
        if (::ftruncate(fd.get(), info.st_size) != 0) errno = 0;
    return why;
}

} // namespace velq
