// The renders behind the hand's gestures: for each step a coarse picture, then the exact one,
// in the background and into buffers of their own. A new step supersedes the render in flight.
#pragma once

#include "core/render/kernel.h"
#include "core/render/renderworkers.h"
#include "core/view/mandat.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace velq {

class GesturePipeline {
public:
    explicit GesturePipeline(RowKernel kernel, int threads = RenderWorkers::kThreads);
    ~GesturePipeline();
    GesturePipeline(const GesturePipeline&) = delete;
    GesturePipeline& operator=(const GesturePipeline&) = delete;

    // A gesture step to `view` at winx x winy: the render in flight is stopped (no block fill)
    // and joined, and a coarse render of `view` starts.
    void render(const MANDAT& view, int winx, int winy);
    // A render is coming: coarse or exact.
    bool inFlight() const { return stage_ != Stage::Idle; }
    // Stops the render in flight and joins it; nothing more comes.
    void stop();

    // A finished render, waited for at most `wait`: its counts are swapped into `counts` (which
    // must hold winx * winy of them); the coarse one is followed by the exact one.
    struct Finished {
        MANDAT view;
        bool exact = false;
    };
    std::optional<Finished> collect(std::vector<std::int16_t>& counts,
                                    std::chrono::milliseconds wait = std::chrono::milliseconds(0));

private:
    enum class Stage { Idle, Coarse, Exact };
    void launch(Stage stage);
    void halt();

    RowKernel kernel_;
    int threads_;
    std::atomic<int> status_{RenderStatus::Idle};
    std::vector<std::int16_t> buffer_; // the counts being rendered
    MANDAT view_{};
    int winx_ = 0, winy_ = 0;
    Stage stage_ = Stage::Idle;
    RenderWorkers workers_{status_}; // last: its threads go before the state they use
};

} // namespace velq
