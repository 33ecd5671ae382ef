// The lane engine on two-lane SSE2 vectors: the baseline of every x86-64 processor.
#include "core/render/boundedorbit_lanes.h"
#include "core/render/fastkernel_lanes.h"

namespace velq::lanes {
namespace {

struct Sse2 {
    static constexpr int W = 2;
    using D = __m128d;
    using M = __m128d; // all bits set in a lane that passed

    static D set1(double v) { return _mm_set1_pd(v); }
    static D iota() { return _mm_set_pd(1, 0); } // 0, 1, 2, ... in lane order
    static D add(D a, D b) { return _mm_add_pd(a, b); }
    static D sub(D a, D b) { return _mm_sub_pd(a, b); }
    static D mul(D a, D b) { return _mm_mul_pd(a, b); }
    static D sqrt(D a) { return _mm_sqrt_pd(a); }
    static D twicePlus(D a, D b) { return _mm_add_pd(_mm_add_pd(a, a), b); }
    static D min(D a, D b) { return _mm_min_pd(a, b); }
    static D load(const double* p) { return _mm_loadu_pd(p); }
    static void store(double* p, D v) { _mm_storeu_pd(p, v); }

    static M gt(D a, D b) { return _mm_cmpgt_pd(a, b); }
    static M ge(D a, D b) { return _mm_cmpge_pd(a, b); }
    static M lt(D a, D b) { return _mm_cmplt_pd(a, b); }
    static M le(D a, D b) { return _mm_cmple_pd(a, b); }
    static M nle(D a, D b) { return _mm_cmpnle_pd(a, b); } // also where either is NaN
    static M eq(D a, D b) { return _mm_cmpeq_pd(a, b); }
    static M isNaN(D a) { return _mm_cmpunord_pd(a, a); }
    static M both(M a, M b) { return _mm_and_pd(a, b); }
    static M either(M a, M b) { return _mm_or_pd(a, b); }
    static M butNot(M a, M b) { return _mm_andnot_pd(b, a); }
    static M all() { return _mm_castsi128_pd(_mm_set1_epi32(-1)); }
    static unsigned bits(M m) { return static_cast<unsigned>(_mm_movemask_pd(m)); }
    static M fromBits(unsigned b) {
        const __m128i lane = _mm_set_epi32(2, 2, 1, 1); // both halves of each double
        const __m128i set = _mm_and_si128(_mm_set1_epi32(static_cast<int>(b)), lane);
        return _mm_castsi128_pd(_mm_cmpeq_epi32(set, lane));
    }

    // a where m is set, b elsewhere.
    static D select(M m, D a, D b) { return _mm_or_pd(_mm_and_pd(m, a), _mm_andnot_pd(m, b)); }
    // The lanes of v set in m to p[0], p[1], ... in lane order; W doubles are written.
    static void compress(double* p, M m, D v) {
        double lanes[W];
        _mm_storeu_pd(lanes, v);
        int k = 0;
        for (unsigned b = bits(m); b != 0; b &= b - 1)
            p[k++] = lanes[__builtin_ctz(b)];
    }
    // The lanes set in m take p[0], p[1], ... in lane order; the others keep v.
    static D expand(D v, M m, const double* p) {
        switch (bits(m)) {
        case 1:
            return _mm_loadl_pd(v, p);
        case 2:
            return _mm_loadh_pd(v, p);
        case 3:
            return _mm_loadu_pd(p);
        default:
            return v;
        }
    }
};

} // namespace

std::int64_t rowsSse2(const KernelFrame& f, int r0, int rows, int stride, const ColumnSpan* spans,
                      int spanCount, std::int16_t* mandel) {
    return LaneEngine<Sse2, 4>(f, r0, rows, stride, spans, spanCount, mandel).run();
}

void boundsSse2(const double* cr, const double* ci, const double* radius, int count, int limit,
                int* held) {
    bounds::boundedDiscs<Sse2>(cr, ci, radius, count, limit, held);
}

} // namespace velq::lanes
