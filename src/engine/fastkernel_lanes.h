// The lane engine behind the fast kernel, written once over a vector type and compiled once
// per instruction set (fastkernel_sse2/avx2/avx512.cpp), each with its own compiler flags.
//
// Every lane runs the plain loop's recurrence on one pixel with the same operations in the
// same order, so its doubles equal the plain loop's. A lane whose pixel is done takes the
// next pixel of the row group at once. An orbit whose carried products (zr², zi², zr·zi)
// compare equal to an earlier saved triple repeats for ever and can never escape, so it is
// settled as "did not escape" with the full limit counted, which is what the plain loop
// would have done after running to the limit.
//
// This file is included only by those per-instruction-set files. It must not pull in any
// inline function with external linkage (no standard-library templates): the linker keeps
// one copy of such a function, and it could be the copy built for AVX-512.
#pragma once

#include "engine/kernel.h"

#include <cstdint>
#include <immintrin.h>

namespace velq::lanes {

// Each takes a non-empty group (rows >= 1, winx >= 1, stride >= 1) and a limit of at least 2.
std::int64_t rowsSse2(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel);
std::int64_t rowsAvx2(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel);
std::int64_t rowsAvx512(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel);

namespace {

constexpr double kInf = __builtin_inf();
constexpr double kNaN = __builtin_nan("");

// The longest interval (in steps) between two checks of every lane for a repeated orbit or
// the limit reached. Each check costs a trip out of the step loop; between checks a lane
// may run past the limit or round a cycle a few more times, which is cheaper.
constexpr int kMaxCheckInterval = 64;

inline int lanesIn(unsigned bits) {
    int n = 0;
    for (; bits != 0; bits &= bits - 1)
        ++n;
    return n;
}

// Pixels waiting for a lane, in the plain loop's order: a window of samples and array
// offsets kept ahead. Past the last pixel it is padded with idle entries (sample 0, start
// +inf), which never escape, never repeat and never reach the limit.
class PixelQueue {
public:
    static constexpr int kCapacity = 512;

    PixelQueue(const KernelFrame& f, int r0, int rows, int stride)
        : f_(f), r0_(r0), rows_(rows), stride_(stride), ci_row_(rowSample(0)) {}

    // Guarantees at least `want` entries (pixels or idle padding) from the head on.
    void topUp(int want) {
        if (end_ - head_ >= want) return;
        int kept = 0;
        for (int k = head_; k < end_; ++k, ++kept) {
            cr_[kept] = cr_[k];
            ci_[kept] = ci_[k];
            off_[kept] = off_[k];
            bias_[kept] = bias_[k];
        }
        head_ = 0;
        end_ = kept;
        fill();
    }

    const double* cr() const { return cr_ + head_; }
    const double* ci() const { return ci_ + head_; }
    const double* startBias() const { return bias_ + head_; }
    std::int64_t offset(int k) const { return off_[head_ + k]; }
    void take(int k) { head_ += k; }

private:
    double rowSample(int row) const {
        return static_cast<double>(r0_ + row - f_.hy) * (-f_.s) + f_.y;
    }

    // Appends the pixels that fit, a row segment at a time so that the loop vectorises, and
    // pads with idle entries once the last row is in.
    void fill() {
        while (end_ < kCapacity && row_ < rows_) {
            const int room = kCapacity - end_;
            const int left = (f_.winx - 1 - col_) / stride_ + 1;
            const int n = left < room ? left : room;
            const double ci = ci_row_;
            const std::int64_t base = static_cast<std::int64_t>(r0_ + row_) * f_.winx;
            for (int k = 0; k < n; ++k) {
                const int i = col_ + k * stride_;
                cr_[end_ + k] = static_cast<double>(i - f_.hx) * f_.s + f_.x;
                ci_[end_ + k] = ci;
                off_[end_ + k] = base + i;
                bias_[end_ + k] = 0.0;
            }
            end_ += n;
            if (n < left) {
                col_ += n * stride_;
            } else {
                col_ = 0;
                ++row_;
                ci_row_ = rowSample(row_);
            }
        }
        for (; end_ < kCapacity && row_ >= rows_; ++end_) {
            cr_[end_] = 0.0;
            ci_[end_] = 0.0;
            off_[end_] = -1;
            bias_[end_] = kInf;
        }
    }

