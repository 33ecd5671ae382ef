#include "core/deep/deeplanes.h"

#include <algorithm>
#include <bit>
#include <immintrin.h>

namespace velq {
namespace {

constexpr int W = DeepLanes::kWidth;
constexpr std::int64_t kMapSize = DeepLaneBounds::kMapSize;

// Below this |delta|^2 the plan compares |z| and |delta| scaled up, away from underflow.
constexpr double kTinyNorm = 0x1p-900;

// Whether a lane at m with delta d and z = Z_m + d needs a look.
bool asks(Cd d, Cd z, std::int64_t m, std::int64_t n, const DeepLaneBounds& b) {
    const double z2 = norm(z), d2 = norm(d);
    return n >= b.limit || z2 > 4.0 || (m > 1 && z2 < b.near) || m == b.last || !(d2 > kTinyNorm) ||
           z2 < d2;
}

// The longest map that holds for a lane at m with delta d and `room` steps to the end of the
// reference or the limit, and its level; nothing where none holds. A map of 2^l steps starts
// where m - 1 is a multiple of 2^l, and its bound is at most that of its first half, so the
// levels that hold run from the lowest up: the top one is found by bisection.
const double* longestMap(Cd d, std::int64_t m, std::int64_t room, const DeepLaneBounds& b,
                         int& level) {
    const std::int64_t e = m - 1;
    if (e < 0 || room < 1 || b.high < b.low) return nullptr;
    int top =
        std::min(b.high, static_cast<int>(std::bit_width(static_cast<std::uint64_t>(room))) - 1);
    if (e > 0) top = std::min(top, std::countr_zero(static_cast<std::uint64_t>(e)));
    const double dm = maxPart(d);
    const auto map = [&](int l) { return b.levels[l - b.low] + (e >> l) * kMapSize; };
    const auto holds = [&](int l) { return dm < map(l)[DeepLaneBounds::kBound]; };
    if (top < b.low || !holds(b.low)) return nullptr;
    int lo = b.low;
    while (lo < top) {
        const int mid = (lo + top + 1) / 2;
        if (holds(mid))
            lo = mid;
        else
            top = mid - 1;
    }
    level = lo;
    return map(lo);
}

// Maps, one after another, while one holds and the lane has no reason to look (asks).
void mapRun(Cd& d, Cd dc, std::int64_t& m, std::int64_t& n, const DeepLaneBounds& b) {
    for (;;) {
        int level = 0;
        const double* map = longestMap(d, m, std::min(b.last - m, b.limit - n), b, level);
        if (map == nullptr) return;
        d = Cd{map[0], map[1]} * d + Cd{map[2], map[3]} * dc;
        m += std::int64_t{1} << level;
        n += std::int64_t{1} << level;
        if (asks(d, b.ref[m] + d, m, n, b)) return;
    }
}

__attribute__((target("avx512f"), always_inline)) inline __m256d
pairAt(const Cd* ref, std::int64_t a, std::int64_t b) {
    return _mm256_set_m128d(_mm_loadu_pd(&ref[b].re), _mm_loadu_pd(&ref[a].re));
}

// Z_m of each lane, as parts, and the reach of the lowest level's map there (if any).
// Gathers are slow on many processors: each lane's Z is loaded whole, and the parts are sorted
// out by two permutations.
__attribute__((target("avx512f"), always_inline)) inline void
fetch(const DeepLaneBounds& b, __m512i m, __m512d& re, __m512d& im, __m512d& reach) {
    const Cd* const ref = b.ref;
    alignas(64) std::int64_t at[W];
    _mm512_store_si512(at, m);
    alignas(64) double r[W];
    for (int k = 0; k < W; ++k)
        r[k] = b.reach[std::min((std::max<std::int64_t>(at[k], 1) - 1) >> b.low, b.maps)];
    reach = _mm512_load_pd(r);
    // (Masked forms throughout: GCC 12 takes the "undefined" vector that the plain forms start
    // from for an uninitialised one.)
    const __m512d low = _mm512_mask_broadcast_f64x4(
        _mm512_castpd256_pd512(pairAt(ref, at[0], at[1])), 0xf0, pairAt(ref, at[2], at[3]));
    const __m512d high = _mm512_mask_broadcast_f64x4(
        _mm512_castpd256_pd512(pairAt(ref, at[4], at[5])), 0xf0, pairAt(ref, at[6], at[7]));
    re = _mm512_permutex2var_pd(low, _mm512_set_epi64(14, 12, 10, 8, 6, 4, 2, 0), high);
    im = _mm512_permutex2var_pd(low, _mm512_set_epi64(15, 13, 11, 9, 7, 5, 3, 1), high);
}

} // namespace

unsigned stepDeepLanesPlain(DeepLanes& l, const DeepLaneBounds& b) {
    for (;;) {
        unsigned bits = 0;
        for (int k = 0; k < W; ++k) {
            if (l.idle[k] != 0) continue;
            Cd d{l.dr[k], l.di[k]};
            const Cd dc{l.cr[k], l.ci[k]};
            int level = 0;
            if (longestMap(d, l.m[k], std::min(b.last - l.m[k], b.limit - l.n[k]), b, level)) {
                mapRun(d, dc, l.m[k], l.n[k], b);
            } else {
                d = deltaStep(b.ref[l.m[k]], d, dc);
                ++l.m[k];
                ++l.n[k];
            }
            l.dr[k] = d.re;
            l.di[k] = d.im;
            if (asks(d, b.ref[l.m[k]] + d, l.m[k], l.n[k], b)) bits |= 1u << k;
        }
        if (bits != 0) return bits;
    }
}

__attribute__((target("avx512f"))) unsigned stepDeepLanesAvx512(DeepLanes& l,
                                                                const DeepLaneBounds& b) {
    const __mmask8 all = 0xff;
    const __m512i none = _mm512_setzero_si512();
    __m512d dr = _mm512_load_pd(l.dr), di = _mm512_load_pd(l.di);
    const __m512d cr = _mm512_load_pd(l.cr), ci = _mm512_load_pd(l.ci);
    __m512i m = _mm512_load_si512(l.m), n = _mm512_load_si512(l.n);
    const __mmask8 busy = _mm512_cmpeq_epi64_mask(_mm512_load_si512(l.idle), none);
    const __m512i one = _mm512_set1_epi64(1);
    const __m512d two = _mm512_set1_pd(2.0), four = _mm512_set1_pd(4.0);
    const __m512d near = _mm512_set1_pd(b.near), tiny = _mm512_set1_pd(kTinyNorm);
    const __m512i limit = _mm512_set1_epi64(b.limit), last = _mm512_set1_epi64(b.last);
    __m512d zr, zi, reach;
    fetch(b, m, zr, zi, reach);
    for (;;) {
        // Whether a map holds: the lowest level's does (longestMap has the conditions).
        const __m512i e = _mm512_sub_epi64(m, one);
        const __m512i room =
            _mm512_mask_min_epi64(none, all, _mm512_sub_epi64(last, m), _mm512_sub_epi64(limit, n));
        const __m512d ar = _mm512_abs_pd(dr), ai = _mm512_abs_pd(di);
        const __m512i lowSpan = _mm512_set1_epi64(std::int64_t{1} << b.low);
        __mmask8 mapped =
            busy & _mm512_cmpge_epi64_mask(e, none) &
            _mm512_testn_epi64_mask(e, _mm512_sub_epi64(lowSpan, one)) &
            _mm512_cmpge_epi64_mask(room, lowSpan) &
            _mm512_cmp_pd_mask(_mm512_mask_max_pd(ai, all, ai, ar), reach, _CMP_LT_OQ);
        // deltaStep, lane by lane: the same operations in the same order.
        __m512d re = _mm512_add_pd(
            _mm512_add_pd(
                _mm512_mul_pd(two, _mm512_sub_pd(_mm512_mul_pd(zr, dr), _mm512_mul_pd(zi, di))),
                _mm512_sub_pd(_mm512_mul_pd(dr, dr), _mm512_mul_pd(di, di))),
            cr);
        __m512d im =
            _mm512_add_pd(_mm512_add_pd(_mm512_mul_pd(two, _mm512_add_pd(_mm512_mul_pd(zr, di),
                                                                         _mm512_mul_pd(zi, dr))),
                                        _mm512_mul_pd(_mm512_mul_pd(two, dr), di)),
                          ci);
        __m512i steps = one;
        if (mapped != 0) {
            // The lanes whose map holds take their maps one after another by themselves, as
            // long as one holds and nothing asks for a look: they are few, and where maps hold
            // they often hold for many in a row.
            alignas(64) std::int64_t ms[W], ns[W];
            alignas(64) double ds[2][W];
            _mm512_store_si512(ms, m);
            _mm512_store_si512(ns, n);
            _mm512_store_pd(ds[0], dr);
            _mm512_store_pd(ds[1], di);
            for (unsigned bits = mapped; bits != 0; bits &= bits - 1) {
                const int k = std::countr_zero(bits);
                Cd d{ds[0][k], ds[1][k]};
                mapRun(d, {l.cr[k], l.ci[k]}, ms[k], ns[k], b);
                ds[0][k] = d.re;
                ds[1][k] = d.im;
            }
            re = _mm512_mask_load_pd(re, mapped, ds[0]);
            im = _mm512_mask_load_pd(im, mapped, ds[1]);
            steps = _mm512_mask_sub_epi64(steps, mapped, _mm512_load_si512(ms), m);
        }
        dr = _mm512_mask_mov_pd(dr, busy, re);
        di = _mm512_mask_mov_pd(di, busy, im);
        steps = _mm512_maskz_mov_epi64(busy, steps);
        m = _mm512_add_epi64(m, steps);
        n = _mm512_add_epi64(n, steps);
        fetch(b, m, zr, zi, reach);
        const __m512d xr = _mm512_add_pd(zr, dr), xi = _mm512_add_pd(zi, di);
        const __m512d z2 = _mm512_add_pd(_mm512_mul_pd(xr, xr), _mm512_mul_pd(xi, xi));
        const __m512d d2 = _mm512_add_pd(_mm512_mul_pd(dr, dr), _mm512_mul_pd(di, di));
        const __mmask8 look =
            busy & (_mm512_cmpge_epi64_mask(n, limit) | _mm512_cmp_pd_mask(z2, four, _CMP_GT_OQ) |
                    (_mm512_cmpgt_epi64_mask(m, one) & _mm512_cmp_pd_mask(z2, near, _CMP_LT_OQ)) |
                    _mm512_cmpeq_epi64_mask(m, last) | _mm512_cmp_pd_mask(d2, tiny, _CMP_NGT_UQ) |
                    _mm512_cmp_pd_mask(z2, d2, _CMP_LT_OQ));
        if (look == 0) continue;
        _mm512_store_pd(l.dr, dr);
        _mm512_store_pd(l.di, di);
        _mm512_store_si512(l.m, m);
        _mm512_store_si512(l.n, n);
        return look;
    }
}

bool deepLanesHaveAvx512() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f");
}

unsigned stepDeepLanes(DeepLanes& lanes, const DeepLaneBounds& bounds) {
    static const bool avx512 = deepLanesHaveAvx512();
    return avx512 ? stepDeepLanesAvx512(lanes, bounds) : stepDeepLanesPlain(lanes, bounds);
}

} // namespace velq
