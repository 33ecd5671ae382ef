// A movie through key views: its frames spread over the segments between the keys, the view of
// each frame, and the frame files that already hold their frame.
#pragma once

#include "core/movie/path.h"
#include "core/view/mandat.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velq {

// The steps of a movie (its frames less one) shared out over segments by weight: each segment
// first gets the whole part of its share, at least one step; then, while they add up to too
// few, a step goes to the segment furthest below its share, and while they add up to too many,
// one is taken from the segment furthest above its share that has more than one. Ties go to
// the earlier segment. When every weight is 0 the shares are equal. Needs steps >= weights.size().
std::vector<int> spreadSteps(std::span<const double> weights, int steps);

// The frames of a movie through `keys`, numbered from 1. Consecutive segments share their key
// frame, so frames = 1 + the steps of all segments, and each segment zooms with
// 1 + its steps frames (ZoomSegment). The steps are spread by |log r|, the zoom of each
// segment: a movie zooms at one speed throughout, and a pan between keys of the same width
// gets one step.
//
// Frame k of the segment from key i to key i+1 (k = 0 being key i) has key i+1's limit, key
// i's colour word and the rotation moved linearly, rounded to the nearest whole number with
// halves upward. The last frame is the last key, its limit, colours and rotation.
//
// With `deep`, keys with a deep part bring their full centre, width and limit, and frames
// below the deep renderer's threshold (or with a limit above 32768) get a deep part with as
// many bits as their width needs. Without it the keys are their seven fields.
class MoviePlan {
public:
    // Nothing, with the reason in `why`, for fewer than two keys or fewer frames than keys.
    static std::optional<MoviePlan> make(std::span<const MANDAT> keys, int frames, bool deep,
                                         std::string* why = nullptr);

    int frames() const { return frames_; }
    // The steps of each segment, in order.
    const std::vector<int>& steps() const { return steps_; }
    // The view of frame `number`, 1..frames(), as the renderer takes it: the width floored
    // unless it is deep, the limit an allowed one, the rotation in range.
    MANDAT frame(int number) const;
    // The key that frame `number`'s segment zooms towards, at full depth, for a deep movie:
    // the frames share its reference orbit while it lies in their pictures.
    std::shared_ptr<const DeepView> reference(int number) const;

private:
    struct Colours {
        std::int32_t limit = 0; // the deep limit with `deep`
        std::int32_t cs = 0, cp = 0;
    };
    MoviePlan() = default;
    MANDAT viewAt(const Place& place, std::int32_t limit, std::int32_t cs, std::int32_t cp) const;
    // The segment of frame index `index` (from 0): a key frame shared by two starts the later.
    std::size_t segmentOf(int index) const;

    std::vector<ZoomSegment> segments_;
    std::vector<Colours> keys_;
    std::vector<int> steps_;
    std::vector<int> starts_; // the frame index (from 0) where each segment starts
    int frames_ = 0;
    bool deep_ = false;
};

// "frame-000001.png": six digits at least, so that names sort in frame order.
std::string frameFileName(int number);

// Whether `png` is a whole PNG file (signature, IHDR, IEND at the end) of width x height
// whose parameter chunk holds exactly `line`.
bool holdsFrame(std::span<const std::uint8_t> png, int width, int height, std::string_view line);

} // namespace velq
