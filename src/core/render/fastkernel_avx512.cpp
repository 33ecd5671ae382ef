// The lane engine on eight-lane AVX-512 vectors; built with -mavx512f, run only where the CPU
// has it.
#include "core/render/boundedorbit_lanes.h"
#include "core/render/fastkernel_lanes.h"

namespace velq::lanes {
namespace {

struct Avx512 {
    static constexpr int W = 8;
    using D = __m512d;
    using M = __mmask8;

    static D set1(double v) { return _mm512_set1_pd(v); }
    static D iota() { return _mm512_set_pd(7, 6, 5, 4, 3, 2, 1, 0); } // 0, 1, 2, ... in lane order
    static D add(D a, D b) { return _mm512_add_pd(a, b); }
    static D sub(D a, D b) { return _mm512_sub_pd(a, b); }
    static D mul(D a, D b) { return _mm512_mul_pd(a, b); }
    static D sqrt(D a) { return _mm512_mask_sqrt_pd(a, 0xff, a); } // masked, as min
    static D twicePlus(D a, D b) { return _mm512_fmadd_pd(a, _mm512_set1_pd(2.0), b); }
    // The masked form with every lane set: the plain one trips GCC 12's uninitialised-use
    // warning on the "undefined" vector it starts from.
    static D min(D a, D b) { return _mm512_mask_min_pd(a, 0xff, a, b); }
    static D load(const double* p) { return _mm512_loadu_pd(p); }
    static void store(double* p, D v) { _mm512_storeu_pd(p, v); }

    static M gt(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
    static M ge(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_GE_OQ); }
    static M lt(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
    static M le(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ); }
    static M nle(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_NLE_UQ); } // also where NaN
    static M eq(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ); }
    static M isNaN(D a) { return _mm512_cmp_pd_mask(a, a, _CMP_UNORD_Q); }
    static M both(M a, M b) { return static_cast<M>(a & b); }
    static M either(M a, M b) { return static_cast<M>(a | b); }
    static M butNot(M a, M b) { return static_cast<M>(a & ~b); }
    static M all() { return 0xff; }
    static unsigned bits(M m) { return m; }
    static M fromBits(unsigned b) { return static_cast<M>(b); }

    // a where m is set, b elsewhere.
    static D select(M m, D a, D b) { return _mm512_mask_blend_pd(m, b, a); }
    // The lanes of v set in m to p[0], p[1], ... in lane order; W doubles are written.
    static void compress(double* p, M m, D v) {
        _mm512_storeu_pd(p, _mm512_maskz_compress_pd(m, v));
    }
    // The lanes set in m take p[0], p[1], ... in lane order; the others keep v.
    // (A plain load and the register form: the form that reads memory is much slower, and
    // the empty asm keeps the compiler from folding the load back into it.)
    static D expand(D v, M m, const double* p) {
        D loaded = _mm512_loadu_pd(p);
        asm("" : "+v"(loaded));
        return _mm512_mask_expand_pd(v, m, loaded);
    }
};

} // namespace

std::int64_t rowsAvx512(const KernelFrame& f, int r0, int rows, int stride, const ColumnSpan* spans,
                        int spanCount, std::int16_t* mandel) {
    return LaneEngine<Avx512, 6>(f, r0, rows, stride, spans, spanCount, mandel).run();
}

void boundsAvx512(const double* cr, const double* ci, const double* radius, int count, int limit,
                  int* held) {
    bounds::boundedDiscs<Avx512>(cr, ci, radius, count, limit, held);
}

} // namespace velq::lanes
