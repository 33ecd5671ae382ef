// The lane engine behind the fast kernel, written once over a vector type and compiled once
// per instruction set (fastkernel_sse2/avx2/avx512.cpp), each with its own compiler flags.
//
// Every lane runs the plain loop's recurrence on one pixel with the same operations in the
// same order, so its doubles equal the plain loop's. Pixels first run a few dozen steps in
// batches (PixelQueue), which settles the short orbits of wide views without ever taking a
// lane. The rest step in lanes, in windows with nothing but the recurrence in the loop; after
// each window the engine finds the lanes that escaped inside it (and the exact step) by
// replaying the last steps from a state kept every few steps, retires them and those past
// their limit, and gives their lanes the next pixels of the row group.
//
// An orbit whose z compares equal to an earlier one repeats for ever and can never escape, so
// it is settled as "did not escape" with the full limit counted, which is what the plain loop
// would have done after running to the limit. So is an orbit whose z has entered its trap
// (CycleTrap): a disc around an attracting cycle that the plain loop's step provably never
// leaves. Traps settle the inside points near the edges of the cardioid and the period-2
// disc, whose orbits close in too slowly to repeat exactly within the limit.
//
// This file is included only by those per-instruction-set files. It must not pull in any
// inline function with external linkage (no standard-library templates): the linker keeps
// one copy of such a function, and it could be the copy built for AVX-512.
#pragma once

#include "core/render/cycletrap.h"
#include "core/render/kernel.h"

#include <cstdint>
#include <immintrin.h>

