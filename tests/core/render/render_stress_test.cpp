// Render stress: thousands of small renders aborted at random moments, each followed by a
// full render that must equal the plain loop's picture; no deadlock, no race, no leak.
#include "core/render/fastkernel.h"
#include "core/render/kernel.h"
#include "core/render/renderworkers.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace velq {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::int16_t kUntouched = -7; // no count has this value
constexpr int kGroup = RenderWorkers::kGroupRows;

// The sanitizer runs ask for fewer renders: each one costs many times more there.
int rendersToRun() {
    const char* n = std::getenv("VELQ_STRESS_RENDERS");
    return n ? std::max(1, std::atoi(n)) : 3000;
}

// Ends the process when no render has finished for far too long: a deadlocked render never
// returns to fail a test by itself.
class Watchdog {
public:
    explicit Watchdog(Clock::duration limit)
        : limit_(limit), thread_([this](std::stop_token stop) { watch(stop); }) {}

    void pet(std::string what) {
        std::lock_guard lock(m_);
        last_ = Clock::now();
        what_ = std::move(what);
    }

private:
    void watch(std::stop_token stop) {
        std::unique_lock lock(m_);
        while (!wake_.wait_for(lock, stop, 100ms, [] { return false; })) {
            if (stop.stop_requested()) return;
            if (Clock::now() - last_ > limit_) {
                std::fprintf(stderr, "render stress: no render ended in time; stuck in %s\n",
                             what_.c_str());
                std::abort();
            }
        }
    }

    const Clock::duration limit_;
    std::mutex m_;
    std::condition_variable_any wake_;
    Clock::time_point last_ = Clock::now();
    std::string what_ = "start-up";
    std::jthread thread_; // last: it starts watching once the rest is built
};

enum class Abort { Coarse, Stop, CoarseThenStop };

struct Case {
    MANDAT view;
    int winx, winy, threads;
    bool fast;
    Abort abort;
    int abortAtRow;                  // the abort comes once this many rows are claimed
    std::chrono::microseconds delay; // from a coarse finish to the stop

    std::string describe() const {
        std::ostringstream s;
        s.precision(17);
        s << "view " << view.x << ' ' << view.y << ' ' << view.w << " it " << view.it << ", "
          << winx << 'x' << winy << ", " << threads << " threads, " << (fast ? "fast" : "reference")
          << " kernel, abort "
          << (abort == Abort::Coarse ? "coarse"
              : abort == Abort::Stop ? "stop"
                                     : "coarse then stop")
          << " at row " << abortAtRow << " (then " << delay.count() << " us)";
        return s.str();
    }
};

Case randomCase(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> x(-2.2, 0.8), y(-1.3, 1.3), logW(-7.0, 0.5);
    std::uniform_int_distribution<int> side(1, 8), threads(1, 8), limit(0, 2), mode(0, 2);
    std::uniform_int_distribution<int> coin(0, 1), delay(0, 100);
    Case c;
    c.view = {x(rng), y(rng), std::pow(10.0, logW(rng)), 256 << limit(rng), 0x782, 0};
    c.winx = 16 * side(rng);
    c.winy = 16 * side(rng);
    c.threads = threads(rng);
    c.fast = coin(rng) == 1;
    c.abort = static_cast<Abort>(mode(rng));
    c.abortAtRow = std::uniform_int_distribution<int>(0, c.winy)(rng);
    c.delay = std::chrono::microseconds(delay(rng));
    return c;
}

struct Reference {
    std::vector<std::int16_t> counts;
    std::int32_t work = 0; // what the driver reports: each group's iterations over 256, summed
};

// The plain loop on one thread, group by group as the workers claim them.
Reference referencePicture(const KernelFrame& f) {
    Reference r;
    r.counts.assign(static_cast<std::size_t>(f.winx) * f.winy, 0);
    std::int64_t work = 0;
    for (int r0 = 0; r0 < f.winy; r0 += kGroup)
        work += referenceRows(f, r0, kGroup, 1, r.counts.data()) >> 8;
    r.work = renderResult(work);
    return r;
}

