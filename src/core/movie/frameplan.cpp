// Spreading frames over segments, the view of each frame, and recognising finished frames.
#include "core/movie/frameplan.h"

#include "core/colour/colormap.h"
#include "core/deep/deeprender.h"
#include "core/deep/deepview.h"
#include "core/files/pngchunk.h"
#include "core/render/renderworkers.h"
#include "core/view/iterationlimit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace velq {

std::vector<int> spreadSteps(std::span<const double> weights, int steps) {
    const std::size_t n = weights.size();
    double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    std::vector<double> share(n);
    for (std::size_t i = 0; i < n; ++i)
        share[i] = total > 0 ? steps * (weights[i] / total) : static_cast<double>(steps) / n;
    std::vector<int> out(n);
    int sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = std::max(1, static_cast<int>(std::floor(share[i])));
        sum += out[i];
    }
    // One step at a time to or from the segment whose count is furthest from its share: the
    // shares sum to `steps`, so this ends, and it never goes below one step.
    while (sum != steps) {
        const bool add = sum < steps;
        std::size_t best = n;
        for (std::size_t i = 0; i < n; ++i) {
            if (!add && out[i] <= 1) continue;
            const double gap = add ? share[i] - out[i] : out[i] - share[i];
            const double bestGap =
                best == n ? 0 : (add ? share[best] - out[best] : out[best] - share[best]);
            if (best == n || gap > bestGap) best = i;
        }
        if (best == n) break; // every segment at one step: steps < n, refused by the caller
        out[best] += add ? 1 : -1;
        sum += add ? 1 : -1;
    }
    return out;
}

std::optional<MoviePlan> MoviePlan::make(std::span<const MANDAT> keys, int frames, bool deep,
                                         std::string* why) {
    const auto refuse = [why](std::string reason) -> std::optional<MoviePlan> {
        if (why) *why = std::move(reason);
        return std::nullopt;
    };
    if (keys.size() < 2)
        return refuse("a movie needs at least two views as keys, not " +
                      std::to_string(keys.size()));
    if (frames < static_cast<int>(keys.size()))
        return refuse(std::to_string(keys.size()) + " keys need at least as many frames, not " +
                      std::to_string(frames));
    MoviePlan plan;
    plan.frames_ = frames;
    plan.deep_ = deep;
    std::vector<Place> places;
    for (const MANDAT& key : keys) {
        // Keys as the renderer takes them: a plain width floored, the rotation in range.
        const bool full = deep && key.deep;
        if (!std::isfinite(key.x) || !std::isfinite(key.y) || !std::isfinite(key.w))
            return refuse("key " + std::to_string(places.size() + 1) +
                          " is not a place: its centre or width is not a finite number");
        if (full)
            places.push_back({key.deep->x, key.deep->y, Real(key.deep->w, 64)});
        else
            places.push_back({Real(key.x, 64), Real(key.y, 64), Real(floorWidth(key.w), 64)});
        plan.keys_.push_back(
            {full ? key.deep->it : allowedLimit(key.it), key.cs, clampRotation(key.cp)});
    }
    std::vector<double> weights;
    for (std::size_t i = 0; i + 1 < places.size(); ++i)
        weights.push_back(ZoomSegment(places[i], places[i + 1], 2).zoomBits());
    plan.steps_ = spreadSteps(weights, frames - 1);
    int start = 0;
    for (std::size_t i = 0; i + 1 < places.size(); ++i) {
        plan.segments_.emplace_back(places[i], places[i + 1], plan.steps_[i] + 1);
        plan.starts_.push_back(start);
        start += plan.steps_[i];
    }
    return plan;
}

MANDAT MoviePlan::viewAt(const Place& place, std::int32_t limit, std::int32_t cs,
                         std::int32_t cp) const {
    const ExtFloat w = extOf(place.w);
    MANDAT v{place.x.toDouble(),
             place.y.toDouble(),
             w.toDouble(),
             allowedLimit(std::min(limit, kMaxIterations)),
             cs,
             clampRotation(cp)};
    if (deep_ && (v.w < kDeepThreshold || limit > kMaxIterations)) {
        const long bits = centreBits(w);
        v.deep = std::make_shared<const DeepView>(
            DeepView{place.x.withBits(bits), place.y.withBits(bits), w, limit});
    } else {
        v.w = floorWidth(v.w);
    }
    return v;
}

MANDAT MoviePlan::frame(int number) const {
    const int index = std::clamp(number, 1, frames_) - 1;
    if (index == frames_ - 1) {
        const Colours& last = keys_.back();
        return viewAt(segments_.back().frame(segments_.back().frames() - 1), last.limit, last.cs,
                      last.cp);
    }
    const std::size_t i = segmentOf(index);
    const int k = index - starts_[i];
    const std::int64_t span = segments_[i].frames() - 1;
    const Colours& from = keys_[i];
    const Colours& to = keys_[i + 1];
    // Rounded to nearest, halves upward, in whole numbers: the numerator is never negative.
    const std::int64_t twice = 2 * (from.cp * span + (to.cp - from.cp) * std::int64_t{k}) + span;
    const auto cp = static_cast<std::int32_t>(twice / (2 * span));
    return viewAt(segments_[i].frame(k), to.limit, from.cs, cp);
}

std::size_t MoviePlan::segmentOf(int index) const {
    const auto at = std::upper_bound(starts_.begin(), starts_.end(), index) - 1;
    return std::min(static_cast<std::size_t>(at - starts_.begin()), segments_.size() - 1);
}

std::shared_ptr<const DeepView> MoviePlan::reference(int number) const {
    if (!deep_) return nullptr;
    const ZoomSegment& segment = segments_[segmentOf(std::clamp(number, 1, frames_) - 1)];
    const Place key = segment.frame(segment.frames() - 1);
    const ExtFloat w = extOf(key.w);
    const long bits = centreBits(w);
    return std::make_shared<const DeepView>(
        DeepView{key.x.withBits(bits), key.y.withBits(bits), w, 0});
}

std::string frameFileName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", number);
    return name;
}

bool holdsFrame(std::span<const std::uint8_t> png, int width, int height, std::string_view line) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    static constexpr std::uint8_t kEnd[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xae, 0x42, 0x60, 0x82};
    if (png.size() < kIhdrEnd + sizeof kEnd ||
        !std::equal(std::begin(kSignature), std::end(kSignature), png.begin()) ||
        !std::equal(std::begin(kEnd), std::end(kEnd), png.end() - sizeof kEnd))
        return false;
    const auto big = [&](std::size_t p) {
        return std::uint32_t{png[p]} << 24 | std::uint32_t{png[p + 1]} << 16 |
               std::uint32_t{png[p + 2]} << 8 | std::uint32_t{png[p + 3]};
    };
    if (big(16) != static_cast<std::uint32_t>(width) ||
        big(20) != static_cast<std::uint32_t>(height))
        return false;
    const std::optional<std::size_t> text = findParameterText(png);
    return text && png.size() - *text >= line.size() &&
           std::equal(line.begin(), line.end(), png.begin() + static_cast<std::ptrdiff_t>(*text),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

} // namespace velq
