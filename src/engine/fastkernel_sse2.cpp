// The lane engine on two-lane SSE2 vectors: the baseline of every x86-64 processor.
#include "engine/fastkernel_lanes.h"

namespace velq::lanes {
namespace {

struct Sse2 {
    static constexpr int W = 2;
    using D = __m128d;
    using M = __m128d; // all bits set in a lane that passed

    static D set1(double v) { return _mm_set1_pd(v); }
    static D add(D a, D b) { return _mm_add_pd(a, b); }
    static D sub(D a, D b) { return _mm_sub_pd(a, b); }
    static D mul(D a, D b) { return _mm_mul_pd(a, b); }
    static D max(D a, D b) { return _mm_max_pd(a, b); }

    static M gt(D a, D b) { return _mm_cmpgt_pd(a, b); }
    static M ge(D a, D b) { return _mm_cmpge_pd(a, b); }
    static M eq(D a, D b) { return _mm_cmpeq_pd(a, b); }
    static M isNaN(D a) { return _mm_cmpunord_pd(a, a); }
    static M both(M a, M b) { return _mm_and_pd(a, b); }
    static M either(M a, M b) { return _mm_or_pd(a, b); }
    static M all() { return _mm_castsi128_pd(_mm_set1_epi32(-1)); }
    static unsigned bits(M m) { return static_cast<unsigned>(_mm_movemask_pd(m)); }

    // a where m is set, b elsewhere.
    static D select(M m, D a, D b) { return _mm_or_pd(_mm_and_pd(m, a), _mm_andnot_pd(m, b)); }
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

std::int64_t rowsSse2(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel) {
    return LaneEngine<Sse2, 4>(f, r0, rows, stride, mandel).run();
}

} // namespace velq::lanes
