// The view record: the place, the iteration limit and the colours of one picture.
#pragma once

#include <cstdint>
#include <memory>

namespace velq {

struct DeepView;

struct MANDAT {
    double x = 0.0;      // real part of the view centre
    double y = 0.0;      // imaginary part of the view centre
    double w = 0.0;      // half the extent of the picture's shorter side
    std::int32_t it = 0; // iteration limit, 256..32768 once rounded; 0 marks an empty record
    std::int32_t cs = 0; // colour-settings word (bit fields: see colormap.h)
    std::int32_t cp = 0; // colour rotation, 0..1000
    // A view deeper than doubles reach keeps its full centre, width and limit here; the six
    // fields then hold them rounded (the limit mapped to 256..32768). Null for every other view.
    std::shared_ptr<const DeepView> deep{};

    // Field-by-field equality; the doubles compare as doubles, so a NaN never equals. Two deep
    // parts compare by value.
    friend bool operator==(const MANDAT& a, const MANDAT& b);
};

inline MANDAT mkMandat(double x, double y, double w, std::int32_t it, std::int32_t cs,
                       std::int32_t cp) {
    return MANDAT{x, y, w, it, cs, cp};
}

// The view every run starts with.
inline const MANDAT kStartView{0.0, 0.0, 2.0, 1024, 0x782, 0};

} // namespace velq
