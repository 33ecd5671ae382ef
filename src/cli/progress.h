// The progress line of long jobs: one line on standard error, rewritten in place.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace velq {

// "velq-render: 42 % (21 of 50 views) 3 s left", drawn again as items are done. It appears
// only on a terminal, not with --quiet, and only once the job has taken more than a second,
// so that quick runs and scripts never see it.
class ProgressLine {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Sink = std::function<void(std::string_view)>;

    // The job starts now; `what` names its items ("views", "frames", "rows").
    ProgressLine(std::string_view what, std::int64_t total, bool terminal, bool quiet, Clock clock,
                 Sink sink);
    ~ProgressLine() { clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Draws the line for `done` items, at most ten times a second.
    void update(std::int64_t done);
    // Erases the line, so that other output can take its place; the next update draws it
    // again at once.
    void clear();

private:
    std::string what_;
    std::int64_t total_;
    bool shown_;
    Clock clock_;
    Sink sink_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point drawn_{};
    std::size_t width_ = 0; // of the line on screen; 0 when none is
};

} // namespace velq
