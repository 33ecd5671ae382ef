// The lane engine on four-lane AVX2 vectors; built with -mavx2, run only where the CPU has it.
#include "core/render/boundedorbit_lanes.h"
#include "core/render/fastkernel_lanes.h"

namespace velq::lanes {
namespace {

// For each 4-bit mask: the 32-bit source elements that move p[0], p[1], ... into the set
// lanes in order (a double is two 32-bit elements).
struct ExpandTable {
    std::int32_t index[16][8];
};

constexpr ExpandTable makeExpandTable() {
    ExpandTable t{};
    for (int m = 0; m < 16; ++m) {
        int next = 0;
        for (int lane = 0; lane < 4; ++lane) {
            const int from = (m >> lane) & 1 ? next++ : lane;
            t.index[m][2 * lane] = 2 * from;
            t.index[m][2 * lane + 1] = 2 * from + 1;
        }
    }
    return t;
}

alignas(32) constexpr ExpandTable kExpand = makeExpandTable();

struct Avx2 {
    static constexpr int W = 4;
    using D = __m256d;
    using M = __m256d; // all bits set in a lane that passed

    static D set1(double v) { return _mm256_set1_pd(v); }
    static D iota() { return _mm256_set_pd(3, 2, 1, 0); } // 0, 1, 2, ... in lane order
    static D add(D a, D b) { return _mm256_add_pd(a, b); }
    static D sub(D a, D b) { return _mm256_sub_pd(a, b); }
    static D mul(D a, D b) { return _mm256_mul_pd(a, b); }
    static D sqrt(D a) { return _mm256_sqrt_pd(a); }
    static D twicePlus(D a, D b) { return _mm256_fmadd_pd(a, _mm256_set1_pd(2.0), b); }
    static D min(D a, D b) { return _mm256_min_pd(a, b); }
    static D load(const double* p) { return _mm256_loadu_pd(p); }
    static void store(double* p, D v) { _mm256_storeu_pd(p, v); }

    static M gt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
    static M ge(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
    static M lt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static M le(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
    static M nle(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_NLE_UQ); } // also where NaN
    static M eq(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
    static M isNaN(D a) { return _mm256_cmp_pd(a, a, _CMP_UNORD_Q); }
    static M both(M a, M b) { return _mm256_and_pd(a, b); }
    static M either(M a, M b) { return _mm256_or_pd(a, b); }
    static M butNot(M a, M b) { return _mm256_andnot_pd(b, a); }
    static M all() { return _mm256_castsi256_pd(_mm256_set1_epi32(-1)); }
    static unsigned bits(M m) { return static_cast<unsigned>(_mm256_movemask_pd(m)); }
    static M fromBits(unsigned b) {
        const __m256i lane = _mm256_set_epi64x(8, 4, 2, 1);
        const __m256i set = _mm256_and_si256(_mm256_set1_epi64x(b), lane);
        return _mm256_castsi256_pd(_mm256_cmpeq_epi64(set, lane));
    }

    // a where m is set, b elsewhere.
    static D select(M m, D a, D b) { return _mm256_blendv_pd(b, a, m); }
    // The lanes of v set in m to p[0], p[1], ... in lane order; W doubles are written.
    static void compress(double* p, M m, D v) {
        double lanes[W];
        _mm256_storeu_pd(lanes, v);
        int k = 0;
        for (unsigned b = bits(m); b != 0; b &= b - 1)
            p[k++] = lanes[__builtin_ctz(b)];
    }
    // The lanes set in m take p[0], p[1], ... in lane order; the others keep v.
    static D expand(D v, M m, const double* p) {
        const __m256i index =
            _mm256_load_si256(reinterpret_cast<const __m256i*>(kExpand.index[bits(m)]));
        const __m256 moved = _mm256_permutevar8x32_ps(_mm256_castpd_ps(_mm256_loadu_pd(p)), index);
        return select(m, _mm256_castps_pd(moved), v);
    }
};

} // namespace

std::int64_t rowsAvx2(const KernelFrame& f, int r0, int rows, int stride, const ColumnSpan* spans,
                      int spanCount, std::int16_t* mandel) {
    return LaneEngine<Avx2, 4>(f, r0, rows, stride, spans, spanCount, mandel).run();
}

void boundsAvx2(const double* cr, const double* ci, const double* radius, int count, int limit,
                int* held) {
    bounds::boundedDiscs<Avx2>(cr, ci, radius, count, limit, held);
}

} // namespace velq::lanes
