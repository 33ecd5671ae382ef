// Whole files in and out through byte paths: bounded reading, writes that either replace the
// target completely or leave it as it was, and appends that never leave half a record.
//
// The writers' rules: they never block and never replace anything but a regular file (a FIFO,
// a device or a socket is refused with FileError::NotRegular); a symbolic link is written
// through, so the link stays and its target is replaced in the target's own folder; a new
// file's mode follows the umask, a replaced file keeps its mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace velq {

// Parameter files and our PNG files are small: a larger input is refused instead of being read
// until memory runs out.
inline constexpr std::size_t kMaxInputBytes = 256u * 1024 * 1024;

// Reasons of our own beside the system's.
enum class FileError {
    NotRegular = 1, // a FIFO, a device, a socket or a folder where a file was expected
    TooLarge,       // more than kMaxInputBytes
};
const std::error_category& fileErrorCategory();
inline std::error_code make_error_code(FileError e) {
    return {static_cast<int>(e), fileErrorCategory()};
}

enum class FileKinds {
    RegularOnly, // a FIFO or a device could block or never end: refused unread
    Streams,     // pipes and character devices are read to their end (the command line)
};

// The bytes of the file at `path`, or the reason it could not be read. The file is opened
// without blocking and checked once open, so nothing can be swapped in between.
std::error_code readWholeFile(const std::string& path, FileKinds kinds, std::vector<char>& out);

// Replaces the file at `path` (or creates it) through a temporary file beside it.
std::error_code writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Appends the bytes at the end of the file, creating it when missing. When the disk takes only
// part of them, the file is cut back to its old end.
std::error_code appendToFile(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace velq

template <> struct std::is_error_code_enum<velq::FileError> : std::true_type {};
