// Frame files: written in the background in the order handed over, each replacing its file
// whole, and read back only to see whether a frame is already done.
#include "pngio/framefiles.h"

#include "core/files/paramline.h"
#include "core/movie/frameplan.h"
#include "pngio/pngfile.h"

#include <cerrno>
#include <sys/stat.h>

namespace velq {

std::error_code makeFrameFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return {errno, std::system_category()};
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {errno, std::system_category()};
    if (!S_ISDIR(info.st_mode)) return std::make_error_code(std::errc::not_a_directory);
    return {};
}

bool holdsFrameFile(const std::string& file, const MANDAT& v, int width, int height) {
    std::vector<char> data;
    if (readWholeFile(file, FileKinds::RegularOnly, data)) return false;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()),
                                              data.size());
    return holdsFrame(bytes, width, height, parameterLine(v, static_cast<double>(width) / height));
}

FrameWriter::FrameWriter(int width, int height, WriteFile write)
    : width_(width), height_(height), write_(std::move(write)) {
    for (std::size_t i = 0; i < kThreads; ++i)
        threads_.emplace_back([this] { run(); });
}

bool FrameWriter::put(std::string file, MANDAT v, std::vector<Rgba> pixels) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return waiting_.size() < kThreads || failure_; });
    if (failure_) return false;
    waiting_.push_back({std::move(file), std::move(v), std::move(pixels)});
    changed_.notify_all();
    return true;
}

bool FrameWriter::close() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : threads_)
        if (t.joinable()) t.join();
    return !failure_;
}

void FrameWriter::run() {
    const double aspect = static_cast<double>(width_) / height_;
    for (;;) {
        Frame frame;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !waiting_.empty() || closing_ || failure_; });
            if (waiting_.empty() || failure_) return;
            frame = std::move(waiting_.front());
            waiting_.pop_front();
        }
        changed_.notify_all();
        const std::vector<std::uint8_t> png =
            encodePngWithChunk(frame.pixels, width_, height_, frame.v, aspect, PngEffort::Fast);
        const std::error_code why = png.empty() ? std::make_error_code(std::errc::not_enough_memory)
                                                : write_(frame.file, png);
        if (why) {
            std::lock_guard lock(mutex_);
            if (!failure_) {
                failure_ = why;
                failedPath_ = frame.file;
            }
            changed_.notify_all();
            return;
        }
    }
}

} // namespace velq