// What an aborted render may leave, whenever the abort came: the exact picture when it came
// too late; after a coarse finish every pixel its block's corner; after a stop every group of
// rows either exact or never touched; after a stop that followed a coarse finish each pixel
// exact or never touched (or the coarse finish, when the stop came after the last row).
::testing::AssertionResult abortedPictureIsSound(const Case& c, const Reference& ref,
                                                 const std::vector<std::int16_t>& got,
                                                 std::int32_t result) {
    if (result >= 0) {
        if (got == ref.counts && result == ref.work) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "a render that ran to its end is not exact";
    }
    const auto at = [&c](const std::vector<std::int16_t>& m, int i, int j) {
        return m[static_cast<std::size_t>(j) * c.winx + i];
    };
    bool blocks = true, groups = true, pixels = true;
    for (int j = 0; j < c.winy; ++j) {
        const int group = j - j % kGroup;
        const bool groupUntouched = at(got, 0, group) == kUntouched;
        for (int i = 0; i < c.winx; ++i) {
            const std::int16_t v = at(got, i, j);
            const bool exact = v == at(ref.counts, i, j);
            blocks = blocks && v == at(ref.counts, i - i % kGroup, group);
            groups = groups && (groupUntouched ? v == kUntouched : exact);
            pixels = pixels && (exact || v == kUntouched);
        }
    }
    const bool sound = c.abort == Abort::Coarse ? blocks
                       : c.abort == Abort::Stop ? groups
                                                : blocks || pixels;
    if (sound) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the picture after the abort is not what it may be";
}

TEST(RenderStress, AbortedRendersLeaveASoundPictureAndTheNextRenderIsExact) {
    std::mt19937_64 rng(20240611);
    std::atomic<int> status{RenderStatus::Idle};
    RenderWorkers workers(status); // one pool for every render, as in the window
    Watchdog watchdog(60s);
    const int renders = rendersToRun();
    int aborted = 0;
    for (int n = 0; n < renders; ++n) {
        const Case c = randomCase(rng);
        SCOPED_TRACE("render " + std::to_string(n) + ": " + c.describe());
        watchdog.pet(c.describe());
        const KernelFrame f =
            KernelFrame::of(c.view, c.winx, c.winy, iterationLimitInForce(c.view));
        const RowKernel kernel = c.fast ? fastRows : referenceRows;
        const Reference ref = referencePicture(f);
        std::vector<std::int16_t> mandel(ref.counts.size(), kUntouched);

        status = RenderStatus::Rendering;
        workers.start(f, mandel.data(), kernel, c.threads);
        std::int32_t result = 0;
        {
            // The Abort button, pressed from another thread at a random point of the render
            // (or after its end, when it was quicker).
            std::atomic<bool> ended{false};
            const std::jthread user([&] {
                while (workers.rowsClaimed() < c.abortAtRow && !ended)
                    std::this_thread::yield();
                status =
                    c.abort == Abort::Stop ? RenderStatus::AbortStop : RenderStatus::AbortCoarse;
                if (c.abort == Abort::CoarseThenStop) {
                    std::this_thread::sleep_for(c.delay);
                    status = RenderStatus::AbortStop;
                }
            });
            while (!workers.waitFor(10ms)) {
            }
            result = workers.finish();
            ended = true;
        }
        aborted += result < 0;
        ASSERT_TRUE(abortedPictureIsSound(c, ref, mandel, result));

        status = RenderStatus::Rendering;
        ASSERT_EQ(workers.run(f, mandel.data(), kernel, c.threads), ref.work);
        ASSERT_EQ(mandel, ref.counts);
        status = RenderStatus::Idle;
    }
    // The random moments must really cut renders short, or this tests nothing.
    EXPECT_GT(aborted, renders / 5);
    std::printf("%d renders, %d of them aborted\n", renders, aborted);
}

} // namespace
} // namespace velq
