// The render workers: threads that claim groups of rows until none are left, kept for the
// next render.
#pragma once

#include "core/render/kernel.h"
#include "core/view/mandat.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

namespace velq {

// Render states shared with the workers (read once per claim).
namespace RenderStatus {
inline constexpr int Idle = 0;
inline constexpr int Rendering = 1;
inline constexpr int ResizePending = 2;
inline constexpr int AbortCoarse = -1; // finish the remaining rows coarsely, then fill blocks
inline constexpr int AbortStop = -2;   // take no further rows
} // namespace RenderStatus

// Thread protocol: workers take `mLock` only to claim the next group and to leave; each
// writes only the rows it claimed; the last one to leave releases `syncLock`, which the
// driver took before starting them (a semaphore, since another thread releases it).
//
// The threads are started by the first render and then wait for the next one: starting
// eight threads costs about half a millisecond, which is most of a quick frame's time.
class RenderWorkers {
public:
    static constexpr int kThreads = 8;
    static constexpr int kGroupRows = 4;

    explicit RenderWorkers(const std::atomic<int>& status) : status_(status) {}
    ~RenderWorkers();
    RenderWorkers(const RenderWorkers&) = delete;
    RenderWorkers& operator=(const RenderWorkers&) = delete;

    // Resets the counters, takes `syncLock` and starts the workers on `mandel`.
    void start(const KernelFrame& frame, std::int16_t* mandel, RowKernel kernel = referenceRows,
               int threads = kThreads, int groupRows = kGroupRows);
    // Polls the completion signal for at most `timeout`; true once the last worker left.
    bool waitFor(std::chrono::milliseconds timeout);
    // After completion: fills blocks after a coarse abort, frees `syncLock` and returns the
    // render result (the work counter, or -1 after an abort).
    std::int32_t finish();
    // start(), wait to the end, finish(): a render without an event loop.
    std::int32_t run(const KernelFrame& frame, std::int16_t* mandel,
                     RowKernel kernel = referenceRows, int threads = kThreads);

    // Read without the lock for progress display; only roughly current.
    std::int64_t workSoFar() const { return mLock_lcnt.load(std::memory_order_relaxed); }
    int rowsClaimed() const { return mLock_winy.load(std::memory_order_relaxed); }

private:
    void waitForRenders(std::stop_token stop, int index);
    void mandelThread();

    const std::atomic<int>& status_;
    std::mutex mLock;
    std::binary_semaphore syncLock{1};
    // Guarded by mLock; atomic only so that progress reads stay well defined.
    std::atomic<int> mLock_winy{0};
    int mLock_term = 0;
    std::atomic<std::int64_t> mLock_lcnt{0}; // 64 bits: huge pictures overflow 32

    KernelFrame frame_;
    std::int16_t* mandel_ = nullptr;
    RowKernel kernel_ = referenceRows;
    int groupRows_ = kGroupRows;

    // Each render raises `startLock_renders`; a thread whose index is below `startLock_threads`
    // works on it. The threads are declared last, so that they stop and are joined before any
    // state they use goes.
    std::mutex startLock;
    std::condition_variable_any started;
    std::uint64_t startLock_renders = 0;
    int startLock_threads = 0;
    std::vector<std::jthread> threads_;
};

// Copies every block's top-left sample over the rest of its `block` x `block` square.
void blockFill(std::int16_t* mandel, int winx, int winy, int block = RenderWorkers::kGroupRows);

// The iteration limit actually used: wide views always render with 256 or 512.
int iterationLimitInForce(const MANDAT& view);

// The smallest width the program renders; a NaN passes unchanged.
inline constexpr double kMinWidth = 1e-15;
inline double floorWidth(double w) {
    return w < kMinWidth ? kMinWidth : w;
}

// The widest view that zooming out reaches: beyond it only Back or the initial view would
// bring a picture back. A NaN passes unchanged.
inline constexpr double kMaxZoomWidth = 1e10;
inline double capZoomWidth(double w) {
    return w > kMaxZoomWidth ? kMaxZoomWidth : w;
}

// The work counter as a render result: saturates at the 32-bit maximum.
std::int32_t renderResult(std::int64_t work);

} // namespace velq
