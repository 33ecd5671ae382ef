// The renderer's jobs beyond single pictures: movies through key views (as frame files or one
// video), posters rendered a band at a time, and the stamp that gives a joined poster its view.
#pragma once

#include "cli/options.h"
#include "cli/progress.h"
#include "core/view/mandat.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velq {

// Whether the options ask for a movie, a band or a stamp rather than pictures of views.
inline bool isBatchJob(const RenderOptions& o) {
    return o.movie != 0 || o.band != 0 || !o.stamp.empty();
}

// Runs that job; returns the exit status (0, or 1 after a message on standard error).
int runBatchJob(const RenderOptions& options);

// The pieces the jobs share.
namespace batch {

void complain(const std::string& message);

// The progress line on standard error, by the renderer's rule (a terminal, not --quiet, after
// a second).
ProgressLine progress(std::string_view what, std::int64_t total, const RenderOptions& options);

// The views of the options' source, in order (one for --view and --gallery); nothing after a
// message naming the file.
std::optional<std::vector<MANDAT>> views(const RenderOptions& options);

// Writes `bytes` to `path` by the writers' rules, or to standard output for "-"; false after a
// message that starts with `flag`.
bool writeOut(std::string_view flag, const std::string& path, std::span<const std::uint8_t> bytes);

int renderMovie(const RenderOptions& options);
int renderBand(const RenderOptions& options);
int stampFile(const RenderOptions& options);

} // namespace batch
} // namespace velq
