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
    if (e < 0 || room < 1) return nullptr;
    int top =
        std::min(b.high, static_cast<int>(std::bit_width(static_cast<std::uint64_t>(room))) - 1);
    if (e > 0) top = std::min(top, std::countr_zero(static_cast<std::uint64_t>(e)));
    // The lowest level first, from the dense copy of its bounds.
    const double dm = maxPart(d);
    if (top < b.low || !(dm < b.reach[std::min(e >> b.low, b.maps)])) return nullptr;
    const auto map = [&](int l) { return b.levels[l - b.low] + (e >> l) * kMapSize; };
    int lo = b.low;
    while (lo < top) {
        const int mid = (lo + top + 1) / 2;
        if (dm < map(mid)[DeepLaneBounds::kBound])
            lo = mid;
        else
            top = mid - 1;
    }
    level = lo;
    return map(lo);
}

// Maps, one after another, while one holds and the lane has no reason to look (asks). The
// callers have found the lowest level's map to hold; should none hold after all, one step
// instead, so that the lane always moves on.
void mapRun(Cd& d, Cd dc, std::int64_t& m, std::int64_t& n, const DeepLaneBounds& b) {
    for (bool first = true;; first = false) {
        int level = 0;
        const double* map = longestMap(d, m, std::min(b.last - m, b.limit - n), b, level);
        if (map == nullptr) {
            if (first) {
                d = deltaStep(b.ref[m], d, dc);
                ++m;
                ++n;
            }
            return;
        }
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
    // Each lane's index into the lowest level's bounds, (max(m, 1) - 1) >> low, at most that of
    // the 0 after them all: worked out in the vector, not lane by lane.
    const __mmask8 all = 0xff;
    const __m512i one = _mm512_set1_epi64(1), none = _mm512_setzero_si512();
    const __m512i e = _mm512_sub_epi64(_mm512_mask_max_epi64(none, all, m, one), one);
    const __m512i i = _mm512_mask_min_epi64(
        none, all, _mm512_mask_srl_epi64(none, all, e, _mm_cvtsi32_si128(b.low)),
        _mm512_set1_epi64(b.maps));
    alignas(64) std::int64_t ri[W];
    _mm512_store_si512(ri, i);
    alignas(64) double r[W];
    for (int k = 0; k < W; ++k)
        r[k] = b.reach[ri[k]];
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
    const std::int64_t span = std::int64_t{1} << b.low;
    for (;;) {
        // The lanes' steps first, their maps and looks after: the chains of operations of
        // the steps overlap.
        unsigned mapping = 0;
        for (int k = 0; k < W; ++k) {
            if (l.idle[k] != 0) continue;
            const Cd d{l.dr[k], l.di[k]};
            const std::int64_t e = l.m[k] - 1;
            if (e >= 0 && (e & (span - 1)) == 0 &&
                std::min(b.last - l.m[k], b.limit - l.n[k]) >= span &&
                maxPart(d) < b.reach[std::min(e >> b.low, b.maps)]) {
                mapping |= 1u << k; // the lowest level's map holds (longestMap)
                continue;
            }
            const Cd next = deltaStep(b.ref[l.m[k]], d, {l.cr[k], l.ci[k]});
            l.dr[k] = next.re;
            l.di[k] = next.im;
            ++l.m[k];
            ++l.n[k];
        }
        unsigned bits = 0;
        for (int k = 0; k < W; ++k) {
            if (l.idle[k] != 0) continue;
            Cd d{l.dr[k], l.di[k]};
            if ((mapping >> k & 1) != 0) {
                mapRun(d, {l.cr[k], l.ci[k]}, l.m[k], l.n[k], b);
                l.dr[k] = d.re;
                l.di[k] = d.im;
            }
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

namespace {

// Four lanes in AVX2 registers, from lane `first` of the lanes on. AVX2 has no mask
// registers: comparisons give vectors of all-ones lanes, turned into bits where needed.
struct Quad {
    int first;
    __m256d dr, di, zr, zi, reach;
    __m256i m, n, busy;
};

__attribute__((target("avx2"), always_inline)) inline void fetch(const DeepLaneBounds& b, Quad& v) {
    alignas(32) std::int64_t at[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), v.m);
    alignas(32) double r[4];
    for (int k = 0; k < 4; ++k)
        r[k] = b.reach[std::min((std::max<std::int64_t>(at[k], 1) - 1) >> b.low, b.maps)];
    v.reach = _mm256_load_pd(r);
    const __m256d z01 =
        _mm256_set_m128d(_mm_loadu_pd(&b.ref[at[1]].re), _mm_loadu_pd(&b.ref[at[0]].re));
    const __m256d z23 =
        _mm256_set_m128d(_mm_loadu_pd(&b.ref[at[3]].re), _mm_loadu_pd(&b.ref[at[2]].re));
    // (re0 re2 re1 re3) and (im0 im2 im1 im3), put in order.
    v.zr = _mm256_permute4x64_pd(_mm256_unpacklo_pd(z01, z23), 0xd8);
    v.zi = _mm256_permute4x64_pd(_mm256_unpackhi_pd(z01, z23), 0xd8);
}

__attribute__((target("avx2"), always_inline)) inline __m256i asMask(__m256d a) {
    return _mm256_castpd_si256(a);
}

// One step (or run of maps) of each busy lane of the quad; the lanes that ask for a look.
__attribute__((target("avx2"), always_inline)) inline unsigned
advance(DeepLanes& l, const DeepLaneBounds& b, Quad& v) {
    const int f = v.first;
    const __m256i one = _mm256_set1_epi64x(1);
    const __m256d two = _mm256_set1_pd(2.0);
    const __m256d sign = _mm256_set1_pd(-0.0);
    const __m256i span = _mm256_set1_epi64x(std::int64_t{1} << b.low);
    const __m256i e = _mm256_sub_epi64(v.m, one);
    const __m256i toLast = _mm256_sub_epi64(_mm256_set1_epi64x(b.last), v.m);
    const __m256i toLimit = _mm256_sub_epi64(_mm256_set1_epi64x(b.limit), v.n);
    const __m256i room = _mm256_blendv_epi8(toLast, toLimit, _mm256_cmpgt_epi64(toLast, toLimit));
    const __m256d ar = _mm256_andnot_pd(sign, v.dr), ai = _mm256_andnot_pd(sign, v.di);
    // max(ar, ai) as std::max has it: ai where ar < ai, else ar.
    const __m256d dm = _mm256_blendv_pd(ar, ai, _mm256_cmp_pd(ar, ai, _CMP_LT_OQ));
    const __m256i holds = _mm256_and_si256(
        _mm256_and_si256(_mm256_andnot_si256(_mm256_cmpgt_epi64(_mm256_setzero_si256(), e), v.busy),
                         _mm256_cmpeq_epi64(_mm256_and_si256(e, _mm256_sub_epi64(span, one)),
                                            _mm256_setzero_si256())),
        _mm256_andnot_si256(_mm256_cmpgt_epi64(span, room),
                            asMask(_mm256_cmp_pd(dm, v.reach, _CMP_LT_OQ))));
    const unsigned mapped = static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(holds)));
    // deltaStep, lane by lane: the same operations in the same order.
    const __m256d dr = v.dr, di = v.di, zr = v.zr, zi = v.zi;
    const __m256d cr = _mm256_load_pd(l.cr + f), ci = _mm256_load_pd(l.ci + f);
    __m256d re =
        _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(two, _mm256_sub_pd(_mm256_mul_pd(zr, dr),
                                                                     _mm256_mul_pd(zi, di))),
                                    _mm256_sub_pd(_mm256_mul_pd(dr, dr), _mm256_mul_pd(di, di))),
                      cr);
    __m256d im =
        _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(two, _mm256_add_pd(_mm256_mul_pd(zr, di),
                                                                     _mm256_mul_pd(zi, dr))),
                                    _mm256_mul_pd(_mm256_mul_pd(two, dr), di)),
                      ci);
    __m256i steps = _mm256_and_si256(one, v.busy);
    if (mapped != 0) {
        // As on AVX-512: the lanes whose map holds take their run of maps by themselves.
        alignas(32) std::int64_t ms[4], ns[4];
        alignas(32) double ds[2][4];
        _mm256_store_si256(reinterpret_cast<__m256i*>(ms), v.m);
        _mm256_store_si256(reinterpret_cast<__m256i*>(ns), v.n);
        _mm256_store_pd(ds[0], dr);
        _mm256_store_pd(ds[1], di);
        alignas(32) std::int64_t ss[4];
        _mm256_store_si256(reinterpret_cast<__m256i*>(ss), steps);
        for (unsigned bits = mapped; bits != 0; bits &= bits - 1) {
            const int k = std::countr_zero(bits);
            Cd d{ds[0][k], ds[1][k]};
            const std::int64_t from = ms[k];
            mapRun(d, {l.cr[f + k], l.ci[f + k]}, ms[k], ns[k], b);
            ds[0][k] = d.re;
            ds[1][k] = d.im;
            ss[k] = ms[k] - from;
        }
        re = _mm256_blendv_pd(re, _mm256_load_pd(ds[0]), _mm256_castsi256_pd(holds));
        im = _mm256_blendv_pd(im, _mm256_load_pd(ds[1]), _mm256_castsi256_pd(holds));
        steps = _mm256_load_si256(reinterpret_cast<const __m256i*>(ss));
    }
    v.dr = _mm256_blendv_pd(v.dr, re, _mm256_castsi256_pd(v.busy));
    v.di = _mm256_blendv_pd(v.di, im, _mm256_castsi256_pd(v.busy));
    v.m = _mm256_add_epi64(v.m, steps);
    v.n = _mm256_add_epi64(v.n, steps);
    fetch(b, v);
    const __m256d xr = _mm256_add_pd(v.zr, v.dr), xi = _mm256_add_pd(v.zi, v.di);
    const __m256d z2 = _mm256_add_pd(_mm256_mul_pd(xr, xr), _mm256_mul_pd(xi, xi));
    const __m256d d2 = _mm256_add_pd(_mm256_mul_pd(v.dr, v.dr), _mm256_mul_pd(v.di, v.di));
    const __m256i looks = _mm256_or_si256(
        _mm256_or_si256(
            _mm256_or_si256(
                _mm256_cmpgt_epi64(_mm256_add_epi64(v.n, one), _mm256_set1_epi64x(b.limit)),
                asMask(_mm256_cmp_pd(z2, _mm256_set1_pd(4.0), _CMP_GT_OQ))),
            _mm256_and_si256(_mm256_cmpgt_epi64(v.m, one),
                             asMask(_mm256_cmp_pd(z2, _mm256_set1_pd(b.near), _CMP_LT_OQ)))),
        _mm256_or_si256(
            _mm256_or_si256(_mm256_cmpeq_epi64(v.m, _mm256_set1_epi64x(b.last)),
                            asMask(_mm256_cmp_pd(d2, _mm256_set1_pd(kTinyNorm), _CMP_NGT_UQ))),
            asMask(_mm256_cmp_pd(z2, d2, _CMP_LT_OQ))));
    return static_cast<unsigned>(
        _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_and_si256(looks, v.busy))));
}

} // namespace

