// The deep benchmark's views and its timed run.
#include "core/deep/deepbenchmark.h"

#include "core/deep/deeprender.h"
#include "core/render/renderworkers.h"

#include <chrono>

namespace velq {

const std::vector<DeepBenchView>& deepBenchViews() {
    // The seahorse point (a famous zoom target, given to 33 digits): at w = 1e-20 a period-8007
    // minibrot lies 5e-33 away, and the pixels follow it for one period before they escape.
    // The valley view is the seahorse valley of the period-133 minibrot that Newton's method
    // finds 3e-50 from c = i (velq_deep_oracle --nucleus 0 1 1e-50 1000: size 1.386e-99 at
    // 172.65 degrees), at -0.7436 + 0.1318 i of that minibrot's own coordinates; the antenna
    // view is the same minibrot's -0.1 + 0.9 i, beside its top bulb, with few inside points.
    // c = i, a Misiurewicz point, takes the deltas below the doubles' exponents.
    static const std::vector<DeepBenchView> views = {
        {"seahorse", "-0.743643887037158704752191506114774", "0.131825904205311970493132056385139",
         "1e-20", 30000, 96, 96},
        {"valley133",
         "-0."
         "00000000000000000000000000000000000000000000000002874673870991171131358740039687076426592"
         "786683571025306086318",
         "0."
         "99999999999999999999999999999999999999999999999999039187809335045450778414269872821211733"
         "536976797467288611100",
         "1e-100", 100000, 1280, 960},
        {"antenna133",
         "-0."
         "00000000000000000000000000000000000000000000000002874673870991171131358740039687076426592"
         "786683571127397127257",
         "0."
         "99999999999999999999999999999999999999999999999999039187809335045450778414269872821211733"
         "536976797373102704787",
         "1e-100", 100000, 1280, 960},
        {"i300", "0", "1", "1e-300", 65536, 640, 480},
        {"i1000", "0", "1", "1e-1000", 65536, 320, 240},
    };
    return views;
}

DeepBenchRun runDeepBench(const DeepBenchView& v, int threads) {
    using Clock = std::chrono::steady_clock;
    const ExtFloat w = *ExtFloat::parse(v.w);
    const long bits = centreBits(w) + 64;
    const DeepView view{*Real::parse(v.x, bits), *Real::parse(v.y, bits), w, v.limit};
    std::atomic<int> status{RenderStatus::Rendering};
    DeepBenchRun run;
    const auto t0 = Clock::now();
    const auto plan = prepareDeep(view, v.winx, v.winy, status);
    const auto t1 = Clock::now();
    std::vector<std::int16_t> mandel(static_cast<std::size_t>(v.winx) * v.winy);
    RenderWorkers workers(status);
    const std::int32_t work = workers.run(deepFrame(plan), mandel.data(), deepRows, threads);
    const auto t2 = Clock::now();
    run.prepareSeconds = std::chrono::duration<double>(t1 - t0).count();
    run.seconds = std::chrono::duration<double>(t2 - t0).count();
    run.iterations = std::int64_t{work} << 8;
    return run;
}

} // namespace velq