    const KernelFrame f_;
    const int r0_, rows_, stride_;
    int row_ = 0;
    int col_ = 0; // the next column to queue
    double ci_row_;
    int head_ = 0, end_ = 0;
    double cr_[kCapacity], ci_[kCapacity], bias_[kCapacity];
    std::int64_t off_[kCapacity];
};

// V: the vector type (lanes V::W, vector V::D, mask V::M); C: independent chains of
// vectors stepped together, so that the latency of one step is hidden behind the others.
template <class V, int C> class LaneEngine {
    using D = typename V::D;
    using M = typename V::M;
    static constexpr int W = V::W;

public:
    LaneEngine(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel)
        : queue_(f, r0, rows, stride), mandel_(mandel), limit_(f.itLim),
          checkInterval_(limit_ / 4 < 1                   ? 1
                         : limit_ / 4 > kMaxCheckInterval ? kMaxCheckInterval
                                                          : limit_ / 4) {}

    std::int64_t run() {
        for (int c = 0; c < C; ++c) {
            const D zero = V::set1(0.0);
            hot_.cr[c] = hot_.ci[c] = hot_.zr2[c] = hot_.zi2[c] = hot_.zrzi[c] = zero;
            start_[c] = saveAt_[c] = V::set1(kInf);
            sr2_[c] = si2_[c] = srzi_[c] = V::set1(kNaN);
            refill(c, V::all());
        }
        std::int64_t nextCheck = checkInterval_;
        while (live_ > 0) {
            M escaped[C];
            if (steps(nextCheck, escaped))
                for (int c = 0; c < C; ++c)
                    if (V::bits(escaped[c]) != 0) retire(c, escaped[c], true);
            if (g_ == nextCheck) {
                checkLanes();
                nextCheck += checkInterval_;
            }
        }
        return iterations_;
    }

private:
    // The state the inner loop touches: kept apart so that it can live in registers.
    struct Hot {
        D cr[C], ci[C], zr2[C], zi2[C], zrzi[C];
    };

    // Advances the clock and every lane one step at a time until a lane escapes or the
    // clock reaches `end`. Returns whether a lane escaped; `escaped` gets the masks.
    __attribute__((always_inline)) bool steps(std::int64_t end, M* escaped) {
        const D four = V::set1(4.0);
        D cr[C], ci[C], zr2[C], zi2[C], zrzi[C];
#pragma GCC unroll 8
        for (int c = 0; c < C; ++c) {
            cr[c] = hot_.cr[c];
            ci[c] = hot_.ci[c];
            zr2[c] = hot_.zr2[c];
            zi2[c] = hot_.zi2[c];
            zrzi[c] = hot_.zrzi[c];
        }
        std::int64_t g = g_;
        bool any = false;
        do {
            ++g;
            D largest;
#pragma GCC unroll 8
            for (int c = 0; c < C; ++c) {
                // The plain loop's operations in its order: zr = (zr² − zi²) + cr,
                // zi = (zr·zi + zr·zi) + ci, then the three products and the bailout.
                const D zr = V::add(V::sub(zr2[c], zi2[c]), cr[c]);
                const D zi = V::add(V::add(zrzi[c], zrzi[c]), ci[c]);
                zr2[c] = V::mul(zr, zr);
                zi2[c] = V::mul(zi, zi);
                zrzi[c] = V::mul(zr, zi);
                // One comparison for all chains, on the largest |z|². No lane that steps
                // holds a NaN: NaN samples and samples with |c|² > 4 are settled before a
                // lane steps, and an orbit from |c| <= 2 stays finite until it escapes.
                const D size = V::add(zr2[c], zi2[c]);
                largest = c == 0 ? size : V::max(largest, size);
            }
            any = V::bits(V::gt(largest, four)) != 0;
        } while (!any && g != end);
        g_ = g;
#pragma GCC unroll 8
        for (int c = 0; c < C; ++c) {
            hot_.zr2[c] = zr2[c];
            hot_.zi2[c] = zi2[c];
            hot_.zrzi[c] = zrzi[c];
            escaped[c] = V::gt(V::add(zr2[c], zi2[c]), four);
        }
        return any;
    }

    D clock() const {
        return V::set1(static_cast<double>(g_));
    }

    // Stores the pixels of the lanes in m, escaped at this step or known never to escape
    // (0, the whole limit counted), and gives those lanes new pixels. A lane that escapes
    // only after its limit ran on past it between two checks: it did not escape.
    void retire(int c, M m, bool escaped) {
        const unsigned bits = V::bits(m);
        for (unsigned b = bits; b != 0; b &= b - 1) {
            const int slot = c * W + __builtin_ctz(b);
            const std::int64_t n = g_ - laneStart_[slot];
            if (escaped && n < limit_) {
                mandel_[laneOffset_[slot]] =
                    static_cast<std::int16_t>(n < 1000 ? n + 1 : n % 1000 + 1);
                iterations_ += n;
            } else {
                mandel_[laneOffset_[slot]] = 0;
                iterations_ += limit_;
            }
        }
        live_ -= lanesIn(bits);
        refill(c, m);
    }

    // The lanes in m take the next pixels of the queue. Two kinds of pixel are stored at
    // once and their lanes refilled: a NaN sample gives a NaN orbit, which never passes the
    // bailout and runs to the limit; a sample with |c|² > 4 escapes at z1 = c (the plain
    // loop's first step squares (0 − 0) + cr and (0 + 0) + ci, the same squares), which
    // settles a large part of wide views without a trip through the step loop.
    void refill(int c, M m) {
        const D four = V::set1(4.0);
        for (;;) {
            take(c, m);
            const D cr = hot_.cr[c], ci = hot_.ci[c];
            const M nan = V::both(m, V::either(V::isNaN(cr), V::isNaN(ci)));
            const M first = V::both(m, V::gt(V::add(V::mul(cr, cr), V::mul(ci, ci)), four));
            m = V::either(nan, first);
            if (V::bits(m) == 0) return;
            settle(c, nan, 0, limit_);
            settle(c, first, 2, 1);
        }
    }

    void settle(int c, M m, std::int16_t count, int iterations) {
        const unsigned bits = V::bits(m);
        for (unsigned b = bits; b != 0; b &= b - 1)
            mandel_[laneOffset_[c * W + __builtin_ctz(b)]] = count;
        iterations_ += static_cast<std::int64_t>(iterations) * lanesIn(bits);
        live_ -= lanesIn(bits);
    }

    void take(int c, M m) {
        const unsigned bits = V::bits(m);
        queue_.topUp(W);
        int k = 0;
        for (unsigned b = bits; b != 0; b &= b - 1, ++k) {
            const int slot = c * W + __builtin_ctz(b);
            laneOffset_[slot] = queue_.offset(k);
            laneStart_[slot] = g_;
            live_ += laneOffset_[slot] >= 0;
        }
        const D zero = V::set1(0.0);
        hot_.cr[c] = V::expand(hot_.cr[c], m, queue_.cr());
        hot_.ci[c] = V::expand(hot_.ci[c], m, queue_.ci());
        hot_.zr2[c] = V::select(m, zero, hot_.zr2[c]);
        hot_.zi2[c] = V::select(m, zero, hot_.zi2[c]);
        hot_.zrzi[c] = V::select(m, zero, hot_.zrzi[c]);
        const D start = V::add(clock(), V::expand(zero, m, queue_.startBias()));
        start_[c] = V::select(m, start, start_[c]);
        saveAt_[c] = V::select(m, V::add(start, V::set1(1.0)), saveAt_[c]);
        sr2_[c] = V::select(m, V::set1(kNaN), sr2_[c]); // matches nothing until saved
        queue_.take(k);
    }

    // Retires the lanes that reached the limit and those caught in a cycle.
    //
    // Cycles by Brent's method: each lane compares its products with a saved triple and
    // saves anew at lane steps 1, 2, 4, 8, ... (rounded up to the next check), so that the
    // saved state lies on the cycle and the gap exceeds the period once the lane has run
    // long enough. Comparing with == means a NaN never matches.
    void checkLanes() {
        const D now = clock();
        const D last = V::set1(static_cast<double>(limit_ - 1));
        for (int c = 0; c < C; ++c) {
            const M same =
                V::both(V::both(V::eq(hot_.zr2[c], sr2_[c]), V::eq(hot_.zi2[c], si2_[c])),
                        V::eq(hot_.zrzi[c], srzi_[c]));
            const M done = V::either(same, V::ge(V::sub(now, start_[c]), last));
            if (V::bits(done) != 0) retire(c, done, false);
            const M save = V::ge(now, saveAt_[c]);
            sr2_[c] = V::select(save, hot_.zr2[c], sr2_[c]);
            si2_[c] = V::select(save, hot_.zi2[c], si2_[c]);
            srzi_[c] = V::select(save, hot_.zrzi[c], srzi_[c]);
            saveAt_[c] = V::select(save, V::add(now, V::sub(now, start_[c])), saveAt_[c]);
        }
    }

    PixelQueue queue_;
    std::int16_t* const mandel_;
    const int limit_;
    const int checkInterval_; // short for small limits, where lanes would mostly overrun
    std::int64_t g_ = 0;      // steps taken by every lane so far
    std::int64_t iterations_ = 0;
    int live_ = 0; // lanes holding a pixel
    Hot hot_;
    // Per lane: the clock when its pixel started (+inf when idle), the clock of its next
    // save, and the saved products.
    D start_[C], saveAt_[C], sr2_[C], si2_[C], srzi_[C];
    // Per lane, for storing its result: the start clock and the pixel's array offset.
    std::int64_t laneStart_[C * W] = {};
    std::int64_t laneOffset_[C * W] = {};
};

} // namespace
} // namespace velq::lanes