// Two quads of four lanes, stepped in turn.
__attribute__((target("avx2"))) unsigned stepDeepLanesAvx2(DeepLanes& l, const DeepLaneBounds& b) {
    static_assert(W == 8);
    Quad q[2]{};
    for (int h = 0; h < 2; ++h) {
        Quad& v = q[h];
        v.first = 4 * h;
        v.dr = _mm256_load_pd(l.dr + v.first);
        v.di = _mm256_load_pd(l.di + v.first);
        v.m = _mm256_load_si256(reinterpret_cast<const __m256i*>(l.m + v.first));
        v.n = _mm256_load_si256(reinterpret_cast<const __m256i*>(l.n + v.first));
        v.busy = _mm256_cmpeq_epi64(
            _mm256_load_si256(reinterpret_cast<const __m256i*>(l.idle + v.first)),
            _mm256_setzero_si256());
        fetch(b, v);
    }
    for (;;) {
        const unsigned looks = advance(l, b, q[0]) | advance(l, b, q[1]) << 4;
        if (looks == 0) continue;
        for (const Quad& v : q) {
            _mm256_store_pd(l.dr + v.first, v.dr);
            _mm256_store_pd(l.di + v.first, v.di);
            _mm256_store_si256(reinterpret_cast<__m256i*>(l.m + v.first), v.m);
            _mm256_store_si256(reinterpret_cast<__m256i*>(l.n + v.first), v.n);
        }
        return looks;
    }
}

bool deepLanesHaveAvx512() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f");
}

bool deepLanesHaveAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

unsigned stepDeepLanes(DeepLanes& lanes, const DeepLaneBounds& bounds) {
    using Lanes = unsigned (*)(DeepLanes&, const DeepLaneBounds&);
    static const Lanes best = deepLanesHaveAvx512() ? stepDeepLanesAvx512
                              : deepLanesHaveAvx2() ? stepDeepLanesAvx2
                                                    : stepDeepLanesPlain;
    return best(lanes, bounds);
}

} // namespace velq
