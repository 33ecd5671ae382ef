// A movie's frame files: the folder that holds them, the check that a file already holds its
// frame, and the writer that encodes and writes frames on threads of its own.
#pragma once

#include "core/colour/colormap.h"
#include "core/files/filebytes.h"
#include "core/view/mandat.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace velq {

// Makes the folder when it is missing (by the umask, as files are). Fails with
// std::errc::not_a_directory when something else has the name.
std::error_code makeFrameFolder(const std::string& path);

// Whether `file` is already there, whole, of width x height and with the view `v`, so that a
// stopped or shared movie need not render it again.
bool holdsFrameFile(const std::string& file, const MANDAT& v, int width, int height);

// Encoding a PNG file and syncing it to disk take about as long as rendering a frame, so they
// run on two threads while the workers render the next frames.
class FrameWriter {
public:
    using WriteFile = std::function<std::error_code(const std::string& path,
                                                    std::span<const std::uint8_t> bytes)>;
    static constexpr std::size_t kThreads = 2;

    FrameWriter(int width, int height, WriteFile write = writeFileAtomically);
    ~FrameWriter() { close(); }
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // Hands a frame over, waiting while every thread has one waiting. False once a write has
    // failed: failedPath() and failure() say which and why.
    bool put(std::string file, MANDAT v, std::vector<Rgba> pixels);
    // Waits until every frame handed over is written; false when one could not be.
    bool close();
    const std::string& failedPath() const { return failedPath_; }
    std::error_code failure() const { return failure_; }

private:
    struct Frame {
        std::string file;
        MANDAT v;
        std::vector<Rgba> pixels;
    };
    void run();

    const int width_, height_;
    const WriteFile write_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Frame> waiting_; // guarded by mutex_, as are the flags and the failure
    bool closing_ = false;
    std::string failedPath_;
    std::error_code failure_;
    std::vector<std::thread> threads_; // last: started once the rest is there
};

} // namespace velq
