// Speed of the plain and the fast kernel on single-threaded whole pictures, the start view as
// the program renders it (eight workers, then the colours), and the peak rate of the bare
// recurrence on this processor (with and without the fused multiply-add) for comparison.
//
//   velq_kernel_bench --benchmark_filter=Render
#include "cli/render.h"
#include "core/render/fastkernel.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <immintrin.h>
#include <string>
#include <vector>

namespace velq {
namespace {

struct View {
    const char* name;
    double x, y, w;
    int winx, winy, limit;
};

// The deep pair looks at the same place: a minibrot that fills most of the picture at the
// smaller width, and its surroundings of long escapes at the larger.
const View kViews[] = {
    {"start", 0.0, 0.0, 2.0, 1280, 960, 256},
    {"deep_much_inside", -0.756423894629558, 0.0641794108447811, 3.3e-10, 640, 480, 8192},
    {"deep_little_inside", -0.756423894629558, 0.0641794108447811, 3.3e-09, 640, 480, 8192},
};

// A whole picture the way one worker would render it alone: groups of four rows.
void renderPicture(benchmark::State& state, RowKernel kernel, const View& v) {
    const KernelFrame f =
        KernelFrame::of(MANDAT{v.x, v.y, v.w, v.limit, 0, 0}, v.winx, v.winy, v.limit);
    std::vector<std::int16_t> mandel(static_cast<std::size_t>(v.winx) * v.winy);
    std::int64_t iterations = 0;
    for (auto _ : state) {
        for (int r0 = 0; r0 < f.winy; r0 += 4)
            iterations += kernel(f, r0, 4, 1, mandel.data());
        benchmark::DoNotOptimize(mandel.data());
        benchmark::ClobberMemory();
    }
    state.counters["iterations/s"] =
        benchmark::Counter(static_cast<double>(iterations), benchmark::Counter::kIsRate);
    state.counters["pixels/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * v.winx * v.winy, benchmark::Counter::kIsRate);
}

// One render of the start view through the headless renderer: the window's eight workers
// claiming groups of four rows, then the recolouring, timed as velq-render renders a view.
void renderAsTheWindowDoes(benchmark::State& state, RowKernel kernel, int winx, int winy) {
    Renderer renderer(kernel, winx, winy);
    const MANDAT view = asRendered(kStartView);
    renderer.useColourWord(view.cs);
    for (auto _ : state)
        benchmark::DoNotOptimize(renderer.render(view));
}

// The recurrence alone on many independent lanes, no bailout test: an upper bound for any
// kernel that keeps the plain loop's operations. Built for the widest vectors this
// processor runs.
using Lanes = double __attribute__((vector_size(64)));
constexpr int kChains = 6;

__attribute__((target_clones("avx512f", "avx2", "default"))) double
bareRecurrence(std::int64_t steps) {
    Lanes cr[kChains], ci[kChains], zr2[kChains], zi2[kChains], zrzi[kChains];
    for (int k = 0; k < kChains; ++k)
        for (int lane = 0; lane < 8; ++lane) {
            // Points of the main cardioid: their orbits stay bounded for ever.
            cr[k][lane] = -0.2 + 0.01 * lane;
            ci[k][lane] = 0.1 + 0.01 * k;
            zr2[k][lane] = zi2[k][lane] = zrzi[k][lane] = 0.0;
        }
    for (std::int64_t n = 0; n < steps; ++n)
        for (int k = 0; k < kChains; ++k) {
            const Lanes zr = (zr2[k] - zi2[k]) + cr[k];
            const Lanes zi = (zrzi[k] + zrzi[k]) + ci[k];
            zr2[k] = zr * zr;
            zi2[k] = zi * zi;
            zrzi[k] = zr * zi;
        }
    double sum = 0.0;
    for (int k = 0; k < kChains; ++k)
        for (int lane = 0; lane < 8; ++lane)
            sum += zr2[k][lane] + zi2[k][lane];
    return sum;
}

// The same with the doubling and the addition of ci in one fused multiply-add, as the fast
// kernel does it where the processor has one.
__attribute__((target("avx512f"), noipa)) double fusedRecurrence(std::int64_t steps) {
    __m512d cr[kChains], ci[kChains], zr2[kChains], zi2[kChains], zrzi[kChains];
    const __m512d two = _mm512_set1_pd(2.0);
    for (int k = 0; k < kChains; ++k) {
        cr[k] =
            _mm512_add_pd(_mm512_set1_pd(-0.2), _mm512_mul_pd(_mm512_set_pd(7, 6, 5, 4, 3, 2, 1, 0),
                                                              _mm512_set1_pd(0.01)));
        ci[k] = _mm512_set1_pd(0.1 + 0.01 * k);
        zr2[k] = zi2[k] = zrzi[k] = _mm512_setzero_pd();
    }
    for (std::int64_t n = 0; n < steps; ++n)
        for (int k = 0; k < kChains; ++k) {
            const __m512d zr = _mm512_add_pd(_mm512_sub_pd(zr2[k], zi2[k]), cr[k]);
            const __m512d zi = _mm512_fmadd_pd(zrzi[k], two, ci[k]);
            zr2[k] = _mm512_mul_pd(zr, zr);
            zi2[k] = _mm512_mul_pd(zi, zi);
            zrzi[k] = _mm512_mul_pd(zr, zi);
        }
    double sum = 0.0;
    for (int k = 0; k < kChains; ++k) {
        double lanes[8];
        _mm512_storeu_pd(lanes, _mm512_add_pd(zr2[k], zi2[k]));
        for (double lane : lanes)
            sum += lane;
    }
    return sum;
}

template <double (*recurrence)(std::int64_t)> void peakRecurrence(benchmark::State& state) {
    constexpr std::int64_t kSteps = 1 << 20;
    for (auto _ : state)
        benchmark::DoNotOptimize(recurrence(kSteps));
    state.counters["iterations/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSteps * kChains * 8,
                           benchmark::Counter::kIsRate);
}

void registerAll() {
    for (const View& v : kViews) {
        for (const char* kernel : {"reference", "fast"}) {
            const std::string name = std::string("Render/") + v.name + "/" + kernel;
            benchmark::RegisterBenchmark(name.c_str(), renderPicture, kernelNamed(kernel), v)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
        for (Isa isa : {Isa::Avx2, Isa::Sse2}) {
            if (isa == bestIsa() || fastRowsFor(isa) == nullptr) continue;
            const std::string name =
                std::string("Render/") + v.name + "/fast_" + std::string(isaName(isa));
            benchmark::RegisterBenchmark(name.c_str(), renderPicture, fastRowsFor(isa), v)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    for (const char* kernel : {"reference", "fast"}) {
        const std::string name = std::string("Window/start_1280x960/") + kernel;
        benchmark::RegisterBenchmark(name.c_str(), renderAsTheWindowDoes, kernelNamed(kernel), 1280,
                                     960)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::RegisterBenchmark("PeakRecurrence", peakRecurrence<bareRecurrence>)
        ->Unit(benchmark::kMillisecond);
    if (bestIsa() == Isa::Avx512)
        benchmark::RegisterBenchmark("PeakRecurrenceFused", peakRecurrence<fusedRecurrence>)
            ->Unit(benchmark::kMillisecond);
}

} // namespace
} // namespace velq

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    velq::registerAll();
    benchmark::AddCustomContext("fast kernel", std::string(velq::isaName(velq::bestIsa())));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
