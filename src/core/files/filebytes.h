// Whole files in and out through byte paths: bounded reading, and writes that either replace
// the target completely or leave it as it was.
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

enum class FileKinds {
    RegularOnly, // a FIFO or a device could block or never end: refused unread
    Streams,     // pipes and character devices are read to their end (the command line)
};

// The bytes of the file at `path` (at most kMaxInputBytes), or an error: the system's reason,
// EFBIG for a larger file, and for RegularOnly EINVAL for anything but a regular file. The
// file is opened without blocking and checked once open, so nothing can be swapped in between.
std::error_code readWholeFile(const std::string& path, FileKinds kinds, std::vector<char>& out);

// Writes through a temporary file beside the target that replaces it only when complete, so a
// failed write never leaves a truncated file under the user's name. A replaced file keeps its
// mode; a new one gets 0644. Returns the system's reason for a failure.
std::error_code writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace velq