namespace velq::lanes {

// Each takes a non-empty group (rows >= 1, stride >= 1) and a limit of at least 2, and
// iterates the columns of `spanCount` >= 1 non-empty spans, left to right, of every row.
std::int64_t rowsSse2(const KernelFrame& f, int r0, int rows, int stride, const ColumnSpan* spans,
                      int spanCount, std::int16_t* mandel);
std::int64_t rowsAvx2(const KernelFrame& f, int r0, int rows, int stride, const ColumnSpan* spans,
                      int spanCount, std::int16_t* mandel);
std::int64_t rowsAvx512(const KernelFrame& f, int r0, int rows, int stride, const ColumnSpan* spans,
                        int spanCount, std::int16_t* mandel);
// The bounds of boundedorbit.h on each set.
void boundsSse2(const double* cr, const double* ci, const double* radius, int count, int limit,
                int* held);
void boundsAvx2(const double* cr, const double* ci, const double* radius, int count, int limit,
                int* held);
void boundsAvx512(const double* cr, const double* ci, const double* radius, int count, int limit,
                  int* held);

namespace {

constexpr double kInf = __builtin_inf();
constexpr double kNaN = __builtin_nan("");

// Steps that every lane takes between two looks at the lanes. A lane that escapes idles for
// the rest of its window, so short windows suit short orbits; each look costs a few vector
// operations per vector, so long windows suit long ones.
constexpr int kWindow = 16;

// The state of every lane is kept every this many steps of a window, for finding the exact
// step of an escape; keeping the squares of every step instead would cost more in stores than
// the steps themselves.
constexpr int kSegment = 4;
constexpr int kSegments = kWindow / kSegment;
static_assert(kWindow % kSegment == 0);

// A lane whose |z|² at the end of a window is at most this did not escape in the window, so
// the bailout need not be tested at every step. Every lane that steps has |c|² <= 4 (larger
// samples escape at the first step, in the queue), and once |z| > 2 each step takes |z| − 2 to more
// than three times itself, less a rounding error of a few units in the last place of 4 (so
// an |z| a hair below 2 that rounded to |z|² > 4 can sink by at most about 4^m · 1.5e-15 in
// m steps): an orbit that passed |z|² > 4 anywhere in a window of 16 steps ends it with |z|²
// above 4 − 1e-5. An orbit that overflowed ends it infinite or NaN, which fails the
// comparison as well. Lanes that merely came near 4 are looked at and left alone.
constexpr double kStillBounded = 3.999;

// V::twicePlus(a, b) is the double nearest to 2a + b, for the plain loop's (zr·zi + zr·zi) + ci.
// Doubling a double is exact unless it overflows, so that sum is rounded once either way, and a
// fused multiply-add does it in one operation instead of two. Should 2a overflow, the plain
// loop's sum is infinite, and so is the fused one for any b of magnitude at most 2 (every
// lane's ci); in the queue's batches larger samples escape at the first step, after which
// their values no longer count. The products stay rounded on their own: this is no
// contraction, and the kernel is still compiled with -ffp-contract=off.

// Lanes are compared with their saved states (and looked at for their traps) every this many
// windows, and save anew every second time. Each check costs about a tenth of a window.
constexpr int kCycleCheckEvery = 4;

// A pixel's trap (CycleTrap) is carried as these six numbers, in the queue and in the lanes.
enum TrapField { kTrapM0r, kTrapM0i, kTrapR0sq, kTrapM1r, kTrapM1i, kTrapR1sq, kTrapFields };

inline int lanesIn(unsigned bits) {
    int n = 0;
    for (; bits != 0; bits &= bits - 1)
        ++n;
    return n;
}

// Pixels waiting for a lane, after their first steps. The queue takes the row group's pixels
// in batches of a few vectors and runs them through up to kFirstSteps steps together,
// testing the bailout at every step: the pixels that escape this early (all of them in the
// wide parts of wide views) and NaN samples (a NaN orbit never passes the bailout and runs
// to the limit) are stored at once and never take a lane. The others wait with their
// products and the steps they have taken, as a negative start bias. Past the last pixel the
// queue is padded with idle entries (sample 0, offset -1, start +inf), which never escape,
// never repeat and never reach the limit.
template <class V> class PixelQueue {
    using D = typename V::D;
    using M = typename V::M;
    static constexpr int W = V::W;
    static constexpr int kBatchVectors = 4; // stepped together, so that their latencies overlap
    static constexpr int kBatch = kBatchVectors * W;
    static constexpr int kFirstSteps = 64;
    static_assert(kFirstSteps < 1000, "counts of the first steps need no reduction");

public:
    static constexpr int kCapacity = 128;

    PixelQueue(const KernelFrame& f, int r0, int rows, int stride, const ColumnSpan* spans,
               int spanCount, std::int16_t* mandel)
        : f_(f), r0_(r0), rows_(rows), stride_(stride), spans_(spans), spanCount_(spanCount),
          mandel_(mandel), firstSteps_(f.itLim - 1 < kFirstSteps ? f.itLim - 1 : kFirstSteps),
          col_(spans[0].begin), ciRow_(rowSample(0)) {}

    // Guarantees at least `want` entries (pixels or idle padding) from the head on.
    void topUp(int want) {
        if (end_ - head_ >= want) return;
        int kept = 0;
        for (int k = head_; k < end_; ++k, ++kept)
            for (double* a : arrays())
                a[kept] = a[k];
        pixels_ = pixels_ > head_ ? pixels_ - head_ : 0;
        lastTrap_ -= head_;
        end_ = kept;
        head_ = 0;
        while (end_ + kBatch <= kCapacity && row_ < rows_)
            runBatch();
        if (row_ < rows_) return; // the batches left at least kCapacity − kBatch entries
        for (; end_ < kCapacity; ++end_) {
            cr_[end_] = ci_[end_] = zr2_[end_] = zi2_[end_] = zrzi_[end_] = 0.0;
            off_[end_] = -1.0;
            bias_[end_] = kInf;
            setTrap(end_, CycleTrap{});
        }
    }

    const double* cr() const { return cr_ + head_; }
    const double* ci() const { return ci_ + head_; }
    const double* zr2() const { return zr2_ + head_; }
    const double* zi2() const { return zi2_ + head_; }
    const double* zrzi() const { return zrzi_ + head_; }
    const double* startBias() const { return bias_ + head_; }
    const double* offsets() const { return off_ + head_; }
    // The pixels' traps (see CycleTrap), field by field; only where trapsAhead().
    const double* trap(TrapField field) const { return trap_[field] + head_; }
    // Some entry from the head on may have a trap; otherwise none has.
    bool trapsAhead() const { return lastTrap_ >= head_; }
    // Entries from the head on that are pixels, not padding.
    int pixelsAhead() const { return pixels_ > head_ ? pixels_ - head_ : 0; }
    // No pixel is left to hand out.
    bool drained() const { return row_ >= rows_ && head_ >= pixels_; }
    void take(int k) { head_ += k; }
    // The plain loop's iterations of the pixels stored here.
    D iterations() const { return iterations_; }

private:
    double rowSample(int row) const {
        return static_cast<double>(r0_ + row - f_.hy) * (-f_.s) + f_.y;
    }

    struct Arrays {
        double* a[7 + kTrapFields];
        double** begin() { return a; }
        double** end() { return a + 7 + kTrapFields; }
    };
    Arrays arrays() {
        return {{cr_, ci_, zr2_, zi2_, zrzi_, bias_, off_, trap_[kTrapM0r], trap_[kTrapM0i],
                 trap_[kTrapR0sq], trap_[kTrapM1r], trap_[kTrapM1i], trap_[kTrapR1sq]}};
    }

    // The next kBatch pixels (fewer at the end, the rest idle) through their first steps.
    void runBatch() {
        double cr[kBatch], ci[kBatch], off[kBatch];
        int n = 0;
        if (col_ + (kBatch - 1) * stride_ < spans_[span_].end) { // within the span: whole vectors
            // Column numbers as doubles are exact, so these are the plain loop's samples.
            const D lane = V::mul(V::iota(), V::set1(stride_));
            const D first = V::set1(col_ - f_.hx);
            const D offset = V::set1(
                static_cast<double>(static_cast<std::int64_t>(r0_ + row_) * f_.winx + col_));
            for (int u = 0; u < kBatchVectors; ++u) {
                const D step = V::add(lane, V::set1(u * W * stride_));
                V::store(cr + u * W,
                         V::add(V::mul(V::add(first, step), V::set1(f_.s)), V::set1(f_.x)));
                V::store(ci + u * W, V::set1(ciRow_));
                V::store(off + u * W, V::add(offset, step));
            }
            n = kBatch;
            col_ += kBatch * stride_;
        }
        for (; n < kBatch && row_ < rows_; ++n) {
            cr[n] = static_cast<double>(col_ - f_.hx) * f_.s + f_.x;
            ci[n] = ciRow_;
            off[n] = static_cast<double>(static_cast<std::int64_t>(r0_ + row_) * f_.winx + col_);
            col_ += stride_;
            if (col_ >= spans_[span_].end) nextSpan();
        }
        if (col_ >= spans_[span_].end) nextSpan();
        for (int k = n; k < kBatch; ++k) {
            cr[k] = ci[k] = 0.0;
            off[k] = -1.0;
        }
        D vcr[kBatchVectors], vci[kBatchVectors], zr2[kBatchVectors], zi2[kBatchVectors],
            zrzi[kBatchVectors], taken[kBatchVectors];
        M nan[kBatchVectors], live[kBatchVectors], pixel[kBatchVectors];
        unsigned anyLive = 0;
        for (int u = 0; u < kBatchVectors; ++u) {
            vcr[u] = V::load(cr + u * W);
            vci[u] = V::load(ci + u * W);
            zr2[u] = zi2[u] = zrzi[u] = taken[u] = V::set1(0.0);
            nan[u] = V::either(V::isNaN(vcr[u]), V::isNaN(vci[u]));
            pixel[u] = V::ge(V::load(off + u * W), V::set1(0.0));
            live[u] = V::butNot(pixel[u], nan[u]);
            anyLive |= V::bits(live[u]);
        }
        const D four = V::set1(4.0), one = V::set1(1.0);
        // The plain loop's steps, bailout included, until every pixel of the batch escaped
        // (looked at every fourth step). `taken` counts the steps after which a lane was still
        // in, so a lane that escaped did so at step taken + 1. Where the last batch hardly
        // settled any pixel early, only the first step is tried.
        const int steps = earlyEscapes_ ? firstSteps_ : 1;
        int j = 0;
        while (j < steps && anyLive != 0) {
            const int end = j + 4 < steps ? j + 4 : steps;
            for (; j < end; ++j) {
#pragma GCC unroll 4
                for (int u = 0; u < kBatchVectors; ++u) {
                    const D zr = V::add(V::sub(zr2[u], zi2[u]), vcr[u]);
                    const D zi = V::twicePlus(zrzi[u], vci[u]);
                    zr2[u] = V::mul(zr, zr);
                    zi2[u] = V::mul(zi, zi);
                    zrzi[u] = V::mul(zr, zi);
                    live[u] = V::both(live[u], V::le(V::add(zr2[u], zi2[u]), four));
                    taken[u] = V::select(live[u], V::add(taken[u], one), taken[u]);
                }
            }
            anyLive = 0;
            for (int u = 0; u < kBatchVectors; ++u)
                anyLive |= V::bits(live[u]);
        }
        D escapedAt[kBatchVectors];
        for (int u = 0; u < kBatchVectors; ++u) {
            const M out = V::butNot(V::butNot(pixel[u], nan[u]), live[u]);
            escapedAt[u] = V::select(out, V::add(taken[u], one), V::set1(kInf));
        }
        const int stepsTaken = j; // by the lanes still live
        // At limit − 1 steps the lanes still live are done.
        const bool limitReached = stepsTaken == f_.itLim - 1;
        int settled = 0;
        const D zero = V::set1(0.0), limit = V::set1(f_.itLim);
        for (int u = 0; u < kBatchVectors; ++u) {
            const M escaped = V::lt(escapedAt[u], V::set1(kInf));
            const M stopped = limitReached ? V::either(nan[u], live[u]) : nan[u];
            const M done = V::either(escaped, stopped);
            settled += lanesIn(V::bits(done));
            if (V::bits(done) != 0) {
                double count[W];
                V::store(count, V::select(escaped, V::add(escapedAt[u], V::set1(1.0)), zero));
                for (unsigned b = V::bits(done); b != 0; b &= b - 1) {
                    const int lane = __builtin_ctz(b);
                    mandel_[static_cast<std::int64_t>(off[u * W + lane])] =
                        static_cast<std::int16_t>(count[lane]);
                }
                iterations_ = V::add(
                    iterations_, V::select(escaped, escapedAt[u], V::select(stopped, limit, zero)));
            }
            if (limitReached || V::bits(live[u]) == 0) continue;
            const M m = live[u];
            V::compress(cr_ + end_, m, vcr[u]);
            V::compress(ci_ + end_, m, vci[u]);
            V::compress(off_ + end_, m, V::load(off + u * W));
            if (stepsTaken == 1) { // a lane redoes one step more cheaply than it takes one over
                V::store(zr2_ + end_, zero);
                V::store(zi2_ + end_, zero);
                V::store(zrzi_ + end_, zero);
                V::store(bias_ + end_, zero);
            } else {
                V::compress(zr2_ + end_, m, zr2[u]);
                V::compress(zi2_ + end_, m, zi2[u]);
                V::compress(zrzi_ + end_, m, zrzi[u]);
                V::compress(bias_ + end_, m, V::set1(-stepsTaken));
            }
            queueTraps(m, trapsPay_ ? V::both(m, mayHaveTrap(vcr[u], vci[u])) : V::fromBits(0));
            end_ += lanesIn(V::bits(m));
        }
        pixels_ = end_; // no padding yet while rows are left
        earlyEscapes_ = settled * 4 >= n;
    }

    void nextSpan() {
        if (++span_ == spanCount_) {
            span_ = 0;
            ++row_;
            ciRow_ = rowSample(row_);
        }
        col_ = spans_[span_].begin;
    }

    // The main cardioid and the disc of period two, where cycleTrapFor() may find a trap; a
    // cheap test on whole vectors, since most samples lie elsewhere.
    static M mayHaveTrap(D cr, D ci) {
        const D quarter = V::set1(0.25), x = V::sub(cr, quarter), ci2 = V::mul(ci, ci);
        const D q = V::add(V::mul(x, x), ci2);
        const D xb = V::add(cr, V::set1(1.0));
        return V::either(V::lt(V::mul(q, V::add(q, x)), V::mul(quarter, ci2)),
                         V::lt(V::add(V::mul(xb, xb), ci2), V::set1(1.0 / 16.0)));
    }

    // The traps of the entries just queued from the lanes in m, of which those in `candidates`
    // may have one.
    void queueTraps(M m, M candidates) {
        const D none = V::set1(-1.0);
        V::store(trap_[kTrapR0sq] + end_, none);
        V::store(trap_[kTrapR1sq] + end_, none);
        if (V::bits(candidates) == 0) return;
        int k = end_;
        for (unsigned b = V::bits(m); b != 0; b &= b - 1, ++k) {
            if ((V::bits(candidates) >> __builtin_ctz(b) & 1) == 0) continue;
            setTrap(k, cycleTrapFor(cr_[k], ci_[k]));
            lastTrap_ = k;
        }
    }

    void setTrap(int k, const CycleTrap& t) {
        trap_[kTrapM0r][k] = t.m0r;
        trap_[kTrapM0i][k] = t.m0i;
        trap_[kTrapR0sq][k] = t.r0sq;
        trap_[kTrapM1r][k] = t.m1r;
        trap_[kTrapM1i][k] = t.m1i;
        trap_[kTrapR1sq][k] = t.r1sq;
    }

    const KernelFrame f_;
    const int r0_, rows_, stride_;
    const ColumnSpan* const spans_;
    const int spanCount_;
    std::int16_t* const mandel_;
    const int firstSteps_; // at most the limit − 1 steps the plain loop tests
    // Below this limit an inside point runs to it sooner than a trap is found and caught.
    static constexpr int kTrapsFromLimit = 1024;
    const bool trapsPay_ = f_.itLim >= kTrapsFromLimit;
    bool earlyEscapes_ = true;
    int row_ = 0;
    int span_ = 0;
    int col_; // the next column to queue
    double ciRow_;
    int head_ = 0, end_ = 0, pixels_ = 0; // pixels_: the end of the pixels, before padding
    D iterations_ = V::set1(0.0);         // the plain loop's, per lane
    // Per entry: the sample, the products after the first steps, the steps taken as a
    // negative bias (+inf for padding) and the array offset as a double (exact far beyond
    // any picture), so that lanes take them all alike.
    double cr_[kCapacity], ci_[kCapacity], zr2_[kCapacity], zi2_[kCapacity], zrzi_[kCapacity];
    double bias_[kCapacity], off_[kCapacity];
    double trap_[kTrapFields][kCapacity] = {}; // centres are read, and must be numbers, even unused
    int lastTrap_ = -1;                        // the last entry with a trap
};

// V: the vector type (lanes V::W, vector V::D, mask V::M); C: independent chains of
// vectors stepped together, so that the latency of one step is hidden behind the others.
template <class V, int C> class LaneEngine {
    using D = typename V::D;
    using M = typename V::M;
    static constexpr int W = V::W;
    static constexpr unsigned kLaneBits = (1u << W) - 1;

public:
    LaneEngine(const KernelFrame& f, int r0, int rows, int stride, const ColumnSpan* spans,
               int spanCount, std::int16_t* mandel)
        : queue_(f, r0, rows, stride, spans, spanCount, mandel), mandel_(mandel), limit_(f.itLim),
          saveGapCap_(limit_ / 8 > kMinSaveGapCap ? limit_ / 8 : kMinSaveGapCap) {}

    std::int64_t run() {
        for (int c = 0; c < C; ++c) {
            makeIdle(c);
            take(c, V::all());
        }
        for (;;) {
            narrowWhenDrained();
            if (live_ == 0) break;
            const Events e = stepWindow<C>(static_cast<int>(++windows_ % 1024));
            g_ += kWindow;
            lookAtLanes(e);
        }
        double sum[W];
        V::store(sum, V::add(iterations_, queue_.iterations()));
        double total = 0.0;
        for (double lane : sum)
            total += lane;
        return static_cast<std::int64_t>(total);
    }

private:
    // The longest gap between two saves of a lane is the larger of this and an eighth of the
    // limit: orbits that settle late are still caught before the limit, and periods up to
    // that gap are seen.
    static constexpr int kMinSaveGapCap = 512;

    // The state the step loop touches.
    struct Hot {
        D cr[C], ci[C], zr2[C], zi2[C], zrzi[C];
    };

    // The products after some step: all a lane needs, with its sample, to step on.
    struct Products {
        D zr2, zi2, zrzi;
    };

    // What a window leaves to look at, W bits a chain.
    struct Events {
        std::uint64_t close = 0; // |z|² ended the window above kStillBounded (or NaN)
        std::uint64_t stop = 0;  // reached the limit, or repeats a saved state
    };

    // Steps the first `active_` chains one window on; the step loop is built for each count.
    template <int N> Events stepWindow(int w) {
        if constexpr (N > 1)
            if (active_ < N) return stepWindow<N - 1>(w);
        if (w % (2 * kCycleCheckEvery) == 0) return steps<N, true, true>();
        if (w % kCycleCheckEvery == 0) return steps<N, true, false>();
        return steps<N, false, false>();
    }

    // The plain loop's operations in its order: zr = (zr² − zi²) + cr, zi = (zr·zi + zr·zi)
    // + ci, then the three products. The products are kept at the start and after every
    // kSegment steps for finish(). Not inlined: merged into its caller, the compiler shares
    // the first chain's steps between the chain counts and then runs the chains one after the
    // other.
    //
    // At the end the lanes are tested while their values are still in registers; with
    // `Cycles` they are also compared with their saved states and then save anew (in that
    // order, or a save would match itself).
    template <int N, bool Cycles, bool Save> __attribute__((noinline)) Events steps() {
        D cr[N], ci[N], zr2[N], zi2[N], zrzi[N], zr[N], zi[N];
#pragma GCC unroll 8
        for (int c = 0; c < N; ++c) {
            cr[c] = hot_.cr[c];
            ci[c] = hot_.ci[c];
            zr2[c] = hot_.zr2[c];
            zi2[c] = hot_.zi2[c];
            zrzi[c] = hot_.zrzi[c];
            kept_[0][c] = {zr2[c], zi2[c], zrzi[c]};
        }
#pragma GCC unroll 16
        for (int j = 1; j <= kWindow; ++j) {
#pragma GCC unroll 8
            for (int c = 0; c < N; ++c) {
                zr[c] = V::add(V::sub(zr2[c], zi2[c]), cr[c]);
                zi[c] = V::twicePlus(zrzi[c], ci[c]);
                zr2[c] = V::mul(zr[c], zr[c]);
                zi2[c] = V::mul(zi[c], zi[c]);
                zrzi[c] = V::mul(zr[c], zi[c]);
                if (j % kSegment == 0 && j < kWindow)
                    kept_[j / kSegment][c] = {zr2[c], zi2[c], zrzi[c]};
            }
        }
        Events e;
        const D now = V::set1(static_cast<double>(g_ + kWindow));
        const D bounded = V::set1(kStillBounded);
#pragma GCC unroll 8
        for (int c = 0; c < N; ++c) {
            hot_.zr2[c] = zr2[c];
            hot_.zi2[c] = zi2[c];
            hot_.zrzi[c] = zrzi[c];
            const M close = V::nle(V::add(zr2[c], zi2[c]), bounded);
            M stop = V::ge(now, limitAt_[c]);
            if constexpr (Cycles) {
                // Idle lanes (offset -1) sit at z = 0 and would repeat their last z.
                M settled = V::either(repeats(zr[c], zi[c], lastZr_[c], lastZi_[c]),
                                      repeats(zr[c], zi[c], savedZr_[c], savedZi_[c]));
                if (trapChains_ >> c & 1) settled = V::either(settled, trapped(c, zr[c], zi[c]));
                stop = V::either(stop, V::both(settled, V::ge(offset_[c], V::set1(0.0))));
                lastZr_[c] = zr[c];
                lastZi_[c] = zi[c];
                if constexpr (Save) save(c, now, zr[c], zi[c]);
            }
            e.close |= static_cast<std::uint64_t>(V::bits(close)) << (c * W);
            e.stop |= static_cast<std::uint64_t>(V::bits(stop)) << (c * W);
        }
        return e;
    }

    // z decides every later step (its products are functions of it), so a lane whose z
    // compares equal to an earlier one repeats for ever. == takes +0 for −0, which changes
    // no magnitude and so no bailout; a NaN matches nothing.
    static M repeats(D zr, D zi, D savedZr, D savedZi) {
        return V::both(V::eq(zr, savedZr), V::eq(zi, savedZi));
    }

    // Chains without a trap in any lane skip the look at the traps.
    void noteTraps(int c) {
        const D zero = V::set1(0.0);
        const bool any = V::bits(V::either(V::ge(trapR0sq_[c], zero), V::ge(trapR1sq_[c], zero)));
        trapChains_ = any ? trapChains_ | 1u << c : trapChains_ & ~(1u << c);
    }

    // z lies in one of the lane's trap discs (CycleTrap::holds, lane by lane): the orbit never
    // escapes. Looked at with the cycle checks only: each look costs a dozen operations, and
    // an orbit caught some steps later loses little.
    M trapped(int c, D zr, D zi) const {
        const D d0r = V::sub(zr, trapM0r_[c]), d0i = V::sub(zi, trapM0i_[c]);
        const D d1r = V::sub(zr, trapM1r_[c]), d1i = V::sub(zi, trapM1i_[c]);
        return V::either(V::le(V::add(V::mul(d0r, d0r), V::mul(d0i, d0i)), trapR0sq_[c]),
                         V::le(V::add(V::mul(d1r, d1r), V::mul(d1i, d1i)), trapR1sq_[c]));
    }

    // Two saved states per lane. The z of the last check catches the periods that divide
    // the interval between checks (1 and 2 are the common ones) as soon as the orbit has
    // settled. The other follows Brent's method: saved at lane steps 0, 16, 32, 64, ...
    // (rounded up to the next save, the gap capped), so that a saved state lies on the
    // cycle and a gap reaches a multiple of any other period once the lane has run long
    // enough. Without a branch: some lane of a chain is due in most saves.
    void save(int c, D now, D zr, D zi) {
        const M due = V::ge(now, saveAt_[c]);
        savedZr_[c] = V::select(due, zr, savedZr_[c]);
        savedZi_[c] = V::select(due, zi, savedZi_[c]);
        const D gap = V::min(V::sub(now, start_[c]), V::set1(saveGapCap_));
        saveAt_[c] = V::select(due, V::add(now, gap), saveAt_[c]);
    }

    D clock() const {
        return V::set1(static_cast<double>(g_));
    }

    void lookAtLanes(Events e) {
        for (std::uint64_t chains = e.close | e.stop; chains != 0;) {
            const int c = __builtin_ctzll(chains) / W;
            chains &= ~(static_cast<std::uint64_t>(kLaneBits) << (c * W));
            finish(c, static_cast<unsigned>(e.close >> (c * W)) & kLaneBits,
                   static_cast<unsigned>(e.stop >> (c * W)) & kLaneBits);
        }
    }

    // Stores the pixels of chain c that are done and refills their lanes: those among `close`
    // that escaped in this window (the others merely came near 4), and those in `stop`. An
    // escape that comes only after the limit does not count: that pixel did not escape.
    void finish(int c, unsigned close, unsigned stop) {
        D escapedAt = V::set1(kInf);
        if (close != 0)
            escapedAt = V::add(escapeStep(c, V::fromBits(close)),
                               V::set1(static_cast<double>(g_ - kWindow + 1)));
        const M escaped = V::lt(escapedAt, V::set1(kInf));
        const M counted = V::both(escaped, V::le(escapedAt, limitAt_[c]));
        const D n = V::sub(escapedAt, start_[c]);
        const M done = V::either(escaped, V::fromBits(stop));
        // The lanes not counted store 0, the count of a pixel that did not escape.
        store(c, done, V::select(counted, n, V::set1(-1.0)));
        iterations_ = V::add(iterations_,
                             V::select(done, V::select(counted, n, V::set1(limit_)), V::set1(0.0)));
        live_ -= lanesIn(V::bits(done));
        take(c, done);
    }

    // For the lanes of chain c in m, the step of the window (0 for its first) at which |z|²
    // first passed 4, +inf where it did not. Replayed from a kept state: the last one before
    // the first that is above kStillBounded in any of these lanes. A lane escaped after that
    // state, since a state kept at or after an escape in the window would be above
    // kStillBounded; the lanes whose own first such state comes later replay a few steps more
    // than they need, which changes nothing.
    D escapeStep(int c, M lanes) const {
        const D bounded = V::set1(kStillBounded);
        int from = kSegments - 1; // the window's end is above it in every one of these lanes
        for (int k = 1; k < kSegments; ++k) {
            const Products& p = kept_[k][c];
            if (V::bits(V::both(lanes, V::nle(V::add(p.zr2, p.zi2), bounded))) != 0) {
                from = k - 1;
                break;
            }
        }
        Products p = kept_[from][c];
        const D four = V::set1(4.0);
        D step = V::set1(kInf);
        M pending = lanes;
        for (int j = from * kSegment; j < kWindow && V::bits(pending) != 0; ++j) {
            const D zr = V::add(V::sub(p.zr2, p.zi2), hot_.cr[c]);
            const D zi = V::twicePlus(p.zrzi, hot_.ci[c]);
            p = {V::mul(zr, zr), V::mul(zi, zi), V::mul(zr, zi)};
            const M out = V::both(pending, V::gt(V::add(p.zr2, p.zi2), four));
            step = V::select(out, V::set1(j), step);
            pending = V::butNot(pending, out);
        }
        return step;
    }

    // Writes the counts of the lanes in m into their pixels: for an escape after n steps the
    // raw count n + 1 reduced into 1..1000, for n = -1 the 0 of a pixel that did not escape.
    void store(int c, M m, D steps) {
        double n[W], offset[W];
        V::store(n, steps);
        V::store(offset, offset_[c]);
        for (unsigned b = V::bits(m); b != 0; b &= b - 1) {
            const int lane = __builtin_ctz(b);
            const int k = static_cast<int>(n[lane]);
            mandel_[static_cast<std::int64_t>(offset[lane])] =
                static_cast<std::int16_t>(k < 1000 ? k + 1 : k % 1000 + 1);
        }
    }

    // The lanes in m take the next pixels of the queue, where they left their first steps.
    void take(int c, M m) {
        const int k = lanesIn(V::bits(m));
        queue_.topUp(W);
        const int pixels = queue_.pixelsAhead();
        live_ += pixels < k ? pixels : k;
        const D zero = V::set1(0.0);
        const D bias = V::expand(zero, m, queue_.startBias());
        hot_.cr[c] = V::expand(hot_.cr[c], m, queue_.cr());
        hot_.ci[c] = V::expand(hot_.ci[c], m, queue_.ci());
        offset_[c] = V::expand(offset_[c], m, queue_.offsets());
        if (queue_.trapsAhead()) {
            D* const trap[kTrapFields] = {trapM0r_, trapM0i_, trapR0sq_,
                                          trapM1r_, trapM1i_, trapR1sq_};
            for (int field = 0; field < kTrapFields; ++field)
                trap[field][c] =
                    V::expand(trap[field][c], m, queue_.trap(static_cast<TrapField>(field)));
        } else { // a disc of radius² −1 holds nothing, wherever its centre
            trapR0sq_[c] = V::select(m, V::set1(-1.0), trapR0sq_[c]);
            trapR1sq_[c] = V::select(m, V::set1(-1.0), trapR1sq_[c]);
        }
        noteTraps(c);
        if (V::bits(V::eq(bias, zero)) == kLaneBits) { // pixels that have taken no step yet
            hot_.zr2[c] = V::select(m, zero, hot_.zr2[c]);
            hot_.zi2[c] = V::select(m, zero, hot_.zi2[c]);
            hot_.zrzi[c] = V::select(m, zero, hot_.zrzi[c]);
        } else {
            hot_.zr2[c] = V::expand(hot_.zr2[c], m, queue_.zr2());
            hot_.zi2[c] = V::expand(hot_.zi2[c], m, queue_.zi2());
            hot_.zrzi[c] = V::expand(hot_.zrzi[c], m, queue_.zrzi());
        }
        const D start = V::add(clock(), bias);
        start_[c] = V::select(m, start, start_[c]);
        limitAt_[c] = V::select(m, V::add(start, V::set1(limit_ - 1)), limitAt_[c]);
        // The first saved state is z0 = 0: an orbit that comes back to 0 repeats. Idle lanes
        // save NaN (inf − inf), which matches nothing, and never save again.
        const D first = V::sub(start, start);
        saveAt_[c] = V::select(m, V::add(V::add(clock(), V::set1(kWindow)), first), saveAt_[c]);
        savedZr_[c] = V::select(m, first, savedZr_[c]);
        savedZi_[c] = V::select(m, first, savedZi_[c]);
        lastZr_[c] = V::select(m, first, lastZr_[c]);
        lastZi_[c] = V::select(m, first, lastZi_[c]);
        queue_.take(k);
    }

    void makeIdle(int c) {
        const D zero = V::set1(0.0), inf = V::set1(kInf), nan = V::set1(kNaN);
        hot_.cr[c] = hot_.ci[c] = hot_.zr2[c] = hot_.zi2[c] = hot_.zrzi[c] = zero;
        start_[c] = limitAt_[c] = saveAt_[c] = inf;
        savedZr_[c] = savedZi_[c] = lastZr_[c] = lastZi_[c] = nan;
        offset_[c] = V::set1(-1.0);
        trapM0r_[c] = trapM0i_[c] = trapM1r_[c] = trapM1i_[c] = zero;
        trapR0sq_[c] = trapR1sq_[c] = V::set1(-1.0);
    }

    // Once the queue holds no more pixels, moves the live lanes into as few chains as they
    // fill and steps only those: the last long orbits of a group then do not drag idle
    // vectors along.
    void narrowWhenDrained() {
        if (!queue_.drained()) return;
        const int needed = (live_ + W - 1) / W;
        if (needed >= active_) return;
        double offset[C * W];
        for (int c = 0; c < active_; ++c)
            V::store(offset + c * W, offset_[c]);
        int live[C * W];
        int n = 0;
        for (int slot = 0; slot < active_ * W; ++slot) {
            live[n] = slot;
            n += offset[slot] >= 0.0;
        }
        D* const fields[] = {hot_.cr,  hot_.ci,   hot_.zr2, hot_.zi2, hot_.zrzi, start_,  limitAt_,
                             saveAt_,  savedZr_,  savedZi_, lastZr_,  lastZi_,   offset_, trapM0r_,
                             trapM0i_, trapR0sq_, trapM1r_, trapM1i_, trapR1sq_};
        const double idle[] = {0.0,  0.0,  0.0,  0.0, 0.0, kInf, kInf, kInf, kNaN, kNaN,
                               kNaN, kNaN, -1.0, 0.0, 0.0, -1.0, 0.0,  0.0,  -1.0};
        constexpr int kFields = sizeof(idle) / sizeof(idle[0]);
        static_assert(sizeof(fields) / sizeof(fields[0]) == kFields);
        for (int f = 0; f < kFields; ++f) {
            double lanes[C * W], packed[C * W];
            for (int c = 0; c < active_; ++c)
                V::store(lanes + c * W, fields[f][c]);
            for (int k = 0; k < n; ++k)
                packed[k] = lanes[live[k]];
            for (int k = n; k < needed * W; ++k)
                packed[k] = idle[f];
            for (int c = 0; c < needed; ++c)
                fields[f][c] = V::load(packed + c * W);
        }
        active_ = needed;
        trapChains_ = 0;
        for (int c = 0; c < active_; ++c)
            noteTraps(c);
    }

    PixelQueue<V> queue_;
    std::int16_t* const mandel_;
    const int limit_;
    const double saveGapCap_;
    std::int64_t g_ = 0; // steps taken by every lane so far
    std::int64_t windows_ = 0;
    int live_ = 0;                // lanes holding a pixel
    int active_ = C;              // chains stepped; the others hold no pixel
    unsigned trapChains_ = 0;     // bit c: some lane of chain c has a trap
    D iterations_ = V::set1(0.0); // the plain loop's iteration total, per lane
    Hot hot_;
    // Per lane: the pixel's array offset (-1 when idle); the clock when its pixel started,
    // at which it has taken limit − 1 steps, and of its next save (all +inf when idle); the
    // saved z and the z of the last check.
    D offset_[C], start_[C], limitAt_[C], saveAt_[C];
    D savedZr_[C], savedZi_[C], lastZr_[C], lastZi_[C];
    // Per lane: the pixel's trap (see CycleTrap), none when idle.
    D trapM0r_[C], trapM0i_[C], trapR0sq_[C], trapM1r_[C], trapM1i_[C], trapR1sq_[C];
    Products kept_[kSegments][C]; // at the start of the window and after every kSegment steps
};

} // namespace
} // namespace velq::lanes
