// Drawing the progress line: the text, the estimate, and overwriting it in place.
#include "cli/progress.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace velq {
namespace {

using Seconds = std::chrono::duration<double>;

std::string timeLeft(double seconds) {
    const auto s = static_cast<long long>(std::ceil(seconds));
    if (s < 60) return std::to_string(s) + " s";
    if (s < 3600) return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
    return std::to_string(s / 3600) + " h " + std::to_string(s / 60 % 60) + " min";
}

} // namespace

ProgressLine::ProgressLine(std::string_view what, std::int64_t total, bool terminal, bool quiet,
                           Clock clock, Sink sink)
    : what_(what), total_(total), shown_(terminal && !quiet && total > 0), clock_(std::move(clock)),
      sink_(std::move(sink)), start_(clock_()) {}

void ProgressLine::update(std::int64_t done) {
    if (!shown_) return;
    const auto now = clock_();
    const Seconds elapsed = now - start_;
    if (elapsed <= std::chrono::seconds(1)) return;
    if (width_ > 0 && now - drawn_ < std::chrono::milliseconds(100)) return;
    drawn_ = now;
    char counts[80];
    std::snprintf(counts, sizeof counts, "%lld %% (%lld of %lld ",
                  static_cast<long long>(100 * done / total_), static_cast<long long>(done),
                  static_cast<long long>(total_));
    std::string line = std::string("\rvelq-render: ").append(counts).append(what_).append(")");
    // The rate so far: with nothing done yet there is none.
    if (done > 0)
        line.append(" ").append(timeLeft(elapsed.count() * (total_ - done) / done)).append(" left");
    const std::size_t width = line.size() - 1;
    if (width < width_) line.append(width_ - width, ' '); // over the rest of a longer line
    width_ = width;
    sink_(line);
}

void ProgressLine::clear() {
    if (width_ == 0) return;
    std::string blank(width_ + 2, ' ');
    blank.front() = blank.back() = '\r';
    sink_(blank);
    width_ = 0;
}

} // namespace velq
