// The reference orbit of a deep view: Z_0 = 0, Z_{n+1} = Z_n^2 + C at the view's centre,
// iterated with MPFR and kept as doubles.
#pragma once

#include "core/deep/complexdelta.h"
#include "core/deep/real.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace velq {

class ReferenceOrbit {
public:
    // The orbit values are O(1); only those within 2^-960 of 0 (close approaches of a point
    // near a nucleus) leave the double exponent's range behind, and at most this many of them
    // are kept: the orbit ends at the next one, and the pixels rebase at its end.
    static constexpr std::size_t kMaxTiny = std::size_t{1} << 16;
    static constexpr double kTiny = 0x1p-960;

    // Iterates from the start, or on from the end of `from` when it is the same centre at the
    // same precision, until Z escapes (|Z|^2 > 4) or Z_limit. Nothing when `status` becomes
    // RenderStatus::AbortStop meanwhile.
    static std::shared_ptr<const ReferenceOrbit> compute(const Real& cx, const Real& cy, long bits,
                                                         std::int32_t limit,
                                                         const std::atomic<int>& status,
                                                         const ReferenceOrbit* from = nullptr);

    const Real& cx() const { return cx_; }
    const Real& cy() const { return cy_; }
    long bits() const { return bits_; }
    // The last index N: Z_0 .. Z_N are kept.
    std::int32_t last() const { return static_cast<std::int32_t>(z_.size()) - 1; }
    // True when Z_N escaped, or stands at a limit of at least `limit`: the orbit serves any
    // render with that limit.
    bool covers(std::int32_t limit) const { return escaped_ || last() >= limit; }
    const Cd* data() const { return z_.data(); }
    // Z_n with a wide exponent: the same as the double where that is not zero, else the tiny
    // value kept aside (exactly zero for n = 0 and for exact zeros).
    Cw wideAt(std::int32_t n) const;

private:
    ReferenceOrbit(const Real& cx, const Real& cy, long bits);

    Real cx_, cy_;
    long bits_;
    std::vector<Cd> z_; // Z_n rounded; 0 where |Z_n| < kTiny
    struct Tiny {
        std::int32_t n;
        Cw z;
    };
    std::vector<Tiny> tiny_; // by increasing n
    bool escaped_ = false;
    Real lastRe_, lastIm_; // Z_N at full precision, to go on from
};

} // namespace velq
